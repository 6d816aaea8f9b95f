#pragma once

#include "mpeg/frame_header.h"

namespace mpeg {

struct AudioMeasure {
    int lengthMs = 0;
    int bitrate = 0;  // bit/s
    int frames = 0;
};

// Length, bitrate and frame count of audioBytes bytes of constant-bitrate
// frames like the given first header.
AudioMeasure fastEstimate(HeaderWord firstHeader, int audioBytes);

}  // namespace mpeg

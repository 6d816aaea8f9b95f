#pragma once

#include "mpeg/frame_header.h"

#include <cstdint>
#include <span>

namespace mpeg {

// What a frame's bytes say of its sound and of where its data lies.
struct FrameContent {
    // The frame holds no sound of its own and takes no bytes from the frames
    // in front: a Layer III frame whose granules code no bits at all (as
    // encoders write digital silence), or any frame that is zeros behind its
    // header and check word. Decoded, it plays only what the frames before it
    // left in the decoder.
    bool holdsNoSound = false;
    // How many bytes in front of its own main data a Layer III frame takes
    // its data from (its main_data_begin); 0 for other layers, which keep no
    // reservoir, and for a frame too short to say.
    int mainDataBegin = 0;
};

FrameContent frameContent(std::span<const std::uint8_t> frame, HeaderWord word);

}  // namespace mpeg

#pragma once

#include <string>
#include <vector>

namespace interop {

// What mutagen reads from an MP3 file, printed by mutagen_probe.py.
struct MutagenInfo {
    double lengthMs = 0.0;  // without the encoder's delay and padding
    int bitrate = 0;  // bit/s; from the Xing header when there is one
    int sampleRate = 0;
    double version = 0.0;  // 1, 2 or 2.5
    int layer = 0;
    bool crc = false;
    int mode = -1;
    int firstFrame = -1;  // offset of the first frame
    int framesWalked = 0;  // frames that follow each other from the first
    int streamEnd = 0;  // the end of the last of them
    int xingFrames = -1;  // -1: the first frame has no Xing header
    int encoderDelay = -1;  // samples, from the LAME tag; -1: none
    int encoderPadding = -1;
    double meanAudioBitrate = 0.0;  // bit/s over the frames behind the first
    std::vector<int> lastFrameStarts;
};

// Runs the probe on the file; throws std::runtime_error with the probe's
// output when it fails or prints something unexpected.
MutagenInfo probeWithMutagen(const std::string& mp3Path);

}  // namespace interop

#pragma once

#include "mpeg/frame_header.h"
#include "mpeg/side_info.h"

#include <cstdint>
#include <span>

namespace platform {
class RandomReader;
}

namespace mpeg {

class FrameDecoder;

// A frame the scan walked in a judged region, at an offset within the audio.
struct WalkedFrame {
    std::int64_t offset = 0;
    int length = 0;
    HeaderWord word = 0;
    // What the counted frames in front of it add up to.
    int framesBefore = 0;
    double msBefore = 0.0;
    double rateBefore = 0.0;  // kbit/s times duration
    // What its bytes say, seen by the walk while they were at hand, so that
    // judging needs to read them again only to decode.
    FrameContent content;
};

// Where the audio may start when the bytes say the frames in front of
// proposedFront are silent: at the first frame that a decoder plays
// audibly (the one at proposedFront when none in front is), or rather at the
// frame that holds the bytes that frame takes its data from. frames are the walked frames from where the front may lie
// on, in order; audioStart is the audio's offset in the file.
std::int64_t audibleFront(platform::RandomReader& file, std::int64_t audioStart, std::span<const WalkedFrame> frames,
                          std::int64_t proposedFront, FrameDecoder& decoder);

// Where the audio may end when the bytes say the frames from proposedEnd on
// are silent: behind the last of them a decoder plays audibly, heard with
// the frames in front whose data and overlap it carries; when they are all
// frames without sound, behind the first two, which play out what the music
// left in the decoder. frames are the walked frames of the end region, in order, up to audioLength; where they do
// not reach back to proposedEnd, nothing is cut.
std::int64_t audibleEnd(platform::RandomReader& file, std::int64_t audioStart, std::span<const WalkedFrame> frames,
                        std::int64_t proposedEnd, std::int64_t audioLength, FrameDecoder& decoder);

}  // namespace mpeg

#pragma once

#include "mpeg/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform {
class RandomReader;
}

namespace mpeg {

// Frames in a row that make a stream: a header-like byte sequence inside
// other data is almost never followed by this many fitting headers.
inline constexpr int kChainFrames = 4;

enum class ChainKind {
    Any,  // frames of any MPEG audio stream
    Accepted,  // frames the program processes
};

struct ChainStart {
    std::size_t position;
    HeaderWord word;
};

// The length of the frame whose header is at `at`. A free-format frame has
// no length in its header: it runs to the next header of the same stream,
// which must lie within the bytes. 0 when it cannot be told.
int chainFrameLength(std::span<const std::uint8_t> bytes, std::size_t at, HeaderWord word);

// The first position at or after start where kChainFrames frames of one
// stream follow each other.
std::optional<ChainStart> findFrameChain(std::span<const std::uint8_t> bytes, std::size_t start, ChainKind kind);

// Whether the bytes begin with frames the walk follows: accepted headers of
// one stream, each where the frame before ends (or two bytes on), for
// kChainFrames frames or as far as the bytes reach.
bool startsAcceptedChain(std::span<const std::uint8_t> bytes);

struct ChainMeasure {
    std::int64_t end = 0;  // behind the last whole frame
    int frames = 0;
    int lengthMs = 0;
    int bitrate = 0;  // duration-weighted average, bit/s
};

// Follows the frames of the stream whose first header is at start up to the
// first byte that does not continue it, or to end.
ChainMeasure measureFrameChain(platform::RandomReader& file, std::int64_t start, std::int64_t end);

// How a stream the program does not process is named in messages, e.g.
// "MPEG-2.5 layer-3" or "MPEG-2 layer-3 with CRC".
std::string streamKindText(HeaderWord word);

}  // namespace mpeg

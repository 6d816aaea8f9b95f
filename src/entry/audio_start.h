#pragma once

#include "mpeg/frame_header.h"

#include <cstdint>
#include <optional>
#include <span>

namespace platform {
class RandomReader;
}

namespace entry {

struct AudioStart {
    std::int64_t position = 0;
    mpeg::HeaderWord word = 0;
    // The audio is a stream of frames the program does not process (MPEG-2.5,
    // MPEG-2 Layer I/II, CRC other than in MPEG-1 Layer III, free format):
    // position and word are its first frame's.
    bool foreign = false;
};

// Where the audio of a file begins. ID3v2 tags in front are skipped whole by
// their declared size, so a header-like sequence inside a picture is never
// taken for audio; then the first accepted header is searched for within
// 128 KiB. first holds the file's first bytes (up to 128 KiB).
std::optional<AudioStart> findAudioStart(platform::RandomReader& file, std::int64_t fileSize,
                                         std::span<const std::uint8_t> first);

}  // namespace entry

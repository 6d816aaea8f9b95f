#pragma once

#include "mpeg/frame_header.h"

#include <cstdint>
#include <span>
#include <vector>

namespace platform {
class ByteSink;
class File;
}  // namespace platform

namespace autoedit {

// Copies the audio bytes [start, end) of the input to the output's current
// position. With rewriteHeaders, the original and copyright bits of every
// frame header met by walking the frame chain are replaced by those of
// bitsFrom. The walk follows frames as the scan does: every length an
// accepted header gives, a two-byte slip, and behind stray bytes the next
// frame that is followed by another. Damage behind which no frame is found is
// reported once; every byte is still copied. Bytes outside the audio, and a
// last frame cut short by its end, are never changed.
void copyAudio(platform::File& in, platform::ByteSink& out, std::int64_t start, std::int64_t end, bool rewriteHeaders,
               mpeg::HeaderWord bitsFrom);

// The offsets, from start, of the frames the same walk finds in [start, end).
std::vector<std::int64_t> frameOffsets(platform::File& in, std::int64_t start, std::int64_t end);

// Puts the original and copyright bits of bitsFrom into the header of a
// whole frame, and its check word with them.
void putHeaderBits(std::span<std::uint8_t> frame, mpeg::HeaderWord bitsFrom);

// Copies length bytes from offset of the input to the output's current position.
void copyBytes(platform::File& in, platform::ByteSink& out, std::int64_t offset, std::int64_t length);

}  // namespace autoedit

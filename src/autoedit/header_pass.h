#pragma once

#include "mpeg/frame_header.h"

#include <cstdint>

namespace platform {
class ByteSink;
class File;
}

namespace autoedit {

// Copies the audio bytes [start, end) of the input to the output's current
// position. With rewriteHeaders, the original and copyright bits of every
// frame header met by walking the frame chain are replaced by those of
// bitsFrom. A frame that cannot be followed after a two-byte retry is
// reported once; the headers behind it are then left as they are, and every
// byte is still copied. Bytes outside the audio are never changed.
void copyAudio(platform::File& in, platform::ByteSink& out, std::int64_t start, std::int64_t end, bool rewriteHeaders,
               mpeg::HeaderWord bitsFrom);

// Copies length bytes from offset of the input to the output's current position.
void copyBytes(platform::File& in, platform::ByteSink& out, std::int64_t offset, std::int64_t length);

}  // namespace autoedit

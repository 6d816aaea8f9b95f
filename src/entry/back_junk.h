#pragma once

#include <cstdint>

namespace platform {
class File;
}

namespace entry {

// Where the audio ends when behind it lie only what loading recognises: an
// ID3v1 tag, and a Brava trailer (perhaps with a second tag) in front of it.
// The file's length when it ends in no tag.
std::int64_t tagAndTrailerStart(platform::File& file, std::int64_t fileSize, std::int64_t audioStart);

}  // namespace entry

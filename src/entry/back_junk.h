#pragma once

#include <cstdint>

namespace platform {
class File;
}

namespace entry {

// What loading recognises behind the audio: tags (APEv2, Lyrics3v2, TAG+,
// an appended ID3v2 tag) in [tagsStart, tagsEnd), then from tagsEnd an
// ID3v1 tag and a Brava trailer (perhaps with a second tag) in front of it,
// or the end of the file.
struct BackLayout {
    std::int64_t tagsStart = 0;
    std::int64_t tagsEnd = 0;
};

BackLayout backLayout(platform::File& file, std::int64_t fileSize, std::int64_t audioStart);

}  // namespace entry

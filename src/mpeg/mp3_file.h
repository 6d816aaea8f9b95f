#pragma once

#include <cstdint>
#include <string>

namespace platform {
class RandomReader;
}

namespace mpeg {

// Whether the content is MP3 audio as loading finds it: an ID3v2 tag at the
// start, or frames of an MPEG audio stream within the first-header search.
bool hasMp3Content(platform::RandomReader& file, std::int64_t fileSize);

// Whether the file at path (a symbolic link followed) is MP3 audio: named
// *.mp3 in any case, or beginning with an ID3v2 tag or with frames the
// program processes. Files that cannot be read are not.
bool isMp3File(const std::string& path);

}  // namespace mpeg

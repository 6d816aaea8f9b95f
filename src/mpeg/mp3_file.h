#pragma once

#include <string>

namespace mpeg {

// Whether the file at path (a symbolic link followed) is MP3 audio: named
// *.mp3 in any case, or beginning with an ID3v2 tag or with frames the
// program processes. Files that cannot be read are not.
bool isMp3File(const std::string& path);

}  // namespace mpeg

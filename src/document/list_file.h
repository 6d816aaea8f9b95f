#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace document {

// The whole content of a file; throws platform::FileError.
std::vector<std::uint8_t> readWholeFile(const std::string& path);

// Writes the bytes as the file's new content in one step (a file that
// exists is replaced only once the new content is complete); an MP3 file or
// a file the user may not write is never replaced. Throws platform::FileError.
void writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// Throws the platform::FileError writeWholeFile would throw for a file it
// must not replace, without writing anything.
void requireWritableList(const std::string& path);

}  // namespace document

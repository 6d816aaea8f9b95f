#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace view {

// Writes the bytes as the file at path, replacing an existing file only
// once the new content is complete. A file that cannot be created or written,
// and an MP3 file in the way, are reported to the user with a message naming
// the file, and any existing file stays as it was. Returns whether the file
// was written.
bool writeOutputFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace view

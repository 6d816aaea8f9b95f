#pragma once

#include "support/temp_dir.h"

#include <string>

namespace clitest {

// A small MP3 file (30 frames of 128 kbit/s, an ID3v1 tag with the artist
// and title in Windows-1252) at name below dir, folders made as needed.
// Returns its path.
std::string writeSong(const testsupport::TempDir& dir, const std::string& name, const std::string& artist,
                      const std::string& title);

}  // namespace clitest

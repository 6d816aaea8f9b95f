#include "song_file.h"

#include "support/mp3_builder.h"

#include <filesystem>

namespace clitest {

std::string writeSong(const testsupport::TempDir& dir, const std::string& name, const std::string& artist,
                      const std::string& title)
{
    testsupport::Bytes bytes = testsupport::frames({}, 30);
    testsupport::append(bytes, testsupport::id3v1Tag({title, artist, "", "1999", "", -1, 0}));
    std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
    return dir.write(name, bytes);
}

}  // namespace clitest

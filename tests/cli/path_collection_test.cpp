#include "cli/path_collection.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;
using testsupport::TempDir;

namespace {
const testsupport::Bytes kSomeBytes = {1, 2, 3};
}

TEST(PathCollection, FolderGivesEveryMp3BelowItInByteOrderOfTheFullPath)
{
    TempDir dir;
    fs::create_directories(dir.file("a/deep"));
    fs::create_directories(dir.file("folder.mp3"));
    for (const char* name : {"b.mp3", "B.Mp3", "\xC3\xA4.mp3", "a/Z.MP3", "a/deep/c.mp3", "a/x.txt", "a/mp3",
                             "c.mp3x", "folder.mp3/inner.mp3"})
        dir.write(name, kSomeBytes);

    const auto collected = cli::collectPaths({dir.path()});

    // Upper case sorts first, UTF-8 letters behind ASCII.
    EXPECT_EQ(collected.files, (Paths{dir.file("B.Mp3"), dir.file("a/Z.MP3"), dir.file("a/deep/c.mp3"),
                                      dir.file("b.mp3"), dir.file("folder.mp3/inner.mp3"), dir.file("\xC3\xA4.mp3")}));
    EXPECT_TRUE(collected.problems.empty());
}

TEST(PathCollection, NamedFilesAreTakenWhateverTheirNameAndMissingOnesReported)
{
    TempDir dir;
    fs::create_directories(dir.file("later"));
    dir.write("later/a.mp3", kSomeBytes);
    dir.write("notes.txt", kSomeBytes);

    const auto collected = cli::collectPaths({dir.file("notes.txt"), dir.file("gone.mp3"), dir.file("later"), ""});

    EXPECT_EQ(collected.files, (Paths{dir.file("notes.txt"), dir.file("later/a.mp3")}));
    ASSERT_EQ(collected.problems.size(), 2u);
    EXPECT_NE(collected.problems[0].find(dir.file("gone.mp3")), std::string::npos);
    EXPECT_NE(collected.problems[1].find("''"), std::string::npos);
}

TEST(PathCollection, RelativePathsBecomeAbsoluteWithoutDotParts)
{
    TempDir dir;
    fs::create_directories(dir.file("sub"));
    dir.write("sub/a.mp3", kSomeBytes);
    dir.write("top.mp3", kSomeBytes);
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const auto collected = cli::collectPaths({"top.mp3", "./sub/"});
    fs::current_path(previous);

    EXPECT_EQ(collected.files, (Paths{dir.file("top.mp3"), dir.file("sub/a.mp3")}));
}

TEST(PathCollection, LinksToFilesCountButLinksToFoldersAreNotFollowed)
{
    TempDir dir;
    fs::create_directories(dir.file("music"));
    dir.write("music/real.mp3", kSomeBytes);
    dir.write("elsewhere.bin", kSomeBytes);
    fs::create_symlink(dir.file("elsewhere.bin"), dir.file("music/linked.mp3"));
    fs::create_directory_symlink(dir.file("music"), dir.file("music/loop"));

    const auto collected = cli::collectPaths({dir.file("music")});

    EXPECT_EQ(collected.files, (Paths{dir.file("music/linked.mp3"), dir.file("music/real.mp3")}));
}

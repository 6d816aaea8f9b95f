#include "cli/path_collection.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;
using testsupport::TempDir;

namespace {
const testsupport::Bytes kSomeBytes = {1, 2, 3};

// Folders nested below base until the path of the last can no longer be
// opened by name: a folder the walk cannot read, for root as for anyone.
// Made and removed through handles, as no path reaches the last of them.
class FolderBeyondPathMax {
public:
    explicit FolderBeyondPathMax(const std::string& base) : path_(base)
    {
        folders_.push_back(::open(base.c_str(), O_DIRECTORY | O_RDONLY));
        while (path_.size() < PATH_MAX) {
            ::mkdirat(folders_.back(), kName.c_str(), 0700);
            folders_.push_back(::openat(folders_.back(), kName.c_str(), O_DIRECTORY | O_RDONLY));
            path_ += "/" + kName;
        }
    }
    ~FolderBeyondPathMax()
    {
        for (std::size_t i = folders_.size() - 1; i > 0; --i) {
            ::close(folders_[i]);
            ::unlinkat(folders_[i - 1], kName.c_str(), AT_REMOVEDIR);
        }
        ::close(folders_[0]);
    }
    FolderBeyondPathMax(const FolderBeyondPathMax&) = delete;
    FolderBeyondPathMax& operator=(const FolderBeyondPathMax&) = delete;

    const std::string& path() const { return path_; }

private:
    inline static const std::string kName = std::string(200, 'd');
    std::string path_;
    std::vector<int> folders_;
};

}  // namespace

TEST(PathCollection, FolderGivesEveryMp3BelowItInByteOrderOfTheFullPath)
{
    TempDir dir;
    fs::create_directories(dir.file("a/deep"));
    fs::create_directories(dir.file("folder.mp3"));
    for (const char* name : {"b.mp3", "B.Mp3", "\xC3\xA4.mp3", "a/Z.MP3", "a/deep/c.mp3", "a/x.txt", "a/mp3", "c.mp3x",
                             "folder.mp3/inner.mp3"})
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

TEST(PathCollection, HiddenFoldersAndKeptOriginalsArePassedOverAndUnreadableFoldersTold)
{
    TempDir dir;
    for (const char* folder : {"music/.hidden", "music/.liedkram-backup-0/1", "music/.liedkram-backup/0", "music/sub",
                               "music/data/liedkram/originals/1"})
        fs::create_directories(dir.file(folder));
    for (const char* name :
         {"music/.hidden/a.mp3", "music/.liedkram-backup-0/1/b.mp3", "music/.liedkram-backup/0/c.mp3",
          "music/sub/d.mp3", "music/.e.mp3", "music/data/liedkram/originals/1/f.mp3"})
        dir.write(name, kSomeBytes);
    const FolderBeyondPathMax deep(dir.file("music"));
    const std::string previousData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", dir.file("music/data").c_str(), 1);

    // A hidden folder the user names is entered; a folder of kept originals never.
    const auto collected = cli::collectPaths({dir.file("music"), dir.file("music/.hidden"),
                                              dir.file("music/.liedkram-backup-0"), dir.file("music/data/liedkram")});
    ::setenv("XDG_DATA_HOME", previousData.c_str(), 1);

    EXPECT_EQ(collected.files,
              (Paths{dir.file("music/.e.mp3"), dir.file("music/sub/d.mp3"), dir.file("music/.hidden/a.mp3")}));
    EXPECT_EQ(collected.problems,
              (Paths{"Can't read folder '" + deep.path() + "': File name too long -> skipped.",
                     "'" + dir.file("music/.liedkram-backup-0") + "' holds originals kept for undo -> skipped.",
                     "'" + dir.file("music/data/liedkram") + "' holds originals kept for undo -> skipped."}));
}

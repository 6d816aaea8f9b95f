#include "platform/file_error.h"
#include "platform/file_move.h"
#include "platform/file_system.h"
#include "support/mp3_builder.h"
#include "support/other_file_system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using platform::FileMove;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

class FileMoveTest : public ::testing::Test {
protected:
    // Opens the file as a caller that checked it does.
    platform::File& opened(const std::string& path)
    {
        source_ = platform::File::openRegular(path);
        return source_;
    }

    platform::File source_;
    const testsupport::Bytes song_ = testsupport::musicBytes(70000, 3);
    testsupport::TempDir from_;
    testsupport::TempDir to_;
};

// Moves to another file system, where the machine has one to offer.
class FileMoveAcross : public FileMoveTest {
protected:
    void SetUp() override
    {
        if (!other_.available())
            GTEST_SKIP() << "no other file system: " << other_.why();
    }

    testsupport::OtherFileSystem other_;
};

}  // namespace

TEST_F(FileMoveTest, WithinAFileSystemItIsARename)
{
    const std::string from = from_.write("a.mp3", song_);
    const platform::FileStamp was = platform::fileStamp(from);
    FileMove move(opened(from), from, to_.file("a.mp3"));
    EXPECT_FALSE(move.copies());
    EXPECT_EQ(move.before(), was);
    EXPECT_EQ(move.after(), was);
    EXPECT_TRUE(fs::exists(from)) << "nothing happens before the commit";
    move.commit();
    EXPECT_FALSE(fs::exists(from));
    EXPECT_EQ(platform::fileStamp(to_.file("a.mp3")), was);
}

TEST_F(FileMoveTest, ATakenNameIsNeverReplaced)
{
    const std::string from = from_.write("a.mp3", song_);
    const std::string taken = to_.write("a.mp3", {1, 2, 3});
    try {
        FileMove move(opened(from), from, taken);
        FAIL() << "a taken name was accepted";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(error.cause(), platform::FileCause::AccessDenied);
    }
    EXPECT_EQ(readFile(from), song_);
    EXPECT_EQ(readFile(taken), (testsupport::Bytes{1, 2, 3}));
}

TEST_F(FileMoveAcross, TheOriginalGoesOnlyOnceTheCopyIsInPlace)
{
    const std::string from = from_.write("a.mp3", song_);
    ::chmod(from.c_str(), 0640);
    const platform::FileStamp was = platform::fileStamp(from);
    const std::string to = other_.file("a.mp3");
    {
        FileMove move(opened(from), from, to);
        ASSERT_TRUE(move.copies());
        // The whole content waits, without a name, in the new folder; nothing else changed.
        EXPECT_TRUE(fs::is_empty(other_.path()));
        EXPECT_EQ(readFile(from), song_);
        EXPECT_FALSE(fs::exists(to));
        EXPECT_EQ(move.before(), was);
        EXPECT_NE(move.after().device, was.device);
        EXPECT_EQ(move.after().modifiedNs, was.modifiedNs);
        move.commit();
        EXPECT_EQ(platform::fileStamp(to), move.after());
    }
    EXPECT_FALSE(fs::exists(from));
    EXPECT_EQ(readFile(to), song_);
    EXPECT_EQ(std::filesystem::status(to).permissions(), static_cast<std::filesystem::perms>(0640));
}

TEST_F(FileMoveAcross, AMoveNotCommittedLeavesNothingBehind)
{
    const std::string from = from_.write("a.mp3", song_);
    const std::string to = other_.file("a.mp3");
    {
        FileMove move(opened(from), from, to);
        ASSERT_TRUE(move.copies());
    }
    EXPECT_TRUE(fs::is_empty(other_.path()));
    EXPECT_EQ(readFile(from), song_);
}

TEST_F(FileMoveAcross, ANameTakenWhileCopyingLeavesTheOriginal)
{
    const std::string from = from_.write("a.mp3", song_);
    const std::string to = other_.file("a.mp3");
    {
        FileMove move(opened(from), from, to);
        testsupport::Bytes written = {7, 7, 7};
        std::ofstream(to, std::ios::binary).write(reinterpret_cast<const char*>(written.data()), 3);
        EXPECT_THROW(move.commit(), platform::FileError);
    }
    EXPECT_EQ(readFile(from), song_);
    EXPECT_EQ(readFile(to), (testsupport::Bytes{7, 7, 7}));
    EXPECT_EQ(std::distance(fs::directory_iterator(other_.path()), fs::directory_iterator()), 1);
}

// Whoever may write in the old folder cannot have the move take another
// file, nor lose the one that was copied.
TEST_F(FileMoveAcross, ASourceSwappedOrWrittenToWhileCopyingStaysWhereItIs)
{
    const std::string from = from_.write("a.mp3", song_);
    const std::string to = other_.file("a.mp3");
    {
        FileMove move(opened(from), from, to);
        fs::rename(from, from_.file("moved-away.mp3"));
        fs::create_symlink("/etc/passwd", from);
        EXPECT_THROW(move.commit(), platform::FileError);
    }
    EXPECT_TRUE(fs::is_empty(other_.path()));
    EXPECT_EQ(readFile(from_.file("moved-away.mp3")), song_);
    EXPECT_TRUE(fs::is_symlink(from));
    fs::remove(from);

    const std::string again = from_.write("b.mp3", song_);
    {
        FileMove move(opened(again), again, other_.file("b.mp3"));
        std::ofstream(again, std::ios::binary | std::ios::app) << "appended";
        EXPECT_THROW(move.commit(), platform::FileError);
    }
    EXPECT_TRUE(fs::is_empty(other_.path()));
    EXPECT_EQ(readFile(again).size(), song_.size() + 8);

    // A link is not moved as the file it leads to.
    fs::create_symlink(from_.file("moved-away.mp3"), from_.file("link.mp3"));
    EXPECT_THROW(FileMove(opened(from_.file("link.mp3")), from_.file("link.mp3"), other_.file("c.mp3")),
                 platform::FileError);
}

#include "entry/liedkram_entry.h"
#include "entry/picture_display.h"
#include "platform/file.h"
#include "platform/private_temp_dir.h"
#include "support/mp3_builder.h"
#include "support/recording_shell.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace testsupport;

class PictureDisplay : public SeamTest {
protected:
    TempDir dir_;
    platform::PrivateTempDir pictures_;
    RecordingShell shell_;
};

TEST_F(PictureDisplay, WritesThePictureIntoAPrivateFileAndOpensIt)
{
    Bytes file = id3v2Tag(3, 1000, 0x42);
    append(file, frames({}, 50));
    const CLiedkramEntry entry(dir_.write("a - b.mp3", file));
    ASSERT_EQ(entry.m_bHasId3v2, 1);

    ASSERT_TRUE(entry::showId3v2Picture(entry, pictures_, shell_));
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(shell_.directories[0], dir_.path());
    EXPECT_EQ(readFile(shell_.opened[0]), Bytes(file.begin() + 33, file.begin() + 33 + 1000));
    struct stat info {};
    ASSERT_EQ(::stat(shell_.opened[0].substr(0, shell_.opened[0].rfind('/')).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    pictures_.clear();
    EXPECT_FALSE(platform::fileExists(shell_.opened[0]));
}

TEST_F(PictureDisplay, AFileThatIsGoneIsReported)
{
    CLiedkramEntry entry;
    entry.m_szPath = dir_.path();
    entry.m_szFileName = "gone.mp3";
    EXPECT_FALSE(entry::showId3v2Picture(entry, pictures_, shell_));
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Cant open mp3 4 r"});
    EXPECT_TRUE(shell_.opened.empty());
}

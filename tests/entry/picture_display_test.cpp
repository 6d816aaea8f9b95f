#include "entry/liedkram_entry.h"
#include "entry/picture_display.h"
#include "platform/file.h"
#include "platform/private_temp_dir.h"
#include "platform/repair_settings.h"
#include "support/recording_shell.h"
#include "support/seam_fixture.h"
#include "support/tag_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <sys/stat.h>

using namespace testsupport;

namespace {

Bytes cover(std::size_t size, std::uint32_t seed = 1)
{
    Bytes data = {0xFF, 0xD8, 0xFF, 0xE0};
    append(data, musicBytes(size - data.size(), seed));
    return data;
}

Bytes song(Bytes tag)
{
    append(tag, frames({}, 30));
    return tag;
}

// An entry as a saved list gives it: where the file lies, nothing read from it.
CLiedkramEntry listed(const std::string& folder, const std::string& name)
{
    CLiedkramEntry entry;
    entry.m_szPath = folder;
    entry.m_szFileName = name;
    return entry;
}

struct PictureCase {
    const char* name;
    Bytes file;
    std::optional<Bytes> shown;
    const char* pictureName;
};

void PrintTo(const PictureCase& c, std::ostream* out)
{
    *out << c.name;
}

std::vector<PictureCase> pictureCases()
{
    Bytes pic = {kLatin1, 'P', 'N', 'G', 3, 0};
    append(pic, cover(900, 3));
    Bytes cutTag = id3v2Frames(3, {pictureFrame(3, cover(5000))});
    cutTag.resize(3000);
    Bytes old = id3v2Frames(3, {pictureFrame(3, cover(5000))});
    old[3] = 5;
    return {
        {"front_cover_before_others",
         song(id3v2Frames(4, {pictureFrame(4, cover(700, 1)), pictureFrame(3, cover(800, 2), "image/png")})),
         cover(800, 2), "temp.png"},
        {"first_picture_behind_texts_150k",
         song(id3v2Frames(3, {textFrame("TIT2", "Über den Wolken"), pictureFrame(4, cover(150000, 4))}, 2048)),
         cover(150000, 4), "temp.jpg"},
        {"v22_picture", song(id3v2Frames(2, {textFrame("TT2", "Alt"), {"PIC", pic}})), cover(900, 3), "temp.png"},
        {"v24_with_footer", song(id3v2Frames(4, {pictureFrame(0, cover(300, 5))}, 0, true)), cover(300, 5), "temp.jpg"},
        {"texts_only", song(id3v2Frames(3, {textFrame("TIT2", "Nur Text")})), std::nullopt, ""},
        {"no_tag", frames({}, 30), std::nullopt, ""},
        {"tag_past_the_end", cutTag, std::nullopt, ""},
        {"unknown_version", song(old), std::nullopt, ""},
    };
}

}  // namespace

class PictureDisplay : public SeamTest {
protected:
    TempDir dir_;
    platform::PrivateTempDir pictures_;
    RecordingShell shell_;
};

class PictureOfTheFile : public PictureDisplay, public testing::WithParamInterface<PictureCase> {};

TEST_P(PictureOfTheFile, IsLookedUpInTheFileAndShownWhole)
{
    const PictureCase& c = GetParam();
    const CLiedkramEntry entry = listed(dir_.path(), "bild.mp3");
    dir_.write("bild.mp3", c.file);

    EXPECT_EQ(entry::hasId3v2Picture(entry), c.shown.has_value());
    EXPECT_EQ(entry::showId3v2Picture(entry, pictures_, shell_), c.shown.has_value());
    EXPECT_TRUE(prompter().messages().empty());
    if (!c.shown) {
        EXPECT_TRUE(shell_.opened.empty());
        return;
    }
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(shell_.opened[0].substr(shell_.opened[0].rfind('/') + 1), c.pictureName);
    EXPECT_EQ(readFile(shell_.opened[0]), *c.shown);
    EXPECT_EQ(shell_.directories[0], dir_.path());
}

INSTANTIATE_TEST_SUITE_P(Tags, PictureOfTheFile, testing::ValuesIn(pictureCases()),
                         [](const testing::TestParamInfo<PictureCase>& param) { return param.param.name; });

TEST_F(PictureDisplay, WritesThePictureIntoAPrivateFileAndOpensIt)
{
    const CLiedkramEntry entry(dir_.write("a - b.mp3", song(id3v2Frames(3, {pictureFrame(3, cover(1000))}))),
                               platform::readRepairSettings());
    ASSERT_TRUE(entry::showId3v2Picture(entry, pictures_, shell_));
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(readFile(shell_.opened[0]), cover(1000));
    struct stat status {};
    ASSERT_EQ(::stat(shell_.opened[0].substr(0, shell_.opened[0].rfind('/')).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    pictures_.clear();
    EXPECT_FALSE(platform::fileExists(shell_.opened[0]));
}

TEST_F(PictureDisplay, AFileThatIsGoneIsReported)
{
    const CLiedkramEntry entry = listed(dir_.path(), "gone.mp3");
    EXPECT_FALSE(entry::hasId3v2Picture(entry));
    EXPECT_TRUE(prompter().messages().empty());
    EXPECT_FALSE(entry::showId3v2Picture(entry, pictures_, shell_));
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Cant open mp3 4 r"});
    EXPECT_TRUE(shell_.opened.empty());
}

TEST_F(PictureDisplay, APictureNoProgramOpensIsReported)
{
    const CLiedkramEntry entry(dir_.write("a - b.mp3", song(id3v2Frames(4, {pictureFrame(3, cover(400))}))),
                               platform::readRepairSettings());
    shell_.succeeds = false;
    EXPECT_FALSE(entry::showId3v2Picture(entry, pictures_, shell_));
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Can't open '" + shell_.opened[0] + "'"});
}

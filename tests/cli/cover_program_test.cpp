#include "cli_runner.h"
#include "song_file.h"
#include "support/temp_dir.h"
#include "written_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using clitest::CliRunner;
using clitest::ListedEntry;
using clitest::ProgramRun;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBitmapSize = 7597856;
constexpr int kWidth = 1800;
constexpr int kHeight = 1407;

struct Pixel {
    int red;
    int green;
    int blue;
};

// Rows are stored bottom row first, each pixel blue, green, red.
Pixel pixelAt(const Bytes& bitmap, int x, int y)
{
    const auto row = static_cast<std::size_t>(kHeight - 1 - y);
    const std::size_t at = 54 + row * kWidth * 3 + static_cast<std::size_t>(x) * 3;
    return {bitmap.at(at + 2), bitmap.at(at + 1), bitmap.at(at)};
}

int countPixels(const Bytes& bitmap, int red, int green, int blue)
{
    int count = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Pixel pixel = pixelAt(bitmap, x, y);
            count += pixel.red == red && pixel.green == green && pixel.blue == blue;
        }
    }
    return count;
}

bool isBlack(const Pixel& pixel)
{
    return pixel.red == 0 && pixel.green == 0 && pixel.blue == 0;
}

bool isWhite(const Pixel& pixel)
{
    return pixel.red == 255 && pixel.green == 255 && pixel.blue == 255;
}

std::vector<ListedEntry> titles(int count)
{
    std::vector<ListedEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(
            {"/m", std::to_string(i) + ".mp3", "Band " + std::to_string(i), "Lied & Text", 1000, 185200 + 1000 * i});
    return entries;
}

class CoverProgram : public ::testing::Test {
protected:
    ProgramRun run(const std::vector<std::string>& args) { return cli_.run(args); }

    ProgramRun cover(const std::string& out, const std::string& font, int count)
    {
        clitest::writeList(list_, titles(count));
        return run({"cover", out, "--font", font, "--list", list_});
    }

    CliRunner cli_;
    testsupport::TempDir music_;
    testsupport::TempDir lists_;
    testsupport::TempDir out_;
    const std::string list_ = lists_.file("Musik.m3l");
};

TEST_F(CoverProgram, TwoTitlesGiveTheWholeBitmapWithBorderSpinesAndColouredTexts)
{
    const std::string path = out_.file("cover.bmp");
    const ProgramRun drawn = cover(path, "DejaVu Sans", 2);
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_EQ(drawn.out, "");
    const Bytes bitmap = readFile(path);
    ASSERT_EQ(bitmap.size(), kBitmapSize);
    EXPECT_EQ(bitmap[0], 'B');
    EXPECT_EQ(bitmap[1], 'M');

    for (const int x : {0, 100, 1699, kWidth - 1})
        EXPECT_TRUE(isBlack(pixelAt(bitmap, x, 700))) << x;
    EXPECT_TRUE(isBlack(pixelAt(bitmap, 900, 0)));
    EXPECT_TRUE(isWhite(pixelAt(bitmap, 50, 700)));
    EXPECT_TRUE(isWhite(pixelAt(bitmap, 1750, 700)));
    // Numbers in red, lengths in blue, titles and the total in black.
    EXPECT_GT(countPixels(bitmap, 255, 0, 0), 1000);
    EXPECT_GT(countPixels(bitmap, 0, 0, 255), 1000);
    EXPECT_GT(countPixels(bitmap, 0, 0, 0), 3 * 2 * kHeight + 2 * kWidth);
}

TEST_F(CoverProgram, TheFontAskedForIsTheOneDrawn)
{
    ASSERT_EQ(cover(out_.file("sans.bmp"), "DejaVu Sans", 3).status, 0);
    ASSERT_EQ(cover(out_.file("sans12.bmp"), "DejaVu Sans, 12", 3).status, 0);
    ASSERT_EQ(cover(out_.file("serif.bmp"), "DejaVu Serif,12", 3).status, 0);
    const Bytes sans = readFile(out_.file("sans.bmp"));
    EXPECT_TRUE(sans == readFile(out_.file("sans12.bmp")));
    EXPECT_FALSE(sans == readFile(out_.file("serif.bmp")));
}

TEST_F(CoverProgram, OneTitleIsNoCover)
{
    const std::string path = out_.file("cover.bmp");
    const ProgramRun refused = cover(path, "DejaVu Sans", 1);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Witzbold: Ein CD-Cover mit 0 Titeln? Erst Titel markieren, dann Cover erstellen!\n");
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(CoverProgram, FortyNineTitlesAreDrawnFiftyAreTooMany)
{
    const std::string path = out_.file("cover.bmp");
    const ProgramRun many = cover(path, "DejaVu Sans", 49);
    EXPECT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(fs::file_size(path), kBitmapSize);

    const std::string more = out_.file("more.bmp");
    const ProgramRun refused = cover(more, "DejaVu Sans", 50);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Ein CD-Cover mit mehr als 49 Titeln? Mach ich nicht. Du willst mich wohl testen?\n");
    EXPECT_FALSE(fs::exists(more));
}

TEST_F(CoverProgram, PathsAreLoadedAsScanLoadsThem)
{
    const auto one = clitest::writeSong(music_, "1.mp3", "Band", "Song");
    const std::string path = out_.file("cover.bmp");
    const ProgramRun drawn = run({"cover", path, "--font", "DejaVu Sans", one, music_.file("sub")});
    EXPECT_EQ(drawn.status, 1);
    EXPECT_NE(drawn.err.find("Witzbold"), std::string::npos) << drawn.err;
    EXPECT_FALSE(fs::exists(path));

    clitest::writeSong(music_, "sub/2.mp3", "Other", "Tune");
    const ProgramRun both = run({"cover", path, "--font", "DejaVu Sans", music_.path()});
    EXPECT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(fs::file_size(path), kBitmapSize);
}

TEST_F(CoverProgram, AFontThatIsNotInstalledIsReported)
{
    const std::string path = out_.file("cover.bmp");
    const ProgramRun refused = cover(path, "No Such Family 4711,14", 2);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("The font family 'No Such Family 4711' is not installed"), std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(CoverProgram, AFileThatCannotBeCreatedIsReported)
{
    const std::string path = out_.file("missing folder/cover.bmp");
    const ProgramRun failed = cover(path, "DejaVu Sans", 2);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("Cannot create '" + path + "'"), std::string::npos) << failed.err;
    EXPECT_FALSE(fs::exists(out_.file("missing folder")));
}

// A platform set by the caller is used, and only the cover starts one.
TEST_F(CoverProgram, OnlyTheCoverNeedsTheGuiPlatform)
{
    const auto one = clitest::writeSong(music_, "1.mp3", "Band", "Song");
    const auto two = clitest::writeSong(music_, "2.mp3", "Other", "Tune");
    cli_.setEnvironment("QT_QPA_PLATFORM", "no-such-platform");
    EXPECT_EQ(run({"stats", one, two}).status, 0);
    EXPECT_EQ(run({"export", "m3u", out_.file("l.m3u"), one, two}).status, 0);

    const std::string path = out_.file("cover.bmp");
    const ProgramRun failed = run({"cover", path, "--font", "DejaVu Sans", one, two});
    EXPECT_NE(failed.status, 0);
    EXPECT_NE(failed.err.find("no-such-platform"), std::string::npos) << failed.err;
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(CoverProgram, UsageErrors)
{
    clitest::writeList(list_, titles(2));
    const auto song = clitest::writeSong(music_, "a.mp3", "Band", "Song");
    const Bytes before = readFile(song);
    const std::string out = out_.file("c.bmp");
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"cover", out, "--list", list_},
                                               {"cover", out, song},
                                               {"cover", "--font", "DejaVu Sans", "--list", list_},
                                               {"cover", out, "--font", "DejaVu Sans"},
                                               {"cover", out, "--font", "DejaVu Sans", "--list", list_, song},
                                               {"cover", out, "--font", "DejaVu Sans,0", song},
                                               {"cover", out, "--font", "DejaVu Sans,big", song},
                                               {"cover", out, "--font", ",12", song},
                                               {"cover", out, "--font"},
                                               {"cover", song, "--font", "DejaVu Sans", music_.path()},
                                               {"cover", out, "--font", "DejaVu Sans", "--dup=skip", song}}) {
        const ProgramRun usage = run(bad);
        EXPECT_EQ(usage.status, 2) << ::testing::PrintToString(bad);
        EXPECT_NE(usage.err.find("Usage"), std::string::npos);
        EXPECT_EQ(usage.out, "");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out_.path()), fs::directory_iterator()), 0);
    EXPECT_TRUE(readFile(song) == before);
}

}  // namespace

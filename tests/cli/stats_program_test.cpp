#include "cli_runner.h"
#include "song_file.h"
#include "support/temp_dir.h"
#include "written_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using clitest::CliRunner;
using clitest::ProgramRun;

namespace {

class StatsProgram : public ::testing::Test {
protected:
    ProgramRun run(const std::vector<std::string>& args) { return cli_.run(args); }

    CliRunner cli_;
    testsupport::TempDir music_;
    testsupport::TempDir lists_;
    const std::string list_ = lists_.file("Musik.m3l");
};

TEST_F(StatsProgram, TwoKnownEntriesGiveTheExactText)
{
    clitest::writeList(list_, {{"/m", "a.mp3", "A", "Eins", 3145728, 180000, 128000},
                               {"/m", "b.mp3", "B", "Zwei", 1572864, 240000, 128000}});
    const ProgramRun stats = run({"stats", "--list", list_});
    EXPECT_EQ(stats.status, 0);
    EXPECT_EQ(stats.err, "");
    EXPECT_EQ(stats.out, "Titel:\t2\n"
                         "Gr\xC3\xB6\xC3\x9F"
                         "e:\t4.50 MB\n"
                         "L\xC3\xA4nge:\t0:07:00.0 h\n"
                         "DGr\xC3\xB6\xC3\x9F"
                         "e:\t2.25 MB\n"
                         "DL\xC3\xA4nge:\t03:30.0 min\n"
                         "DBitrate:\t128.00 kbit/s\n");
}

TEST_F(StatsProgram, SizesAreCutAndTheBitrateIsWeightedByLength)
{
    clitest::writeList(
        list_, {{"/m", "a.mp3", "A", "Eins", 1048575, 1000, 192000}, {"/m", "b.mp3", "B", "Zwei", 0, 3000, 128000}});
    const ProgramRun stats = run({"stats", "--list", list_});
    EXPECT_EQ(stats.status, 0);
    EXPECT_EQ(stats.out, "Titel:\t2\n"
                         "Gr\xC3\xB6\xC3\x9F"
                         "e:\t0.99 MB\n"
                         "L\xC3\xA4nge:\t0:00:04.0 h\n"
                         "DGr\xC3\xB6\xC3\x9F"
                         "e:\t0.49 MB\n"
                         "DL\xC3\xA4nge:\t00:02.0 min\n"
                         "DBitrate:\t144.00 kbit/s\n");
}

TEST_F(StatsProgram, AnEmptyListShowsZeros)
{
    clitest::writeList(list_, {});
    const ProgramRun stats = run({"stats", "--list", list_});
    EXPECT_EQ(stats.status, 0);
    EXPECT_EQ(stats.out, "Titel:\t0\n"
                         "Gr\xC3\xB6\xC3\x9F"
                         "e:\t0.00 MB\n"
                         "L\xC3\xA4nge:\t0:00:00.0 h\n"
                         "DGr\xC3\xB6\xC3\x9F"
                         "e:\t0.00 MB\n"
                         "DL\xC3\xA4nge:\t00:00.0 min\n"
                         "DBitrate:\t0.00 kbit/s\n");
}

TEST_F(StatsProgram, PathsAreLoadedLikeAddLoadsThemAndASkipIsReported)
{
    const auto one = clitest::writeSong(music_, "1.mp3", "Band", "Song");
    const auto two = clitest::writeSong(music_, "sub/2.mp3", "Other", "Tune");
    ASSERT_EQ(run({"add", list_, music_.path()}).status, 0);
    const ProgramRun fromList = run({"stats", "--list", list_});
    ASSERT_EQ(fromList.status, 0);
    EXPECT_EQ(fromList.out.rfind("Titel:\t2\n", 0), 0u) << fromList.out;

    const ProgramRun fromPaths = run({"stats", two, one});
    EXPECT_EQ(fromPaths.status, 0);
    EXPECT_EQ(fromPaths.err, "");
    EXPECT_EQ(fromPaths.out, fromList.out);

    const std::string missing = music_.file("gone.mp3");
    const ProgramRun skipped = run({"stats", one, missing, two});
    EXPECT_EQ(skipped.status, 1);
    EXPECT_NE(skipped.err.find(missing), std::string::npos) << skipped.err;
    EXPECT_EQ(skipped.out, fromList.out);
}

TEST_F(StatsProgram, AnUnreadableListPrintsNothing)
{
    const ProgramRun missing = run({"stats", "--list", lists_.file("gone.m3l")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find(lists_.file("gone.m3l")), std::string::npos) << missing.err;
}

TEST_F(StatsProgram, UsageErrors)
{
    clitest::writeList(list_, {});
    const auto song = clitest::writeSong(music_, "a.mp3", "Band", "Song");
    for (const auto& bad : std::vector<std::vector<std::string>>{{"stats"},
                                                                 {"stats", "--list", list_, song},
                                                                 {"stats", "--list"},
                                                                 {"stats", "--list", song},
                                                                 {"stats", "--dry-run", song}}) {
        const ProgramRun usage = run(bad);
        EXPECT_EQ(usage.status, 2) << ::testing::PrintToString(bad);
        EXPECT_NE(usage.err.find("Usage"), std::string::npos);
        EXPECT_EQ(usage.out, "");
    }
}

}  // namespace

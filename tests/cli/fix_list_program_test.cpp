#include "cli/scan_table.h"
#include "cli_runner.h"
#include "old_rip.h"
#include "support/temp_dir.h"
#include "table_fields.h"
#include "written_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using clitest::CliRunner;
using clitest::OldRip;
using clitest::ProgramRun;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileColumn = 0;
constexpr std::size_t kSizeColumn = 5;
constexpr std::size_t kAudioStartColumn = 14;
constexpr std::size_t kFlagsColumn = 20;
constexpr std::size_t kNewNameColumn = 27;

// The rows of a table behind the given header.
std::vector<std::vector<std::string>> rowsOf(const std::string& table, const std::string& header)
{
    EXPECT_EQ(table.rfind(header, 0), 0u) << table;
    std::vector<std::vector<std::string>> rows;
    std::size_t begin = table.find('\n') + 1;
    while (begin < table.size()) {
        const std::size_t end = table.find('\n', begin);
        rows.push_back(clitest::fieldsOf(table.substr(begin, end - begin)));
        begin = end + 1;
    }
    return rows;
}

class FixListProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The repairs these cases look at are those of the audio and the
        // ID3v1 tag; the ID3v2 tag a repair writes has cases of its own.
        cli_.store("SetID3V2", "0");
        music_.write(nena_.name, nena_.bytes);
        music_.write(beatles_.name, beatles_.bytes);
        ASSERT_EQ(cli_.run({"add", list_, music_.path()}).status, 0);
    }

    std::vector<std::vector<std::string>> listRows()
    {
        const ProgramRun list = cli_.run({"list", list_});
        EXPECT_EQ(list.status, 0) << list.err;
        return rowsOf(list.out, cli::scanHeader());
    }

    const OldRip nena_ = clitest::nenaRip();
    const OldRip beatles_ = clitest::beatlesRip();
    CliRunner cli_;
    testsupport::TempDir music_;
    testsupport::TempDir lists_;
    const std::string list_ = lists_.file("Alt.m3l");
};

TEST_F(FixListProgram, RepairsTheListedFilesAndSavesTheNewNamesAndFlags)
{
    // Listed as found: junk in front, old headers, old tags.
    const auto before = listRows();
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0][kFileColumn], nena_.name);
    EXPECT_NE(before[0][kFlagsColumn], "00");

    const ProgramRun fix = cli_.run({"fix", "--rename=yes", "--list", list_});
    EXPECT_EQ(fix.status, 0);
    EXPECT_EQ(fix.err, "");
    const auto table = rowsOf(fix.out, cli::fixHeader());
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0][kNewNameColumn], nena_.repairedName);
    EXPECT_EQ(table[1][kNewNameColumn], beatles_.repairedName);
    EXPECT_TRUE(readFile(music_.file(nena_.repairedName)) == nena_.repaired);
    EXPECT_TRUE(readFile(music_.file(beatles_.repairedName)) == beatles_.repaired);
    EXPECT_FALSE(fs::exists(music_.file(nena_.name)));

    // In list order, with what the repair made of each entry.
    const auto after = listRows();
    ASSERT_EQ(after.size(), 2u);
    for (const auto& [row, rip] : {std::pair{after[0], nena_}, std::pair{after[1], beatles_}}) {
        EXPECT_EQ(row[kFileColumn], rip.repairedName);
        EXPECT_EQ(row[kFlagsColumn], "00");
        EXPECT_EQ(row[kSizeColumn], std::to_string(rip.repaired.size()));
        EXPECT_EQ(row[kAudioStartColumn], "0");
    }
    EXPECT_EQ(after[1][3], "The Beatles");
}

TEST_F(FixListProgram, DryRunChangesNeitherTheFilesNorTheList)
{
    const auto saved = readFile(list_);
    const ProgramRun dry = cli_.run({"fix", "--dry-run", "--rename=yes", "--list", list_});
    EXPECT_EQ(dry.status, 0);
    const auto table = rowsOf(dry.out, cli::fixHeader());
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1][kFlagsColumn], "1f");
    EXPECT_TRUE(readFile(list_) == saved);
    EXPECT_TRUE(readFile(music_.file(nena_.name)) == nena_.bytes);
    EXPECT_TRUE(readFile(music_.file(beatles_.name)) == beatles_.bytes);
}

TEST_F(FixListProgram, AListedFileThatIsGoneIsReportedAndTheOthersAreRepaired)
{
    fs::remove(music_.file(nena_.name));
    const ProgramRun fix = cli_.run({"fix", "--rename=yes", "--list", list_});
    EXPECT_EQ(fix.status, 1);
    EXPECT_NE(fix.err.find(nena_.name), std::string::npos) << fix.err;
    EXPECT_TRUE(readFile(music_.file(beatles_.repairedName)) == beatles_.repaired);
    const auto after = listRows();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0][kFileColumn], nena_.name);
    EXPECT_EQ(after[1][kFileColumn], beatles_.repairedName);
    EXPECT_EQ(after[1][kFlagsColumn], "00");
}

TEST_F(FixListProgram, AbbrechenStopsTheRunButSavesWhatWasDone)
{
    const ProgramRun fix = cli_.run({"fix", "--list", list_}, "j\na\n");
    EXPECT_EQ(fix.status, 1) << "the run did not get through";
    EXPECT_EQ(rowsOf(fix.out, cli::fixHeader()).size(), 1u);
    EXPECT_TRUE(readFile(music_.file(nena_.repairedName)) == nena_.repaired);
    EXPECT_TRUE(readFile(music_.file(beatles_.name)) == beatles_.bytes);
    const auto after = listRows();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0][kFileColumn], nena_.repairedName);
    EXPECT_EQ(after[1][kFileColumn], beatles_.name);
}

}  // namespace

TEST_F(FixListProgram, AnEntryWhoseRangeDoesNotFitItsFileIsMeasuredAgainBeforeTheRepair)
{
    const int size = static_cast<int>(beatles_.bytes.size());
    for (const auto& [start, end] : {std::pair{3, size + 1000}, std::pair{size - 10, 20}, std::pair{-5, 100}}) {
        const std::string song = music_.write(beatles_.name, beatles_.bytes);
        clitest::writeList(list_, {{music_.path(), beatles_.name, "The Beatles", "Let It Be", size, 1000, 128000, "",
                                    -1, "", start, end}});
        ASSERT_EQ(listRows().size(), 1u) << "the entry is listed";
        const ProgramRun fix = cli_.run({"fix", "--rename=yes", "--list", list_});
        EXPECT_EQ(fix.status, 0) << fix.err;
        // The frames as a fresh scan finds them; the tag is the listed entry's.
        const auto repaired = readFile(music_.file(beatles_.repairedName));
        ASSERT_EQ(repaired.size(), beatles_.repaired.size()) << start << ".." << end;
        EXPECT_TRUE(std::equal(repaired.begin(), repaired.end() - 128, beatles_.repaired.begin()))
            << start << ".." << end;
        fs::remove(music_.file(beatles_.repairedName));
    }
}

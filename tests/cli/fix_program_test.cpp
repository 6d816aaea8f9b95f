#include "cli/scan_table.h"
#include "cli_runner.h"
#include "old_rip.h"
#include "support/temp_dir.h"
#include "table_fields.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

using clitest::CliRunner;
using clitest::fieldsOf;
using clitest::OldRip;
using clitest::ProgramRun;
using testsupport::readFile;

namespace {

// Columns of the fix table.
constexpr std::size_t kFileColumn = 0;
constexpr std::size_t kSizeColumn = 5;
constexpr std::size_t kAudioStartColumn = 14;
constexpr std::size_t kFlagsColumn = 20;
constexpr std::size_t kHasId3v2Column = 22;
constexpr std::size_t kNewNameColumn = 27;

std::set<std::string> namesIn(const std::string& directory)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

class FixProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The repairs these cases look at are those of the audio and the
        // ID3v1 tag; the ID3v2 tag a repair writes has cases of its own.
        cli_.store("SetID3V2", "0");
    }

    void put(const OldRip& rip) { music_.write(rip.name, rip.bytes); }

    // The table lines behind the header, split into fields.
    static std::vector<std::vector<std::string>> rowsOf(const ProgramRun& run)
    {
        EXPECT_EQ(run.out.rfind(cli::fixHeader(), 0), 0u) << run.out;
        std::vector<std::vector<std::string>> rows;
        std::size_t begin = run.out.find('\n') + 1;
        while (begin < run.out.size()) {
            const std::size_t end = run.out.find('\n', begin);
            rows.push_back(fieldsOf(run.out.substr(begin, end - begin)));
            EXPECT_EQ(rows.back().size(), 28u);
            begin = end + 1;
        }
        return rows;
    }

    CliRunner cli_;
    testsupport::TempDir music_;
};

TEST_F(FixProgram, RepairsAndRenamesEveryFileOfAFolder)
{
    const OldRip beatles = clitest::beatlesRip();
    const OldRip nena = clitest::nenaRip();
    put(beatles);
    put(nena);

    const ProgramRun fix = cli_.run({"fix", "--rename=yes", music_.path()});
    EXPECT_EQ(fix.status, 0);
    EXPECT_EQ(fix.err, "");
    EXPECT_EQ(namesIn(music_.path()), (std::set<std::string>{beatles.repairedName, nena.repairedName}));
    // Byte for byte: the frames from offset 0 with the new bits, then exactly one tag.
    EXPECT_TRUE(readFile(music_.file(beatles.repairedName)) == beatles.repaired);
    EXPECT_TRUE(readFile(music_.file(nena.repairedName)) == nena.repaired);

    const auto rows = rowsOf(fix);
    ASSERT_EQ(rows.size(), 2u);
    // In byte order of the path: "nena ..." before "the beatles ...".
    for (const auto& [row, rip] : {std::pair{rows[0], nena}, std::pair{rows[1], beatles}}) {
        EXPECT_EQ(row[kFileColumn], rip.repairedName);
        EXPECT_EQ(row[kNewNameColumn], rip.repairedName);
        EXPECT_EQ(row[kFlagsColumn], "00");
        EXPECT_EQ(row[kSizeColumn], std::to_string(rip.repaired.size()));
        EXPECT_EQ(row[kAudioStartColumn], "0");
        EXPECT_EQ(row[kHasId3v2Column], "0");
    }
    EXPECT_EQ(rows[1][2], "Let It Be");
    EXPECT_EQ(rows[1][3], "The Beatles");
    EXPECT_EQ(rows[1][8], "1970");

    // Run again, nothing is left to do: the content stays, no name is asked about.
    const ProgramRun again = cli_.run({"fix", music_.path()});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.err, "");
    EXPECT_TRUE(readFile(music_.file(beatles.repairedName)) == beatles.repaired);
    EXPECT_EQ(namesIn(music_.path()).size(), 2u);
}

TEST_F(FixProgram, DryRunChangesNoFileAndShowsThePendingWork)
{
    const OldRip beatles = clitest::beatlesRip();
    put(beatles);
    // Everything: tag 01, front 02, back 04, headers 08; rename 10 once it is agreed to.
    for (const auto& [answer, flags] : {std::pair{"--rename=yes", "1f"}, std::pair{"--rename=no", "0f"}}) {
        const ProgramRun dry = cli_.run({"fix", "--dry-run", answer, music_.path()});
        EXPECT_EQ(dry.status, 0);
        EXPECT_EQ(dry.err, "");
        EXPECT_EQ(namesIn(music_.path()), std::set<std::string>{beatles.name});
        EXPECT_TRUE(readFile(music_.file(beatles.name)) == beatles.bytes);
        const auto rows = rowsOf(dry);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][kFileColumn], beatles.name);
        EXPECT_EQ(rows[0][kFlagsColumn], flags);
        EXPECT_EQ(rows[0][kNewNameColumn], beatles.repairedName);
        EXPECT_EQ(rows[0][kSizeColumn], std::to_string(beatles.bytes.size()));
    }
}

TEST_F(FixProgram, DeclinedRenameKeepsTheNameButRepairsTheContent)
{
    const OldRip beatles = clitest::beatlesRip();
    put(beatles);
    const ProgramRun fix = cli_.run({"fix", "--rename=no", music_.file(beatles.name)});
    EXPECT_EQ(fix.status, 0);
    EXPECT_EQ(fix.err, "");
    EXPECT_EQ(namesIn(music_.path()), std::set<std::string>{beatles.name});
    EXPECT_TRUE(readFile(music_.file(beatles.name)) == beatles.repaired);
    const auto rows = rowsOf(fix);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kFlagsColumn], "00");
    // The declined proposal is still shown.
    EXPECT_EQ(rows[0][kNewNameColumn], beatles.repairedName);
}

TEST_F(FixProgram, AnswersAreReadFromStandardInputAndAbbrechenStopsTheRun)
{
    OldRip first = clitest::beatlesRip();
    first.name = "a - first.mp3";
    first.repairedName = "A-First.mp3";
    const OldRip second = clitest::nenaRip();
    const OldRip third = clitest::beatlesRip();
    put(first);
    put(second);
    put(third);

    const ProgramRun fix = cli_.run({"fix", music_.path()}, "what?\n\nJ\n a \n");
    EXPECT_EQ(fix.status, 1) << "the run did not get through";
    EXPECT_EQ(namesIn(music_.path()), (std::set<std::string>{first.repairedName, second.name, third.name}));
    EXPECT_TRUE(readFile(music_.file(second.name)) == second.bytes);
    EXPECT_TRUE(readFile(music_.file(third.name)) == third.bytes);
    const auto rows = rowsOf(fix);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kFileColumn], first.repairedName);
    EXPECT_EQ(rows[0][kFlagsColumn], "00");

    const std::string firstQuestion = "Umbenennen:\n" + first.name + " ->\n" + first.repairedName + "\n";
    const std::string secondQuestion = "Umbenennen:\n" + second.name + " ->\n" + second.repairedName + "\n";
    EXPECT_EQ(fix.err.find(firstQuestion), 0u) << fix.err;
    EXPECT_NE(fix.err.find(secondQuestion), std::string::npos) << fix.err;
    EXPECT_EQ(fix.err.find(third.name), std::string::npos) << fix.err;
    // Asked again after each of the two lines that are no answer.
    const std::string choices = "[j]a/[y]es, [n]ein, [a]bbrechen? ";
    std::size_t asked = 0;
    for (auto at = fix.err.find(choices); at != std::string::npos; at = fix.err.find(choices, at + 1))
        ++asked;
    EXPECT_EQ(asked, 4u);
}

TEST_F(FixProgram, EndOfInputAnswersNein)
{
    const OldRip beatles = clitest::beatlesRip();
    put(beatles);
    const ProgramRun fix = cli_.run({"fix", music_.path()});
    EXPECT_EQ(fix.status, 0);
    EXPECT_EQ(namesIn(music_.path()), std::set<std::string>{beatles.name});
    EXPECT_TRUE(readFile(music_.file(beatles.name)) == beatles.repaired);
    EXPECT_NE(fix.err.find("no more input"), std::string::npos) << fix.err;
}

TEST_F(FixProgram, RenameOntoAnExistingFileFailsAndReplacesNothing)
{
    const OldRip beatles = clitest::beatlesRip();
    put(beatles);
    const testsupport::Bytes other = testsupport::musicBytes(777);
    music_.write(beatles.repairedName, other);

    const ProgramRun fix = cli_.run({"fix", "--rename=yes", music_.file(beatles.name)});
    EXPECT_EQ(fix.status, 1);
    EXPECT_EQ(fix.err, "Unable to rename " + beatles.name + " cause: 5 (File exists)\n");
    EXPECT_EQ(namesIn(music_.path()), (std::set<std::string>{beatles.name, beatles.repairedName}));
    EXPECT_TRUE(readFile(music_.file(beatles.repairedName)) == other);
    EXPECT_TRUE(readFile(music_.file(beatles.name)) == beatles.repaired);
    const auto rows = rowsOf(fix);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kFileColumn], beatles.name);
    EXPECT_EQ(rows[0][kFlagsColumn], "10");  // the rename is still to do
}

TEST_F(FixProgram, WarningsGoToStandardErrorAndTheRunGoesOn)
{
    OldRip longTitle = clitest::beatlesRip();
    longTitle.name = "the beatles - a very long title that goes on and on.mp3";
    put(longTitle);
    const OldRip nena = clitest::nenaRip();
    put(nena);

    const ProgramRun fix = cli_.run({"fix", "--rename=no", music_.path()});
    EXPECT_EQ(fix.status, 0);
    EXPECT_EQ(fix.err,
              "Title tag too long in: " + longTitle.name + "\r\nWill be shortend in *.mp3 but kept in list!\n");
    const auto rows = rowsOf(fix);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][2], "A Very Long Title That Goes On And On");  // the list keeps it whole
    const auto bytes = readFile(music_.file(longTitle.name));
    ASSERT_GT(bytes.size(), 128u);
    const std::string title(bytes.end() - 125, bytes.end() - 95);
    EXPECT_EQ(title, "A Very Long Title That Goes On");
    EXPECT_TRUE(readFile(music_.file(nena.name)) == nena.repaired);
}

TEST_F(FixProgram, SkippedFilesSetTheStatusAndTheRunGoesOn)
{
    const OldRip beatles = clitest::beatlesRip();
    put(beatles);
    music_.write("a noise.mp3", testsupport::musicBytes(4000));
    const ProgramRun fix = cli_.run({"fix", "--rename=yes", music_.file("gone.mp3"), music_.path()});
    EXPECT_EQ(fix.status, 1);
    EXPECT_NE(fix.err.find("gone.mp3"), std::string::npos);
    EXPECT_NE(fix.err.find("a noise.mp3"), std::string::npos);
    EXPECT_TRUE(readFile(music_.file("a noise.mp3")) == testsupport::musicBytes(4000));
    EXPECT_TRUE(readFile(music_.file(beatles.repairedName)) == beatles.repaired);
    EXPECT_EQ(rowsOf(fix).size(), 1u);
}

// Keeps files from being added to, removed from or renamed in a directory
// while it lives. Permission bits stop everyone but root, and the tests run
// as root; root is stopped only by the immutable attribute.
class LockedDirectory {
public:
    explicit LockedDirectory(std::string path) : path_(std::move(path))
    {
        if (::geteuid() == 0) {
            locked_ = std::system(("chattr +i '" + path_ + "' 2>/dev/null").c_str()) == 0;
        } else {
            std::filesystem::permissions(path_,
                                         std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
            locked_ = true;
        }
    }
    ~LockedDirectory()
    {
        if (::geteuid() == 0)
            std::system(("chattr -i '" + path_ + "' 2>/dev/null").c_str());
        else
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
    }
    LockedDirectory(const LockedDirectory&) = delete;
    LockedDirectory& operator=(const LockedDirectory&) = delete;
    // False when this file system or this user cannot lock it.
    bool locked() const { return locked_; }

private:
    std::string path_;
    bool locked_ = false;
};

TEST_F(FixProgram, DirectoryThatCannotBeWrittenKeepsEveryFile)
{
    const OldRip beatles = clitest::beatlesRip();
    put(beatles);
    const LockedDirectory lock(music_.path());
    if (!lock.locked())
        GTEST_SKIP() << "chattr +i failed: this file system cannot make a directory immutable";
    if (std::ofstream(music_.file("probe")))
        GTEST_SKIP() << "the locked directory still takes new files here";

    const ProgramRun fix = cli_.run({"fix", "--rename=yes", music_.path()});
    EXPECT_EQ(fix.status, 1);
    // Nothing is renamed after a rewrite that failed.
    EXPECT_EQ(fix.err,
              "Unable to rewrite " + beatles.name + " cause: 5 (Operation not permitted) -> file unchanged.\n");
    EXPECT_EQ(namesIn(music_.path()), std::set<std::string>{beatles.name});
    EXPECT_TRUE(readFile(music_.file(beatles.name)) == beatles.bytes);
    const auto rows = rowsOf(fix);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kFlagsColumn], "1f");
}

}  // namespace

#include "cli_runner.h"
#include "entry/column.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"
#include "table_fields.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using clitest::CliRunner;
using clitest::ProgramRun;
using testsupport::TempDir;

namespace {

// Runs the built program with a music folder of the test's own.
class CliProgram : public ::testing::Test {
protected:
    ProgramRun run(const std::vector<std::string>& args) { return cli_.run(args); }

    CliRunner cli_;
    TempDir music_;
};

const std::string kDefaults =
    "DelFront=1\nDelCopy=1\nSetOrig=1\nDelBack=1\nSetID3=1\nSetID3V2=1\nChkAll=1\nForceGet=0\nRename=1\n"
    "TypMBX=1\nCnvUml=1\nCnvAmp=1\nCnvSonder=1\nCnvSpace=1\nID2DatNam=$Artist-$Title\nKeepOrig=1\nKeepDays=30\n";

}  // namespace

TEST_F(CliProgram, SettingsAreListedAndStoredWithTheirFollowersButNeverByOverrides)
{
    EXPECT_EQ(run({"settings"}).out, kDefaults);
    // The settings that follow one stored are stored too, and those that changed are printed.
    const std::vector<std::pair<std::vector<std::string>, std::string>> stores = {
        {{"ChkAll", "0"}, "DelFront=0\nDelCopy=0\nSetOrig=0\n"},
        {{"ID2DatNam", "$Track - $Title"}, "TypMBX=2\n"},
        {{"SetID3V2", "1"}, "DelFront=1\n"},  // one level: DelFront's own rule would turn ChkAll on
        {{"DelBack", "1"}, ""},
        {{"CnvSpace", "0"}, ""},  // the user's own pattern already
    };
    for (const auto& [keyValue, printed] : stores) {
        const ProgramRun stored = run({"settings", keyValue[0], keyValue[1]});
        EXPECT_EQ(stored.status, 0) << keyValue[0];
        EXPECT_EQ(stored.out, printed) << keyValue[0];
    }
    // A value out of range would purge the whole history at the next change.
    const ProgramRun refused = run({"settings", "KeepDays", "0"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("KeepDays takes 1 to 3650"), std::string::npos) << refused.err;
    // A pattern the options dialog refuses makes no names: refused for a run as well.
    using Args = std::vector<std::string>;
    for (const Args& args : {Args{"settings", "ID2DatNam", "$Artist/$Title"},
                             Args{"fix", "--set", "ID2DatNam=$Artist $Foo", music_.path()}}) {
        const ProgramRun pattern = run(args);
        EXPECT_EQ(pattern.status, 2);
        EXPECT_NE(pattern.err.find("setting ID2DatNam: the pattern '"), std::string::npos) << pattern.err;
    }
    EXPECT_TRUE(std::filesystem::exists(cli_.configDir() + "/CD_Cover erstellen/Liedkram.conf"));
    EXPECT_EQ(run({"scan", "--set", "ChkAll=1", "--set", "DelBack=0", "--set", "ID2DatNam=x", music_.path()}).status,
              0);

    const std::string expected =
        "DelFront=1\nDelCopy=0\nSetOrig=0\nDelBack=1\nSetID3=1\nSetID3V2=1\nChkAll=0\nForceGet=0\nRename=1\n"
        "TypMBX=2\nCnvUml=1\nCnvAmp=1\nCnvSonder=1\nCnvSpace=0\nID2DatNam=$Track - $Title\nKeepOrig=1\nKeepDays=30\n";
    const ProgramRun stored = run({"settings"});
    EXPECT_EQ(stored.status, 0);
    EXPECT_EQ(stored.out, expected);
    // A preset puts its conversions and pattern over the user's own.
    EXPECT_EQ(run({"settings", "TypMBX", "0"}).out,
              "CnvUml=0\nCnvAmp=0\nCnvSonder=0\nID2DatNam=$Track - $Artist - $Title\n");
}

TEST_F(CliProgram, HelpAndUsageErrors)
{
    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("liedkram-cli scan"), std::string::npos);
    EXPECT_NE(help.out.find("liedkram-cli fix"), std::string::npos);
    for (const char* command : {"fix --list", "list", "add", "subtract", "sort", "export", "stats", "cover"})
        EXPECT_NE(help.out.find("liedkram-cli " + std::string(command) + " "), std::string::npos) << command;
    // sort names the column numbers and every header, in column order.
    std::size_t at = help.out.find("given as its number 0-" + std::to_string(kColumnCount - 1) + " or its");
    const std::size_t end = help.out.find("A list file's name", at);
    ASSERT_NE(at, std::string::npos);
    for (const Column column : allColumns()) {
        at = help.out.find(columnHeader(column), at);
        ASSERT_LT(at, end) << columnHeader(column);
    }

    const std::string path = music_.file("x.mp3");
    for (const auto& bad : std::vector<std::vector<std::string>>{{},
                                                                 {"scan"},
                                                                 {"settings", "ChkAll", "ja"},
                                                                 {"fix"},
                                                                 {"fix", "--rename=maybe", path},
                                                                 {"fix", "--list", "l.m3l", path},
                                                                 {"list"},
                                                                 {"add", "l.m3l"},
                                                                 {"add", "--dup=later", "l.m3l", path},
                                                                 {"subtract", "l.m3l"},
                                                                 {"sort", "l.m3l", "Artist"}}) {
        const ProgramRun usage = run(bad);
        EXPECT_EQ(usage.status, 2);
        EXPECT_NE(usage.err.find("Usage"), std::string::npos);
        EXPECT_EQ(usage.out, "");
    }
}

TEST_F(CliProgram, FileThatIsNoMp3IsReportedAndSkipped)
{
    music_.write("x.mp3", testsupport::musicBytes(5000));
    const ProgramRun scan = run({"scan", music_.path()});
    EXPECT_EQ(scan.status, 1);
    EXPECT_EQ(scan.out.find('\n'), scan.out.size() - 1);  // the header alone
    EXPECT_NE(scan.err.find(music_.file("x.mp3")), std::string::npos);
}

TEST_F(CliProgram, ValidFileGivesOneRowAndOverridesReachTheLoader)
{
    testsupport::Bytes bytes;
    for (int i = 0; i < 300; ++i)
        testsupport::append(bytes, testsupport::frame({}));
    testsupport::Id3v1Fields tag;
    tag.title = "Song";
    tag.artist = "Band";
    testsupport::append(bytes, testsupport::id3v1Tag(tag));
    const std::string path = music_.write("song.mp3", bytes);

    for (const std::string chkAll : {"1", "0"}) {
        const ProgramRun scan = run({"scan", "--set", "ChkAll=" + chkAll, path});
        EXPECT_EQ(scan.status, 0);
        EXPECT_EQ(scan.err, "");
        const auto newline = scan.out.find('\n');
        ASSERT_NE(newline, std::string::npos);
        EXPECT_EQ(scan.out.substr(0, 11), "Datei\tPfad\t");
        const auto fields = clitest::fieldsOf(scan.out.substr(newline + 1));
        ASSERT_EQ(fields.size(), 27u);
        EXPECT_EQ((std::vector<std::string>(fields.begin(), fields.begin() + 4)),
                  (std::vector<std::string>{"song.mp3", music_.path(), "Song", "Band"}));
        EXPECT_EQ(fields[5], std::to_string(bytes.size()));
        EXPECT_EQ(fields[15], std::to_string(bytes.size() - 128));
        EXPECT_EQ(fields[19], "4490fbff");
        EXPECT_EQ(fields[21], chkAll);  // only the block scan verifies
    }
}

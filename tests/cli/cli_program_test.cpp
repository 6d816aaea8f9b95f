#include "support/mp3_builder.h"
#include "support/temp_dir.h"
#include "table_fields.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using testsupport::TempDir;

namespace {

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text)
{
    std::string result = "'";
    for (const char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

std::string textOf(const std::string& path)
{
    const auto bytes = testsupport::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs the built program with its settings in a directory of the test's
// own, never in the user's.
class CliProgram : public ::testing::Test {
protected:
    ProgramRun run(const std::vector<std::string>& args)
    {
        std::string command = "XDG_CONFIG_HOME=" + quoted(config_.path()) + " " + quoted(LIEDKRAM_CLI_PATH);
        for (const auto& arg : args)
            command += " " + quoted(arg);
        command += " >" + quoted(output_.file("out")) + " 2>" + quoted(output_.file("err"));
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, textOf(output_.file("out")),
                textOf(output_.file("err"))};
    }

    TempDir config_;
    TempDir output_;
    TempDir music_;
};

const std::string kDefaults =
    "DelFront=1\nDelCopy=1\nSetOrig=1\nDelBack=1\nSetID3=1\nSetID3V2=1\nChkAll=1\nForceGet=0\nRename=1\n"
    "TypMBX=1\nCnvUml=1\nCnvAmp=1\nCnvSonder=1\nCnvSpace=1\nID2DatNam=$Artist-$Title\n";

}  // namespace

TEST_F(CliProgram, SettingsAreListedAndStoredButNeverByOverrides)
{
    EXPECT_EQ(run({"settings"}).out, kDefaults);
    EXPECT_EQ(run({"settings", "ChkAll", "0"}).status, 0);
    EXPECT_EQ(run({"settings", "ID2DatNam", "$Track - $Title"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(config_.file("CD_Cover erstellen/Liedkram.conf")));
    EXPECT_EQ(run({"scan", "--set", "ChkAll=1", "--set", "ID2DatNam=x", music_.path()}).status, 0);

    std::string expected = kDefaults;
    expected.replace(expected.find("ChkAll=1"), 8, "ChkAll=0");
    expected.replace(expected.find("$Artist-$Title"), 14, "$Track - $Title");
    const ProgramRun stored = run({"settings"});
    EXPECT_EQ(stored.status, 0);
    EXPECT_EQ(stored.out, expected);
}

TEST_F(CliProgram, HelpAndUsageErrors)
{
    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("liedkram-cli scan"), std::string::npos);

    for (const auto& bad : std::vector<std::vector<std::string>>{{}, {"scan"}, {"settings", "ChkAll", "ja"}}) {
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
        ASSERT_EQ(fields.size(), 26u);
        EXPECT_EQ((std::vector<std::string>(fields.begin(), fields.begin() + 4)),
                  (std::vector<std::string>{"song.mp3", music_.path(), "Song", "Band"}));
        EXPECT_EQ(fields[5], std::to_string(bytes.size()));
        EXPECT_EQ(fields[15], std::to_string(bytes.size() - 128));
        EXPECT_EQ(fields[19], "4490fbff");
        EXPECT_EQ(fields[21], chkAll);  // only the block scan verifies
    }
}

#include "cli_runner.h"
#include "interop/external_tools.h"
#include "old_rip.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

using clitest::OldRip;

namespace {

using interop::kPython;

struct Probe {
    int status = -1;
    std::string output;
    std::map<std::string, std::string> values;

    // A key the probe did not print never passes for an empty value.
    std::string operator[](const std::string& key) const
    {
        const auto found = values.find(key);
        return found == values.end() ? "<not printed>" : found->second;
    }
};

// Runs fix_probe.py on the file and reads its "key value" lines.
Probe probe(const std::string& path)
{
    const auto run = interop::runProgram({kPython, LIEDKRAM_FIX_PROBE, path});
    Probe result;
    result.output = run.output;
    result.status = run.exitCode;
    std::size_t begin = 0;
    while (begin < result.output.size()) {
        const std::size_t end = result.output.find('\n', begin);
        const std::string line = result.output.substr(begin, end - begin);
        const std::size_t space = line.find(' ');
        if (space != std::string::npos)
            result.values[line.substr(0, space)] = line.substr(space + 1);
        begin = end == std::string::npos ? result.output.size() : end + 1;
    }
    return result;
}

struct Expected {
    const OldRip* rip;
    std::map<std::string, std::string> tag;
    const char* sampleRate;
};

TEST(FixInterop, OtherReadersFindTheTagAndEveryHeaderRepaired)
{
    ASSERT_EQ(std::system((std::string(kPython) + " -c 'import mutagen' 2>/dev/null").c_str()), 0)
        << "mutagen cannot be imported by " << kPython
        << " (Debian package python3-mutagen; scripts/install-packages.sh installs it)";

    const OldRip beatles = clitest::beatlesRip();
    const OldRip nena = clitest::nenaRip();
    testsupport::TempDir music;
    music.write(beatles.name, beatles.bytes);
    music.write(nena.name, nena.bytes);

    // The probe must see what fix is to repair, or its zeros below prove nothing.
    testsupport::TempDir control;
    const std::string unrepaired = control.write(
        "old.mp3",
        testsupport::Bytes(beatles.bytes.begin() + static_cast<std::ptrdiff_t>(beatles.junkSize), beatles.bytes.end()));
    const Probe before = probe(unrepaired);
    ASSERT_EQ(before.status, 0) << before.output;
    EXPECT_EQ(before["frames"], std::to_string(beatles.frameCount)) << before.output;
    EXPECT_EQ(before["copyright_set"], std::to_string(beatles.frameCount)) << before.output;
    EXPECT_EQ(before["original_clear"], std::to_string(beatles.frameCount)) << before.output;
    EXPECT_EQ(before["year"], "0070") << before.output;  // mutagen gives a year four digits

    const clitest::CliRunner cli;
    const clitest::ProgramRun fix = cli.run({"fix", "--rename=yes", music.path()});
    ASSERT_EQ(fix.status, 0) << fix.err;

    const Expected expectations[] = {
        {&beatles,
         {{"title", "Let It Be"},
          {"artist", "The Beatles"},
          {"album", "Let It Be"},
          {"year", "1970"},
          {"comment", "Apple"},
          {"track", "6"},
          {"genre", "Rock"}},
         "44100"},
        {&nena,
         {{"title", "Irgendwie"},
          {"artist", "Nena"},
          {"album", ""},
          {"year", "1984"},
          {"comment", ""},
          {"track", ""},
          {"genre", "Pop"}},
         "22050"},
    };
    for (const Expected& expected : expectations) {
        const OldRip& rip = *expected.rip;
        const Probe after = probe(music.file(rip.repairedName));
        ASSERT_EQ(after.status, 0) << after.output;
        // A new ID3v2.3 tag in front, holding what the ID3v1 tag holds.
        const int front = std::stoi(after["id3v2_size"]);
        EXPECT_GT(front, 10) << after.output;
        EXPECT_EQ(after["id3v2_version"], "2.3.0") << after.output;
        for (const auto& [key, value] : expected.tag)
            EXPECT_EQ(after["v2_" + key], value) << key << "\n" << after.output;
        const std::string size = std::to_string(front + rip.repaired.size());
        EXPECT_EQ(after["size"], size) << after.output;
        // The frame chain runs from behind that tag right up to the one tag at the end.
        EXPECT_EQ(after["frames"], std::to_string(rip.frameCount)) << after.output;
        EXPECT_EQ(after["chain_end"], std::to_string(front + rip.repaired.size() - 128)) << after.output;
        EXPECT_EQ(after["copyright_set"], "0") << after.output;
        EXPECT_EQ(after["original_clear"], "0") << after.output;
        EXPECT_EQ(after["tag_version"], "1.1") << after.output;
        for (const auto& [key, value] : expected.tag)
            EXPECT_EQ(after[key], value) << key << "\n" << after.output;
        EXPECT_EQ(after["mutagen_first_frame"], std::to_string(front)) << after.output;
        EXPECT_EQ(after["mutagen_sample_rate"], expected.sampleRate) << after.output;
    }
}

}  // namespace

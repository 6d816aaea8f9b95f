#include "cli_process.h"
#include "cli_runner.h"
#include "old_rip.h"
#include "platform/replacement_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

using clitest::bytesOf;
using clitest::OldRip;

namespace {

using clitest::CliProcess;

// About 10 MiB of frames: long enough to be killed in every phase.
constexpr int kFrameCount = 25000;
// Kills spread over a whole run, and kills while the new content is written.
constexpr int kSpreadKills = 14;
constexpr int kRewriteKills = 14;
constexpr auto kPollStep = std::chrono::microseconds(200);
// A run that takes this long hangs; the test ends it rather than wait.
constexpr double kHangSeconds = 60.0;

bool exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::set<std::string> namesIn(const std::string& directory)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

struct Timeline {
    double total = 0;  // seconds from the start to the end of the run
    double tempAppears = -1;  // when the temporary file was first seen
    double tempGone = -1;  // when it was seen gone again
};

// fix runs with SetID3V2=0: the cases look at the audio and the ID3v1 tag,
// whose repaired bytes the rip knows.
class FixCrash : public ::testing::Test {
protected:
    std::string target() const { return music_.file(rip_.name); }
    std::string temporary() const { return platform::ReplacementFile::temporaryPathFor(target()); }
    std::string errFile() const { return output_.file("err"); }

    void resetFile()
    {
        std::filesystem::remove(temporary());
        music_.write(rip_.name, rip_.bytes);
    }

    // Runs fix to its end, watching the temporary file come and go.
    Timeline uninterruptedRun()
    {
        Timeline timeline;
        CliProcess fix({"XDG_CONFIG_HOME=" + config_.path(), "XDG_DATA_HOME=" + data_.path()},
                       {"fix", "--set", "SetID3V2=0", "--rename=no", target()}, errFile());
        EXPECT_TRUE(fix.started());
        while (!fix.ended()) {
            if (fix.elapsed() > kHangSeconds) {
                fix.kill();
                ADD_FAILURE() << "fix did not end within " << kHangSeconds << " s";
                break;
            }
            const bool temp = fix.writesUnnamedIn(music_.path()) || exists(temporary());
            if (temp && timeline.tempAppears < 0)
                timeline.tempAppears = fix.elapsed();
            if (!temp && timeline.tempAppears >= 0 && timeline.tempGone < 0)
                timeline.tempGone = fix.elapsed();
            std::this_thread::sleep_for(kPollStep);
        }
        timeline.total = fix.elapsed();
        EXPECT_TRUE(WIFEXITED(fix.status()) && WEXITSTATUS(fix.status()) == 0) << clitest::textOf(errFile());
        return timeline;
    }

    // The file is wholly old or wholly new, and nothing but a temporary
    // file of the known name lies beside it; a run to the end clears that up.
    void checkAfterKill(const std::string& when, int& oldCount, int& newCount, int& tempCount)
    {
        const auto content = bytesOf(target());
        const bool isOld = content == rip_.bytes;
        const bool isNew = content == rip_.repaired;
        EXPECT_TRUE(isOld || isNew) << when << ": the file is neither old nor new (" << content.size() << " bytes)";
        oldCount += isOld ? 1 : 0;
        newCount += isNew ? 1 : 0;

        const std::string tempName = std::filesystem::path(temporary()).filename().string();
        const auto names = namesIn(music_.path());
        const bool withTemp = names == std::set<std::string>{rip_.name, tempName};
        EXPECT_TRUE(withTemp || names == std::set<std::string>{rip_.name}) << when << ": unexpected files";
        if (!withTemp)
            return;
        ++tempCount;
        uninterruptedRun();
        EXPECT_EQ(namesIn(music_.path()), std::set<std::string>{rip_.name}) << when << ": leftover not removed";
        EXPECT_TRUE(bytesOf(target()) == rip_.repaired) << when << ": the next run did not repair the file";
    }

    const OldRip rip_ = clitest::beatlesRip(kFrameCount);
    testsupport::TempDir config_;
    testsupport::TempDir data_;
    testsupport::TempDir output_;
    testsupport::TempDir music_;
};

TEST_F(FixCrash, KilledRunLeavesTheFileWhollyOldOrWhollyNew)
{
    resetFile();
    const Timeline timeline = uninterruptedRun();
    ASSERT_TRUE(bytesOf(target()) == rip_.repaired) << clitest::textOf(errFile());
    ASSERT_EQ(namesIn(music_.path()), std::set<std::string>{rip_.name});
    ASSERT_GE(timeline.tempAppears, 0) << "the rewrite was never seen at work";
    const double rewriteTime = (timeline.tempGone > 0 ? timeline.tempGone : timeline.total) - timeline.tempAppears;

    int oldCount = 0;
    int newCount = 0;
    int tempCount = 0;
    int writingKills = 0;
    for (int i = 0; i < kSpreadKills; ++i) {
        resetFile();
        const double delay = timeline.total * (i + 0.5) / kSpreadKills;
        CliProcess fix({"XDG_CONFIG_HOME=" + config_.path(), "XDG_DATA_HOME=" + data_.path()},
                       {"fix", "--set", "SetID3V2=0", "--rename=no", target()}, errFile());
        ASSERT_TRUE(fix.started());
        while (!fix.ended() && fix.elapsed() < delay)
            std::this_thread::sleep_for(kPollStep);
        fix.kill();
        checkAfterKill("kill at " + std::to_string(delay) + " s", oldCount, newCount, tempCount);
    }
    for (int i = 0; i < kRewriteKills; ++i) {
        resetFile();
        const double delay = rewriteTime * (i + 0.5) / kRewriteKills;
        CliProcess fix({"XDG_CONFIG_HOME=" + config_.path(), "XDG_DATA_HOME=" + data_.path()},
                       {"fix", "--set", "SetID3V2=0", "--rename=no", target()}, errFile());
        ASSERT_TRUE(fix.started());
        while (!fix.ended() && !fix.writesUnnamedIn(music_.path()) && !exists(temporary()) &&
               fix.elapsed() < kHangSeconds)
            std::this_thread::sleep_for(kPollStep);
        const double seen = fix.elapsed();
        while (!fix.ended() && fix.elapsed() < seen + delay)
            std::this_thread::sleep_for(kPollStep);
        writingKills += fix.writesUnnamedIn(music_.path()) ? 1 : 0;
        fix.kill();
        checkAfterKill("kill " + std::to_string(delay) + " s into the rewrite", oldCount, newCount, tempCount);
    }
    // Kills before and during the rewrite are what the test is for; when
    // the kills met none of them, it proved little. (How many land after
    // the rename depends on the machine's load, so that is not required.)
    EXPECT_GT(oldCount, 0);
    EXPECT_GT(writingKills, 0);
    std::cout << "run " << timeline.total << " s, rewrite " << rewriteTime << " s; after the kills: " << oldCount
              << " old (" << writingKills << " killed while writing, " << tempCount << " with a temporary file), "
              << newCount << " new\n";
}

}  // namespace

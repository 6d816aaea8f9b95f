// The price of keeping originals: fix of 300 files with keeping on, beside
// the same fix with keeping off (the journal still written) and without any
// journal, and undo of the 300 files; each the best of a few rounds on fresh
// copies.
#include "autoedit/auto_edit.h"
#include "bench_files.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "history/journal.h"
#include "history/undo.h"
#include "platform/file_system.h"
#include "platform/private_temp_dir.h"
#include "platform/profile.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"
#include "support/test_doubles.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFiles = 300;
constexpr std::size_t kAudioBytes = 1 << 20;
constexpr int kRounds = 5;

// An old rip: junk in front, frames, a tag behind; fix cuts, rewrites every
// header, writes a tag and renames.
bench::Bytes oldRip()
{
    bench::Bytes bytes(1000, 0x11);
    const bench::Bytes audio = bench::musicFrames(kAudioBytes);
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    const bench::Bytes tag = bench::id3v1Tag("", "");
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    return bytes;
}

std::vector<std::string> writeFolder(platform::PrivateTempDir& dir, const std::string& folder, const bench::Bytes& rip)
{
    ::mkdir(dir.file(folder).c_str(), 0700);
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i) {
        paths.push_back(dir.file(folder + "/artist" + std::to_string(i) + " - song.mp3"));
        bench::writeFile(paths.back(), rip);
    }
    ::sync();
    return paths;
}

void fix(const std::vector<std::string>& paths, history::ChangeSet* changes)
{
    for (const std::string& path : paths) {
        CLiedkramEntry entry(path, platform::readRepairSettings());
        if (autoedit::EditEntry(entry, platform::readRepairSettings(), changes) != autoedit::EditStep::Done ||
            entry.m_nFlags != 0)
            throw std::runtime_error("the fix of " + path + " did not complete");
    }
}

int run(testsupport::MemoryProfile&, testsupport::ScriptedPrompter& prompter)
{
    prompter.setFallback(testsupport::ScriptedPrompter::Kind::Progress, platform::Answer::Yes);
    platform::PrivateTempDir dir;
    const bench::Bytes rip = oldRip();
    bench::BestOf noJournal;
    bench::BestOf keepingOff;
    bench::BestOf keepingOn;
    bench::BestOf undo;
    // The disk's latency wanders: the three runs take turns going first,
    // and each starts from a clean folder and an empty journal.
    const auto timeFix = [&](bench::BestOf& best, int journal) {
        const std::string data = dir.file("data");
        const auto paths = writeFolder(dir, "music", rip);
        int number = 0;
        best.time([&] {
            if (journal == 0) {
                fix(paths, nullptr);
                return;
            }
            history::ChangeSet changes(data, "fix", journal == 2);
            fix(paths, &changes);
            number = changes.number();
        });
        if (journal == 2) {
            ::sync();
            const auto set = history::readChangeSet(data, number);
            history::UndoResult result;
            undo.time([&] {
                history::ChangeSet changes(data, "undo", true);
                result = history::undoChangeSet(data, *set, changes);
            });
            if (result.restored.size() != static_cast<std::size_t>(kFiles) || result.leftAlone != 0)
                throw std::runtime_error("the undo did not give back every file");
        }
        std::filesystem::remove_all(dir.file("music"));
        std::filesystem::remove_all(data);
        ::sync();
        prompter.clear();
    };
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < 3; ++turn) {
            const int journal = (round + turn) % 3;
            timeFix(journal == 0 ? noJournal : journal == 1 ? keepingOff : keepingOn, journal);
        }
    }
    const double megabytes = kFiles * static_cast<double>(rip.size()) / 1e6;
    std::printf("%d files of %zu bytes (%.0f MB), best of %d rounds\n", kFiles, rip.size(), megabytes, kRounds);
    std::printf("fix without a journal:     %7.3f s\n", noJournal.seconds());
    std::printf("fix, keeping off:          %7.3f s (baseline)\n", keepingOff.seconds());
    std::printf("fix, keeping originals:    %7.3f s\n", keepingOn.seconds());
    std::printf("undo of the 300 files:     %7.3f s\n", undo.seconds());
    std::printf("ratio keeping on/no journal: %.3f\n", keepingOn.seconds() / noJournal.seconds());
    std::printf("ratio keeping on/off:        %.3f (target <= 1.05: %s)\n", keepingOn.seconds() / keepingOff.seconds(),
                keepingOn.seconds() <= 1.05 * keepingOff.seconds() ? "met" : "missed");
    std::printf("ratio undo/fix:              %.3f (target <= 1: %s)\n", undo.seconds() / keepingOn.seconds(),
                undo.seconds() <= keepingOn.seconds() ? "met" : "missed");
    return 0;
}

}  // namespace

int main()
{
    return bench::runWithSeams("liedkram-bench-undo", run);
}

// Throughput of rewriting a 64 MiB file (front cut and every frame header
// rewritten, into a replacement that is made durable) beside copying the same
// file to a new one and making that durable.

#include "bench_files.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"
#include "support/test_doubles.h"

#include "platform/private_temp_dir.h"

#include "autoedit/rewrite_file.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/profile.h"
#include "platform/prompter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kAudioBytes = 64u << 20;
constexpr std::size_t kJunkBytes = 1000;
constexpr int kRounds = 5;
constexpr double kTargetRatio = 0.7;
constexpr std::size_t kCopyBlock = 1u << 20;

double megabytesPerSecond(std::size_t bytes, double seconds)
{
    return static_cast<double>(bytes) / 1e6 / seconds;
}

void copyDurably(const std::string& from, const std::string& to)
{
    platform::File in(from, platform::File::Mode::Read);
    platform::File out(to, platform::File::Mode::CreateTruncate);
    std::vector<std::uint8_t> block(kCopyBlock);
    for (;;) {
        const std::size_t got = in.read(block);
        if (got == 0)
            break;
        out.write(std::span(block).first(got));
    }
    out.sync();
    out.close();
}

CLiedkramEntry entryFor(const std::string& directory, const std::string& name, std::size_t size)
{
    CLiedkramEntry entry;
    entry.m_szPath = directory;
    entry.m_szFileName = name;
    entry.m_nFileSize = static_cast<int>(size);
    entry.m_nAudioStart = static_cast<int>(kJunkBytes);
    entry.m_nAudioEnd = static_cast<int>(size);
    entry.m_bVerified = 1;
    entry.m_nFrames = static_cast<int>((size - kJunkBytes) / 417);  // the scan counted them
    entry.m_dwHeader = 0x4490FBFF;
    entry.SetCopyright(1);  // differs from every frame: each header is changed
    entry.m_nFlags |= ENTRY_CUT_FRONT;
    return entry;
}

int run(testsupport::ScriptedPrompter& prompter)
{
    platform::PrivateTempDir dir;
    const std::string path = dir.file("rewrite.mp3");
    bench::Bytes bytes(kJunkBytes, 0x11);
    const bench::Bytes audio = bench::musicFrames(kAudioBytes);
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    const std::size_t size = bytes.size();

    bench::BestOf copy;
    bench::BestOf rewrite;
    for (int round = 0; round < kRounds; ++round) {
        bench::writeFile(path, bytes);
        // Both timings start with nothing dirty left from writing the input.
        ::sync();
        copy.time([&] { copyDurably(path, dir.file("copy.mp3")); });
        std::filesystem::remove(dir.file("copy.mp3"));
        ::sync();

        CLiedkramEntry entry = entryFor(dir.path(), "rewrite.mp3", size);
        rewrite.time([&] { autoedit::RewriteFile(entry, platform::readRepairSettings()); });
        if (entry.m_nFlags != 0 || entry.m_nFileSize != static_cast<int>(size - kJunkBytes)) {
            const auto said = prompter.messages();
            throw std::runtime_error("the rewrite did not complete" + (said.empty() ? "" : ": " + said.back()));
        }
    }

    const double copyRate = megabytesPerSecond(size, copy.seconds());
    const double rewriteRate = megabytesPerSecond(size, rewrite.seconds());
    const double ratio = rewriteRate / copyRate;
    std::printf("file: %zu bytes, best of %d rounds\n", size, kRounds);
    std::printf("copy (read+write, fsync):  %8.1f MB/s (baseline)\n", copyRate);
    std::printf("RewriteFile (cut+headers): %8.1f MB/s\n", rewriteRate);
    std::printf("ratio rewrite/copy:        %8.3f (target >= %.2f: %s)\n", ratio, kTargetRatio,
                ratio >= kTargetRatio ? "met" : "NOT met");
    return 0;
}

}  // namespace

int main()
{
    return bench::runWithSeams("liedkram-bench-rewrite",
                               [](testsupport::MemoryProfile& profile, testsupport::ScriptedPrompter& prompter) {
                                   // Only the cut and the headers are measured, no tag.
                                   profile.writeInt("SetID3", 0);
                                   return run(prompter);
                               });
}

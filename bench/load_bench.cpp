// Loading 1,000 small MP3 files as entries (first-header search, ID3v1 tag,
// trailer check, name parsing, block scan), beside opening and reading each
// of them whole.

#include "bench_files.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"
#include "support/test_doubles.h"

#include "platform/private_temp_dir.h"

#include "entry/liedkram_entry.h"
#include "platform/profile.h"
#include "platform/prompter.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 1000;
constexpr std::size_t kAudioBytes = 250000;
constexpr int kRounds = 3;

std::vector<std::string> writeFiles(platform::PrivateTempDir& dir, std::size_t& totalBytes)
{
    const bench::Bytes audio = bench::musicFrames(kAudioBytes);
    std::vector<std::string> paths;
    totalBytes = 0;
    for (int i = 0; i < kFiles; ++i) {
        const std::string artist = "artist " + std::to_string(i);
        const std::string title = "title " + std::to_string(i);
        char track[8];
        std::snprintf(track, sizeof track, "%02d", i % 99 + 1);
        bench::Bytes bytes = audio;
        const bench::Bytes tag = bench::id3v1Tag(title, artist);
        bytes.insert(bytes.end(), tag.begin(), tag.end());
        paths.push_back(dir.file(std::string(track) + " - " + artist + " - " + title + ".mp3"));
        bench::writeFile(paths.back(), bytes);
        totalBytes += bytes.size();
    }
    return paths;
}

int run(testsupport::ScriptedPrompter& prompter)
{
    platform::PrivateTempDir dir;
    std::size_t totalBytes = 0;
    const std::vector<std::string> paths = writeFiles(dir, totalBytes);

    bench::Bytes block(bench::kReadBlock);
    const auto readAll = [&] {
        std::size_t got = 0;
        for (const auto& path : paths)
            got += bench::readWhole(path, block);
        if (got != totalBytes)
            throw std::runtime_error("the files are shorter than written");
    };
    readAll();

    bench::BestOf read;
    bench::BestOf load;
    for (int round = 0; round < kRounds; ++round) {
        read.time(readAll);
        load.time([&] {
            for (const auto& path : paths) {
                const CLiedkramEntry entry(path, platform::readRepairSettings());
                if (entry.m_dwHeader == 0 || entry.m_bVerified != 1)
                    throw std::runtime_error("not loaded: " + path);
            }
        });
    }
    if (!prompter.prompts().empty())
        throw std::runtime_error("loading showed a message: " + prompter.prompts().front().text);

    const double readRate = kFiles / read.seconds();
    const double loadRate = kFiles / load.seconds();
    std::printf("%d files of %zu bytes each, best of %d rounds\n", kFiles, totalBytes / kFiles, kRounds);
    std::printf("open + read() whole:     %8.0f files/s (baseline)\n", readRate);
    std::printf("CLiedkramEntry(path):    %8.0f files/s\n", loadRate);
    std::printf("ratio load/read:         %8.3f\n", loadRate / readRate);
    return 0;
}

}  // namespace

int main()
{
    // Default settings: ChkAll is on, so every file is walked whole.
    return bench::runWithSeams(
        "liedkram-bench-load",
        [](testsupport::MemoryProfile&, testsupport::ScriptedPrompter& prompter) { return run(prompter); });
}

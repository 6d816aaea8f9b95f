// Throughput of the block scan over a 64 MiB file in the page cache, beside
// plain sequential reading of the same file in 16 KiB blocks.

#include "bench_files.h"
#include "stopwatch.h"

#include "platform/private_temp_dir.h"

#include "mpeg/stream_scan.h"
#include "platform/file.h"
#include "platform/profile.h"
#include "platform/prompter.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

constexpr std::size_t kFileBytes = 64u << 20;
constexpr int kRounds = 7;
constexpr double kTargetRatio = 0.85;

double megabytesPerSecond(std::size_t bytes, double seconds)
{
    return static_cast<double>(bytes) / 1e6 / seconds;
}

int run()
{
    platform::PrivateTempDir dir;
    const std::string path = dir.file("scan.mp3");
    const bench::Bytes bytes = bench::musicFrames(kFileBytes);
    bench::writeFile(path, bytes);
    const std::size_t size = bytes.size();
    const int audioEnd = static_cast<int>(size);

    bench::Bytes block(bench::kReadBlock);
    if (bench::readWhole(path, block) != size)
        throw std::runtime_error("the file is shorter than written");

    // The scan reads four blocks at a time; reading the same way shows what
    // the walk itself costs.
    bench::Bytes chunk(4 * bench::kReadBlock);
    bench::BestOf read;
    bench::BestOf readChunks;
    bench::BestOf scan;
    int frames = 0;
    for (int round = 0; round < kRounds; ++round) {
        read.time([&] {
            if (bench::readWhole(path, block) != size)
                throw std::runtime_error("short read");
        });
        readChunks.time([&] {
            if (bench::readWhole(path, chunk) != size)
                throw std::runtime_error("short read");
        });
        scan.time([&] {
            platform::File file(path, platform::File::Mode::Read);
            const auto result = mpeg::scanBlocks(file, 0, audioEnd, "scan.mp3");
            if (!result.started || result.damaged)
                throw std::runtime_error("the scan did not walk the file");
            frames = result.frames;
        });
    }

    const double readRate = megabytesPerSecond(size, read.seconds());
    const double chunkRate = megabytesPerSecond(size, readChunks.seconds());
    const double scanRate = megabytesPerSecond(size, scan.seconds());
    const double ratio = scanRate / readRate;
    std::printf("file: %zu bytes, %d frames counted, best of %d rounds\n", size, frames, kRounds);
    std::printf("read() in 16 KiB blocks: %8.1f MB/s (baseline)\n", readRate);
    std::printf("read() in 64 KiB blocks: %8.1f MB/s (the scan's own reads)\n", chunkRate);
    std::printf("scanBlocks:              %8.1f MB/s\n", scanRate);
    std::printf("ratio scan/read:         %8.3f (target >= %.2f: %s)\n", ratio, kTargetRatio,
                ratio >= kTargetRatio ? "met" : "NOT met");
    std::printf("ratio scan/64 KiB read:  %8.3f\n", scanRate / chunkRate);
    return 0;
}

}  // namespace

int main()
{
    return bench::runWithSeams("liedkram-bench-scan",
                               [](testsupport::MemoryProfile&, testsupport::ScriptedPrompter&) { return run(); });
}

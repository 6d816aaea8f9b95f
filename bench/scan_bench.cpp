// Throughput of the block scan over a 64 MiB file in the page cache, beside
// plain sequential reading of the same file in 16 KiB blocks; then what the
// decoder that judges silence costs: the scan of a large file and of 20,000
// small ones, each with two seconds of silence at both ends (zero frames, and
// frames as lame writes silence), with the decoder and with the filler bytes
// alone.

#include "bench_files.h"
#include "stopwatch.h"

#include "platform/private_temp_dir.h"

#include "mpeg/stream_scan.h"
#include "platform/file.h"
#include "platform/profile.h"
#include "platform/prompter.h"
#include "platform/random_reader.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

constexpr std::size_t kFileBytes = 64u << 20;
constexpr int kRounds = 7;
constexpr double kTargetRatio = 0.85;
constexpr int kSilentFrames = 77;  // two seconds at 128 kbit/s
constexpr std::size_t kSilentFrameBytes = 417;
constexpr int kSmallFiles = 20000;
constexpr std::size_t kSmallMusicBytes = 48000;  // three seconds
constexpr double kDecoderTarget = 1.2;
constexpr int kDecoderRounds = 5;

enum class Silence { ZeroFrames, LameFrames };

// Frames of digital silence: a header and zeros, or as lame writes them, a
// header, side information that codes no bits (global gain 210) and lame's
// 0x55 filler.
bench::Bytes silentFrames(int count, Silence silence)
{
    const bench::Bytes zeroFrame = {0xFF, 0xFB, 0x90, 0x44};
    const bench::Bytes lameFrame = {0xFF, 0xFB, 0x90, 0x64, 0x40, 0x8F, 0xF0, 0x00, 0x00, 0x69, 0x00, 0x00,
                                    0x00, 0x08, 0x00, 0x00, 0x0D, 0x20, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01,
                                    0xA4, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x34, 0x80, 0x00, 0x00, 0x04};
    const bench::Bytes& frame = silence == Silence::ZeroFrames ? zeroFrame : lameFrame;
    bench::Bytes bytes;
    for (int i = 0; i < count; ++i) {
        bytes.insert(bytes.end(), frame.begin(), frame.end());
        bytes.insert(bytes.end(), kSilentFrameBytes - frame.size(), silence == Silence::ZeroFrames ? 0x00 : 0x55);
    }
    return bytes;
}

bench::Bytes quietEnds(std::size_t musicBytes, Silence silence)
{
    bench::Bytes bytes = silentFrames(kSilentFrames, silence);
    const bench::Bytes music = bench::musicFrames(musicBytes);
    bytes.insert(bytes.end(), music.begin(), music.end());
    const bench::Bytes tail = silentFrames(kSilentFrames, silence);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

// Scans the bytes `times` in a row.
void scanRepeatedly(const bench::Bytes& bytes, int times, mpeg::SilenceRule rule)
{
    for (int i = 0; i < times; ++i) {
        platform::MemoryReader reader(bytes);
        const auto result = mpeg::scanBlocks(reader, 0, static_cast<int>(bytes.size()), rule);
        // The front may keep the silent frames whose bytes the first music frame takes its data from.
        const int silenceEnd = kSilentFrames * static_cast<int>(kSilentFrameBytes);
        if (result.audioStart > silenceEnd || result.audioStart < silenceEnd - 2 * static_cast<int>(kSilentFrameBytes))
            throw std::runtime_error("the leading silence was not found");
    }
}

void compareDecoder(const char* what, const bench::Bytes& bytes, int times)
{
    // The rules take turns, so that a busy machine slows both alike.
    bench::BestOf bytesOnly;
    bench::BestOf decoded;
    for (int round = 0; round < kDecoderRounds; ++round) {
        bytesOnly.time([&] { scanRepeatedly(bytes, times, mpeg::SilenceRule::BytesOnly); });
        decoded.time([&] { scanRepeatedly(bytes, times, mpeg::SilenceRule::Decoded); });
    }
    const double ratio = decoded.seconds() / bytesOnly.seconds();
    std::printf("%s, filler bytes alone: %9.1f ms (baseline)\n", what, bytesOnly.seconds() * 1000.0);
    std::printf("%s, with the decoder:   %9.1f ms\n", what, decoded.seconds() * 1000.0);
    std::printf("ratio decoder/bytes:  %8.3f (target <= %.1f: %s)\n", ratio, kDecoderTarget,
                ratio <= kDecoderTarget ? "met" : "NOT met");
}

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
            const auto result = mpeg::scanBlocks(file, 0, audioEnd);
            if (result.outcome != mpeg::ScanOutcome::Music)
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

    compareDecoder("64 MiB file, zero frames", quietEnds(kFileBytes, Silence::ZeroFrames), 1);
    compareDecoder("64 MiB file, lame's silence", quietEnds(kFileBytes, Silence::LameFrames), 1);
    compareDecoder("20000 small files, zero frames", quietEnds(kSmallMusicBytes, Silence::ZeroFrames), kSmallFiles);
    compareDecoder("20000 small files, lame's silence", quietEnds(kSmallMusicBytes, Silence::LameFrames), kSmallFiles);
    return 0;
}

}  // namespace

int main()
{
    return bench::runWithSeams("liedkram-bench-scan",
                               [](testsupport::MemoryProfile&, testsupport::ScriptedPrompter&) { return run(); });
}

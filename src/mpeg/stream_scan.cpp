#include "mpeg/stream_scan.h"

#include "mpeg/frame_header.h"
#include "platform/byte_reader.h"
#include "platform/random_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace mpeg {

namespace {

constexpr int kChunkBlocks = 4;
constexpr int kMinFrameLength = 96;
constexpr int kMaxFrameLength = 1056;
constexpr int kSilentPercent = 80;
// Frames whose header was not found are stepped over two bytes at a time.
constexpr int kMissStep = 2;
constexpr int kMissLength = 2;
// Block 0's judgment of the frame before the first one uses this length.
constexpr int kInitialLastLength = 1000;

bool isFiller(std::uint8_t b)
{
    return b == 0x00 || b == 0xFF || b == 0x55 || b == 0xAA;
}

// What the walk needs of a header word. A constant-bitrate file alternates
// between two words (with and without padding), so one slot for each keeps
// the tables out of the per-frame work.
class FrameFacts {
public:
    struct Facts {
        HeaderWord word = 0;
        int length = kMissLength;  // word 0 is no header
        int kbps = 0;
        double durationMs = 0.0;
    };

    const Facts& of(HeaderWord word)
    {
        Facts& slot = slots_[(word >> 17) & 1];
        if (slot.word != word) {
            slot.word = word;
            const bool accepted = isAcceptedHeader(word);
            slot.length = accepted ? frameLength(word) : kMissLength;
            slot.kbps = accepted ? bitrateKbps(word) : 0;
            slot.durationMs = accepted ? frameDurationMs(word) : 0.0;
        }
        return slot;
    }

private:
    std::array<Facts, 2> slots_{};
};

// Offsets within the audio; 64 bits, so that a frame length added near the
// end of a file of 2^31 - 1 bytes cannot overflow.
using Offset = std::int64_t;

class BlockScan {
public:
    BlockScan(platform::RandomReader& file, int audioStart, int audioEnd, std::string_view fileName)
        : file_(file), start_(audioStart), fileName_(fileName)
    {
        walk_.audioLength = audioEnd - audioStart;
    }

    ScanResult run();

private:
    bool judged(Offset offset) const
    {
        return (offset < kJudgedRegion && !front_.started) || offset > walk_.audioLength - kJudgedRegion;
    }
    int countFiller(int from, int to) const;
    void judge(Offset frameStart, int length);
    void readBlock(Offset blockStart);
    // Returns false when the scan must end at once.
    bool walkBlock(Offset blockStart);
    // Follows the chain through the middle of the file, where frames are only
    // counted, with the running sums kept in registers.
    void countMiddleFrames(const platform::ByteReader& reader, Offset blockStart);
    bool handleMiss(int length, HeaderWord word);
    std::string damageText(int length, HeaderWord word) const;

    platform::RandomReader& file_;
    Offset start_;
    std::string_view fileName_;

    // Four blocks are read at a time: fewer reads, same walk. A block is a
    // window of 16384 bytes and its look-ahead within the chunk.
    struct Blocks {
        std::vector<std::uint8_t> chunk = std::vector<std::uint8_t>(kChunkBlocks * kScanBlockSize + kScanLookAhead);
        Offset chunkStart = -1;  // offset of the chunk's first byte in the audio
        int chunkBytes = 0;  // bytes of the chunk the file filled
        const std::uint8_t* buffer = nullptr;
        int validBytes = 0;  // bytes of the buffer the file filled
    } blocks_;
    FrameFacts facts_;

    // Where the walk along the frame chain is.
    struct Walk {
        Offset audioLength;  // the end of the range walked; shrinks when the end is damaged
        Offset position = 0;
        Offset lastFrame = -1;
        int lastLength = kInitialLastLength;
        int correction = 0;  // -2 while a header two bytes on is tried
        bool resync = false;  // searching byte by byte after damage
        bool ended = false;
    } walk_;

    // The judgment of frames as music or silence, shared by both rules.
    struct Judgment {
        int filler = 0;  // filler bytes of the frame being judged
        int runCounter = 0;  // music judgments in a row
    } judgment_;

    // The front rule: leading silence and damage become front junk.
    struct Front {
        bool started = false;  // three music frames in a row were found
        Offset silenceEnd = 0;
        Offset newFront = 0;
    } front_;

    // The tail rule: trailing silence becomes back junk.
    struct Tail {
        bool open = false;  // a silence run has begun
        Offset newEnd = 0;
    } tail_;

    // What the counted frames add up to.
    struct Sums {
        int frames = 0;
        double timeMs = 0.0;
        double rate = 0.0;  // kbit/s times duration
    } sums_;

    bool damaged_ = false;
    std::string damageMessage_;
};

int BlockScan::countFiller(int from, int to) const
{
    // Bytes the file did not have are not counted, silent or otherwise.
    to = std::min(to, blocks_.validBytes);
    int count = 0;
    for (int i = from; i < to; ++i)
        count += isFiller(blocks_.buffer[i]) ? 1 : 0;
    return count;
}

void BlockScan::judge(Offset frameStart, int length)
{
    const bool silent = judgment_.filler * 100 / length > kSilentPercent;
    const Offset frameEnd = frameStart + length;
    if (frameStart < kJudgedRegion) {
        if (!silent) {
            ++judgment_.runCounter;
            // The front is fixed once the music has started: later silences
            // in a short file are part of the music, not front junk.
            if (judgment_.runCounter > 2 && !front_.started) {
                front_.started = true;
                front_.newFront = front_.silenceEnd;
            }
        } else {
            front_.silenceEnd = frameEnd;
            judgment_.runCounter = 0;
        }
    }
    if (front_.started) {
        if (!silent) {
            ++judgment_.runCounter;
            if (judgment_.runCounter > 2) {
                tail_.newEnd = frameEnd;
                tail_.open = false;
            }
        } else {
            if (!tail_.open)
                tail_.newEnd = frameStart;
            judgment_.runCounter = 0;
            tail_.open = true;
        }
    }
}

void BlockScan::readBlock(Offset blockStart)
{
    if (blocks_.chunkStart < 0 || blockStart >= blocks_.chunkStart + kChunkBlocks * kScanBlockSize) {
        blocks_.chunkStart = blockStart;
        blocks_.chunkBytes = static_cast<int>(file_.readAt(start_ + blockStart, blocks_.chunk));
    }
    const auto offset = static_cast<int>(blockStart - blocks_.chunkStart);
    blocks_.buffer = blocks_.chunk.data() + offset;
    blocks_.validBytes = std::clamp(blocks_.chunkBytes - offset, 0, kScanBlockSize + kScanLookAhead);
}

void BlockScan::countMiddleFrames(const platform::ByteReader& reader, Offset blockStart)
{
    const Offset end =
        std::min({walk_.audioLength, blockStart + kScanBlockSize, walk_.audioLength - kJudgedRegion + 1});
    Offset position = walk_.position;
    int frames = sums_.frames;
    double timeSum = sums_.timeMs;
    double rateSum = sums_.rate;
    while (position < end) {
        const auto at = static_cast<std::size_t>(position - blockStart);
        if (!reader.has(at, 4))
            break;
        const auto& facts = facts_.of(reader.u32le(at));
        if (facts.length < kMinFrameLength || facts.length > kMaxFrameLength)
            break;
        walk_.lastFrame = position;
        ++frames;
        timeSum += facts.durationMs;
        rateSum += facts.kbps * facts.durationMs;
        position += facts.length;
    }
    if (position != walk_.position)
        walk_.resync = false;
    walk_.position = position;
    sums_.frames = frames;
    sums_.timeMs = timeSum;
    sums_.rate = rateSum;
}

bool BlockScan::walkBlock(Offset blockStart)
{
    const platform::ByteReader reader(
        std::span<const std::uint8_t>(blocks_.buffer, static_cast<std::size_t>(blocks_.validBytes)));
    while (walk_.position < walk_.audioLength && walk_.position < blockStart + kScanBlockSize) {
        if (front_.started && walk_.correction == 0 && !judged(walk_.position)) {
            countMiddleFrames(reader, blockStart);
            if (walk_.position >= walk_.audioLength || walk_.position >= blockStart + kScanBlockSize)
                break;
        }
        const auto offset = static_cast<int>(walk_.position - blockStart);
        const auto at = static_cast<std::size_t>(offset);
        // Four bytes the file does not have are no header.
        const HeaderWord word = reader.has(at, 4) ? reader.u32le(at) : 0;
        const auto& facts = facts_.of(word);
        const int length = facts.length + walk_.correction;

        if (length < kMinFrameLength || length > kMaxFrameLength) {
            if (!handleMiss(length, word))
                return false;
            if (walk_.ended)
                return true;
            continue;
        }

        walk_.correction = 0;
        walk_.resync = false;
        walk_.lastFrame = walk_.position;
        if (judged(walk_.position)) {
            walk_.lastLength = length;
            judgment_.filler = countFiller(offset + 2, std::min(offset + length, kScanBlockSize));
            if (offset + length <= kScanBlockSize)
                judge(walk_.position, length);
        }
        if (front_.started) {
            ++sums_.frames;
            sums_.timeMs += facts.durationMs;
            sums_.rate += facts.kbps * facts.durationMs;
        }
        walk_.position += length;
    }
    return true;
}

bool BlockScan::handleMiss(int length, HeaderWord word)
{
    if (walk_.correction == 0 && !walk_.resync) {
        // Some encoders write a frame two bytes longer than its header says:
        // the header two bytes on is measured from here.
        walk_.position += kMissStep;
        walk_.correction = -kMissStep;
    } else if (walk_.lastFrame >= walk_.audioLength - kScanBlockSize) {
        // Garbage behind the last frames: the audio ends at the last good one.
        walk_.audioLength = walk_.lastFrame;
        walk_.ended = true;
    } else if (walk_.position >= kFrontDamageLimit) {
        // Damage in the middle cannot be cut away: the file is listed, not repaired.
        damaged_ = true;
        damageMessage_ = damageText(length, word);
        return false;
    } else if (walk_.resync) {
        // Still searching near the start: what lies in front is front junk.
        ++walk_.position;
        front_.newFront = walk_.position;
    } else {
        // Damage near the start: what was counted before it is junk too, so
        // the sums start again behind the last frame found.
        sums_.timeMs = 0.0;
        sums_.rate = 0.0;
        sums_.frames = 0;
        walk_.position = walk_.lastFrame + 1;
        walk_.correction = 0;
        walk_.resync = true;
    }
    return true;
}

std::string BlockScan::damageText(int length, HeaderWord word) const
{
    char numbers[256];
    std::snprintf(numbers, sizeof numbers, "offset: %x, wert: %x, flen: %x     %i  %i  %i       (%i %i %i)",
                  static_cast<unsigned>(walk_.position), static_cast<unsigned>(word), static_cast<unsigned>(length),
                  coefficientK(word), bitrateKbps(word), sampleRate(word), versionField(word), sampleRateIndex(word),
                  bitrateIndex(word));
    std::string text = "'";
    text.append(fileName_).append("':\tauch nach +2 Mist:\r\n").append(numbers);
    text.append("\r\nwird trotzdem gelistet (Frameanz+Zeit falsch)");
    return text;
}

ScanResult BlockScan::run()
{
    for (Offset blockStart = 0; blockStart < walk_.audioLength && !walk_.ended; blockStart += kScanBlockSize) {
        readBlock(blockStart);
        if (walk_.lastFrame < blockStart && judged(walk_.lastFrame)) {
            judgment_.filler += countFiller(0, static_cast<int>(walk_.position - blockStart));
            judge(walk_.lastFrame, walk_.lastLength);
        }
        if (!walkBlock(blockStart))
            break;
    }

    ScanResult result;
    const Offset length = std::min(walk_.audioLength, tail_.newEnd);
    result.audioEnd = static_cast<int>(start_ + length);
    result.audioStart = static_cast<int>(start_ + front_.newFront);
    result.lengthMs = static_cast<int>(sums_.timeMs);
    result.bitrate = sums_.timeMs > 0.0 ? static_cast<int>(sums_.rate * 1000.0 / sums_.timeMs + 0.5) : 0;
    result.frames = sums_.frames;
    result.started = front_.started;
    result.damaged = damaged_;
    result.damageMessage = damageMessage_;
    return result;
}

}  // namespace

ScanResult scanBlocks(platform::RandomReader& file, int audioStart, int audioEnd, std::string_view fileName)
{
    BlockScan scan(file, audioStart, audioEnd, fileName);
    return scan.run();
}

}  // namespace mpeg

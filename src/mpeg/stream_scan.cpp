#include "mpeg/stream_scan.h"

#include "mpeg/frame_header.h"
#include "platform/byte_reader.h"
#include "platform/file.h"

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
    BlockScan(platform::File& file, int audioStart, int audioEnd, std::string_view fileName)
        : file_(file), start_(audioStart), audioLength_(audioEnd - audioStart), fileName_(fileName)
    {
    }

    ScanResult run();

private:
    bool judged(Offset offset) const
    {
        return (offset < kJudgedRegion && !started_) || offset > audioLength_ - kJudgedRegion;
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

    platform::File& file_;
    Offset start_;
    Offset audioLength_;
    std::string_view fileName_;

    // Four blocks are read at a time: fewer reads, same walk. A block is a
    // window of 16384 bytes and its look-ahead within the chunk.
    std::vector<std::uint8_t> chunk_ = std::vector<std::uint8_t>(kChunkBlocks * kScanBlockSize + kScanLookAhead);
    Offset chunkStart_ = -1;  // offset of the chunk's first byte in the audio
    int chunkBytes_ = 0;    // bytes of the chunk the file filled
    const std::uint8_t* buffer_ = nullptr;
    FrameFacts facts_;
    int validBytes_ = 0;  // bytes of the buffer the file filled

    Offset position_ = 0;
    Offset lastFrame_ = -1;
    int lastLength_ = kInitialLastLength;
    int correction_ = 0;
    bool resync_ = false;
    int filler_ = 0;
    int runCounter_ = 0;
    bool started_ = false;
    Offset silenceEnd_ = 0;
    bool tailOpen_ = false;
    Offset newFront_ = 0;
    Offset newEnd_ = 0;
    int frames_ = 0;
    double timeSum_ = 0.0;
    double rateSum_ = 0.0;
    bool damaged_ = false;
    std::string damageMessage_;
    bool walkEnded_ = false;
};

int BlockScan::countFiller(int from, int to) const
{
    // Bytes the file did not have are not counted, silent or otherwise.
    to = std::min(to, validBytes_);
    int count = 0;
    for (int i = from; i < to; ++i)
        count += isFiller(buffer_[i]) ? 1 : 0;
    return count;
}

void BlockScan::judge(Offset frameStart, int length)
{
    const bool silent = filler_ * 100 / length > kSilentPercent;
    const Offset frameEnd = frameStart + length;
    if (frameStart < kJudgedRegion) {
        if (!silent) {
            ++runCounter_;
            // The front is fixed once the music has started: later silences
            // in a short file are part of the music, not front junk.
            if (runCounter_ > 2 && !started_) {
                started_ = true;
                newFront_ = silenceEnd_;
            }
        } else {
            silenceEnd_ = frameEnd;
            runCounter_ = 0;
        }
    }
    if (started_) {
        if (!silent) {
            ++runCounter_;
            if (runCounter_ > 2) {
                newEnd_ = frameEnd;
                tailOpen_ = false;
            }
        } else {
            if (!tailOpen_)
                newEnd_ = frameStart;
            runCounter_ = 0;
            tailOpen_ = true;
        }
    }
}

void BlockScan::readBlock(Offset blockStart)
{
    if (chunkStart_ < 0 || blockStart >= chunkStart_ + kChunkBlocks * kScanBlockSize) {
        chunkStart_ = blockStart;
        chunkBytes_ = static_cast<int>(file_.readAt(start_ + blockStart, chunk_));
    }
    const auto offset = static_cast<int>(blockStart - chunkStart_);
    buffer_ = chunk_.data() + offset;
    validBytes_ = std::clamp(chunkBytes_ - offset, 0, kScanBlockSize + kScanLookAhead);
}

void BlockScan::countMiddleFrames(const platform::ByteReader& reader, Offset blockStart)
{
    const Offset end = std::min({audioLength_, blockStart + kScanBlockSize, audioLength_ - kJudgedRegion + 1});
    Offset position = position_;
    int frames = frames_;
    double timeSum = timeSum_;
    double rateSum = rateSum_;
    while (position < end) {
        const auto at = static_cast<std::size_t>(position - blockStart);
        if (!reader.has(at, 4))
            break;
        const auto& facts = facts_.of(reader.u32le(at));
        if (facts.length < kMinFrameLength || facts.length > kMaxFrameLength)
            break;
        lastFrame_ = position;
        ++frames;
        timeSum += facts.durationMs;
        rateSum += facts.kbps * facts.durationMs;
        position += facts.length;
    }
    if (position != position_)
        resync_ = false;
    position_ = position;
    frames_ = frames;
    timeSum_ = timeSum;
    rateSum_ = rateSum;
}

bool BlockScan::walkBlock(Offset blockStart)
{
    const platform::ByteReader reader(std::span<const std::uint8_t>(buffer_, static_cast<std::size_t>(validBytes_)));
    while (position_ < audioLength_ && position_ < blockStart + kScanBlockSize) {
        if (started_ && correction_ == 0 && !judged(position_)) {
            countMiddleFrames(reader, blockStart);
            if (position_ >= audioLength_ || position_ >= blockStart + kScanBlockSize)
                break;
        }
        const auto offset = static_cast<int>(position_ - blockStart);
        const auto at = static_cast<std::size_t>(offset);
        // Four bytes the file does not have are no header.
        const HeaderWord word = reader.has(at, 4) ? reader.u32le(at) : 0;
        const auto& facts = facts_.of(word);
        const int length = facts.length + correction_;

        if (length < kMinFrameLength || length > kMaxFrameLength) {
            if (!handleMiss(length, word))
                return false;
            if (walkEnded_)
                return true;
            continue;
        }

        correction_ = 0;
        resync_ = false;
        lastFrame_ = position_;
        if (judged(position_)) {
            lastLength_ = length;
            filler_ = countFiller(offset + 2, std::min(offset + length, kScanBlockSize));
            if (offset + length <= kScanBlockSize)
                judge(position_, length);
        }
        if (started_) {
            ++frames_;
            timeSum_ += facts.durationMs;
            rateSum_ += facts.kbps * facts.durationMs;
        }
        position_ += length;
    }
    return true;
}

bool BlockScan::handleMiss(int length, HeaderWord word)
{
    if (correction_ == 0 && !resync_) {
        position_ += kMissStep;
        correction_ = -kMissStep;
    } else if (lastFrame_ >= audioLength_ - kScanBlockSize) {
        audioLength_ = lastFrame_;
        walkEnded_ = true;
    } else if (position_ >= kFrontDamageLimit) {
        damaged_ = true;
        damageMessage_ = damageText(length, word);
        return false;
    } else if (resync_) {
        ++position_;
        newFront_ = position_;
    } else {
        timeSum_ = 0.0;
        rateSum_ = 0.0;
        frames_ = 0;
        position_ = lastFrame_ + 1;
        correction_ = 0;
        resync_ = true;
    }
    return true;
}

std::string BlockScan::damageText(int length, HeaderWord word) const
{
    char numbers[256];
    std::snprintf(numbers, sizeof numbers,
                  "offset: %x, wert: %x, flen: %x     %i  %i  %i       (%i %i %i)", static_cast<unsigned>(position_),
                  static_cast<unsigned>(word), static_cast<unsigned>(length), coefficientK(word), bitrateKbps(word),
                  sampleRate(word), versionField(word), sampleRateIndex(word), bitrateIndex(word));
    std::string text = "'";
    text.append(fileName_).append("':\tauch nach +2 Mist:\r\n").append(numbers);
    text.append("\r\nwird trotzdem gelistet (Frameanz+Zeit falsch)");
    return text;
}

ScanResult BlockScan::run()
{
    for (Offset blockStart = 0; blockStart < audioLength_ && !walkEnded_; blockStart += kScanBlockSize) {
        readBlock(blockStart);
        if (lastFrame_ < blockStart && judged(lastFrame_)) {
            filler_ += countFiller(0, static_cast<int>(position_ - blockStart));
            judge(lastFrame_, lastLength_);
        }
        if (!walkBlock(blockStart))
            break;
    }

    ScanResult result;
    const Offset length = std::min(audioLength_, newEnd_);
    result.audioEnd = static_cast<int>(start_ + length);
    result.audioStart = static_cast<int>(start_ + newFront_);
    result.lengthMs = static_cast<int>(timeSum_);
    result.bitrate = timeSum_ > 0.0 ? static_cast<int>(rateSum_ * 1000.0 / timeSum_ + 0.5) : 0;
    result.frames = frames_;
    result.started = started_;
    result.damaged = damaged_;
    result.damageMessage = damageMessage_;
    return result;
}

}  // namespace

ScanResult scanBlocks(platform::File& file, int audioStart, int audioEnd, std::string_view fileName)
{
    BlockScan scan(file, audioStart, audioEnd, fileName);
    return scan.run();
}

}  // namespace mpeg

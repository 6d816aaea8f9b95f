#include "mpeg/stream_scan.h"

#include "mpeg/frame_decoder.h"
#include "mpeg/frame_header.h"
#include "mpeg/frame_walk.h"
#include "mpeg/silence_check.h"
#include "mpeg/vbr_header.h"
#include "platform/byte_reader.h"
#include "platform/random_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <vector>

namespace mpeg {

namespace {

constexpr int kChunkBlocks = 4;
// Bytes read behind each block, so that a frame that starts in it is seen
// whole together with the header behind it.
constexpr int kLookAhead = static_cast<int>(kFollowBytes) + 4;
constexpr int kSilentPercent = 80;
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
        int length = 0;  // 0: no accepted header (word 0 is none)
        int kbps = 0;
        double durationMs = 0.0;
    };

    const Facts& of(HeaderWord word)
    {
        Facts& slot = slots_[(word >> 17) & 1];
        if (slot.word != word) {
            slot.word = word;
            slot.length = acceptedFrameLength(word);
            slot.kbps = slot.length > 0 ? bitrateKbps(word) : 0;
            slot.durationMs = slot.length > 0 ? frameDurationMs(word) : 0.0;
        }
        return slot;
    }

private:
    std::array<Facts, 2> slots_{};
};

// Offsets within the audio; 64 bits, so that a frame length added near the
// end of a file of 2^31 - 1 bytes cannot overflow.
using Offset = std::int64_t;

struct Sums {
    int frames = 0;
    double timeMs = 0.0;
    double rate = 0.0;  // kbit/s times duration
};

class BlockScan {
public:
    BlockScan(platform::RandomReader& file, int audioStart, int audioEnd, SilenceRule rule)
        : file_(file), start_(audioStart), rule_(rule)
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
    void walkBlock(Offset blockStart);
    void skipVbrHeader(std::span<const std::uint8_t> view);
    // Follows the chain through the middle of the file, where frames are only
    // counted, with the running sums kept in registers.
    void countMiddleFrames(const platform::ByteReader& reader, Offset blockStart);
    void acceptFrame(const FrameFacts::Facts& facts, int offset);
    void handleMiss(const platform::ByteReader& reader, int offset);
    void record(Offset at, int length, HeaderWord word, int offset);
    Sums sumsBefore(Offset boundary) const;
    void settleByDecoding(Offset& front, Offset& end);

    platform::RandomReader& file_;
    Offset start_;
    SilenceRule rule_;

    // Four blocks are read at a time: fewer reads, same walk. A block is a
    // window of 16384 bytes and its look-ahead within the chunk.
    struct Blocks {
        // Not zeroed first: only the bytes the file filled are ever read,
        // and zeroing cost small files as much as walking them.
        static constexpr std::size_t kChunkSize = kChunkBlocks * kScanBlockSize + kLookAhead;
        std::unique_ptr<std::uint8_t[]> chunk = std::make_unique_for_overwrite<std::uint8_t[]>(kChunkSize);
        Offset chunkStart = -1;  // offset of the chunk's first byte in the audio
        int chunkBytes = 0;  // bytes of the chunk the file filled
        const std::uint8_t* buffer = nullptr;
        int validBytes = 0;  // bytes of the buffer the file filled
    } blocks_;
    FrameFacts facts_;

    // Where the walk along the frame chain is.
    struct Walk {
        Offset audioLength;  // the end of the range walked; shrinks where the frames end
        Offset position = 0;
        Offset lastFrame = -1;
        Offset lastFrameEnd = 0;
        int lastLength = kInitialLastLength;
        bool resync = false;  // searching byte by byte after damage
        bool ended = false;
    } walk_;

    // The judgment of frames as music or silence, shared by both rules.
    struct Judgment {
        int filler = 0;  // filler bytes of the frame being judged
        int runCounter = 0;  // music judgments in a row
    } judgment_;

    // The front rule: leading silence and damage before the music become front junk.
    struct Front {
        bool started = false;  // three music frames in a row were found
        Offset silenceEnd = 0;
        Offset behindDamage = 0;  // where the frames went on behind the last damage
        Offset newFront = 0;
        std::vector<WalkedFrame> frames;  // judged before the music, since the last damage
    } front_;

    // The tail rule: trailing silence becomes back junk.
    struct Tail {
        bool open = false;  // a silence run has begun
        Offset newEnd = 0;
        std::vector<WalkedFrame> frames;  // of the end region
    } tail_;

    // What the audio frames walked add up to.
    Sums sums_;

    Offset vbrEnd_ = 0;  // behind the Xing, Info or VBRI frame
    std::optional<FrameDamage> damage_;
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
                front_.newFront = std::max(front_.silenceEnd, front_.behindDamage);
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
        blocks_.chunkBytes =
            static_cast<int>(file_.readAt(start_ + blockStart, std::span(blocks_.chunk.get(), Blocks::kChunkSize)));
    }
    const auto offset = static_cast<int>(blockStart - blocks_.chunkStart);
    blocks_.buffer = blocks_.chunk.get() + offset;
    blocks_.validBytes = std::clamp(blocks_.chunkBytes - offset, 0, kScanBlockSize + kLookAhead);
}

void BlockScan::record(Offset at, int length, HeaderWord word, int offset)
{
    WalkedFrame frame{at, length, word, sums_.frames, sums_.timeMs, sums_.rate, {}};
    if (rule_ == SilenceRule::Decoded) {
        // A frame starts within its block, and the look-ahead holds the
        // longest frame: all of it is at hand but where the file ends.
        const auto inBlock =
            std::span<const std::uint8_t>(blocks_.buffer, static_cast<std::size_t>(blocks_.validBytes));
        const auto from = std::min(static_cast<std::size_t>(offset), inBlock.size());
        const auto bytes = inBlock.subspan(from, std::min(inBlock.size() - from, static_cast<std::size_t>(length)));
        frame.content = frameContent(bytes, word);
    }
    if (!front_.started && at < kJudgedRegion)
        front_.frames.push_back(frame);
    if (at > walk_.audioLength - kJudgedRegion)
        tail_.frames.push_back(frame);
}

void BlockScan::countMiddleFrames(const platform::ByteReader& reader, Offset blockStart)
{
    const Offset end =
        std::min({walk_.audioLength, blockStart + kScanBlockSize, walk_.audioLength - kJudgedRegion + 1});
    Offset position = walk_.position;
    Offset lastFrame = walk_.lastFrame;
    int frames = sums_.frames;
    double timeSum = sums_.timeMs;
    double rateSum = sums_.rate;
    while (position < end) {
        const auto at = static_cast<std::size_t>(position - blockStart);
        if (!reader.has(at, 4))
            break;
        const auto& facts = facts_.of(reader.u32le(at));
        if (facts.length == 0)
            break;
        lastFrame = position;
        ++frames;
        timeSum += facts.durationMs;
        rateSum += facts.kbps * facts.durationMs;
        position += facts.length;
    }
    if (position != walk_.position) {
        walk_.lastFrame = lastFrame;
        walk_.lastFrameEnd = position;
    }
    walk_.position = position;
    sums_.frames = frames;
    sums_.timeMs = timeSum;
    sums_.rate = rateSum;
}

void BlockScan::skipVbrHeader(std::span<const std::uint8_t> view)
{
    // The header frame is no audio: never counted, never judged, never junk.
    const platform::ByteReader reader(view);
    if (!reader.has(0, 4))
        return;
    const int length = acceptedFrameLength(reader.u32le(0));
    if (length == 0 || static_cast<std::size_t>(length) > view.size() || !findVbrHeader(view.first(length)))
        return;
    walk_.lastFrame = 0;
    walk_.lastFrameEnd = length;
    walk_.position = length;
    vbrEnd_ = length;
}

void BlockScan::acceptFrame(const FrameFacts::Facts& facts, int offset)
{
    const int length = facts.length;
    walk_.lastFrame = walk_.position;
    walk_.lastFrameEnd = walk_.position + length;
    if (judged(walk_.position)) {
        record(walk_.position, length, facts.word, offset);
        walk_.lastLength = length;
        judgment_.filler = countFiller(offset + 2, std::min(offset + length, kScanBlockSize));
        if (offset + length <= kScanBlockSize)
            judge(walk_.position, length);
    }
    ++sums_.frames;
    sums_.timeMs += facts.durationMs;
    sums_.rate += facts.kbps * facts.durationMs;
    walk_.position += length;
}

void BlockScan::walkBlock(Offset blockStart)
{
    // The bytes of this block and its look-ahead that belong to the audio.
    const auto inAudio = static_cast<std::size_t>(
        std::clamp<Offset>(walk_.audioLength - blockStart, 0, static_cast<Offset>(blocks_.validBytes)));
    const auto view = std::span<const std::uint8_t>(blocks_.buffer, inAudio);
    const bool reachesEnd = blockStart + static_cast<Offset>(inAudio) == walk_.audioLength;
    const platform::ByteReader reader(view);
    if (blockStart == 0 && walk_.position == 0)
        skipVbrHeader(view);
    while (!walk_.ended && walk_.position < walk_.audioLength && walk_.position < blockStart + kScanBlockSize) {
        if (front_.started && !walk_.resync && !judged(walk_.position)) {
            countMiddleFrames(reader, blockStart);
            if (walk_.position >= walk_.audioLength || walk_.position >= blockStart + kScanBlockSize)
                break;
        }
        const auto offset = static_cast<int>(walk_.position - blockStart);
        const auto at = static_cast<std::size_t>(offset);
        // Four bytes the file does not have are no header.
        const HeaderWord word = reader.has(at, 4) ? reader.u32le(at) : 0;
        const auto& facts = facts_.of(word);

        if (walk_.resync) {
            if (facts.length == 0 || !beginsFollowedFrame(view, at, reachesEnd)) {
                ++walk_.position;
                if (!front_.started)
                    front_.behindDamage = walk_.position;
                if (walk_.position >= walk_.audioLength) {
                    // Nothing follows the damage: the audio ends behind the last good frame.
                    walk_.audioLength = std::max<Offset>(walk_.lastFrameEnd, 0);
                    walk_.ended = true;
                }
                continue;
            }
            walk_.resync = false;
        }
        if (facts.length == 0) {
            handleMiss(reader, offset);
            continue;
        }
        if (walk_.position + facts.length > walk_.audioLength) {
            // A frame cut short by the end of the file is no audio.
            walk_.audioLength = walk_.position;
            walk_.ended = true;
            break;
        }
        acceptFrame(facts, offset);
    }
}

void BlockScan::handleMiss(const platform::ByteReader& reader, int offset)
{
    const auto at = static_cast<std::size_t>(offset);
    const HeaderWord slipped = reader.has(at + kFrameSlip, 4) ? reader.u32le(at + kFrameSlip) : 0;
    if (walk_.position == walk_.lastFrameEnd && walk_.lastFrame >= 0 && acceptedFrameLength(slipped) > 0) {
        // The frame before was two bytes longer than its header says.
        walk_.position += kFrameSlip;
        walk_.lastFrameEnd = walk_.position;
        return;
    }
    const Offset spot = walk_.position + kFrameSlip;
    const bool nearEnd = walk_.lastFrame >= walk_.audioLength - kScanBlockSize;
    if (walk_.position >= kFrontDamageLimit && !nearEnd && !damage_) {
        // Damage in the middle cannot be cut away: the file is listed, not
        // repaired, and the walk takes up the frames behind it.
        damage_ = FrameDamage{spot, slipped, acceptedFrameLength(slipped)};
    }
    walk_.resync = true;
    if (!front_.started && walk_.position < kFrontDamageLimit) {
        // Damage in front of the music: what lies before it is front junk,
        // the frame before it perhaps a header-like pattern in junk.
        walk_.position = walk_.lastFrame + 1;
        front_.behindDamage = walk_.position;
        front_.frames.clear();
    }
}

Sums BlockScan::sumsBefore(Offset boundary) const
{
    if (boundary >= walk_.audioLength)
        return sums_;
    for (const auto* frames : {&front_.frames, &tail_.frames}) {
        for (const WalkedFrame& frame : *frames) {
            if (frame.offset == boundary)
                return {frame.framesBefore, frame.msBefore, frame.rateBefore};
            if (frame.offset + frame.length == boundary) {
                const double ms = frameDurationMs(frame.word);
                return {frame.framesBefore + 1, frame.msBefore + ms, frame.rateBefore + bitrateKbps(frame.word) * ms};
            }
        }
    }
    return {};
}

void BlockScan::settleByDecoding(Offset& front, Offset& end)
{
    const bool frontCut = !front_.frames.empty() && front > front_.frames.front().offset;
    const bool endCut = end < walk_.audioLength;
    if (!frontCut && !endCut)
        return;
    // Making a decoder costs more than judging a small file's silence; each
    // judgment starts its stream afresh, so one per thread serves every scan.
    thread_local FrameDecoder decoder;
    if (frontCut)
        front = audibleFront(file_, start_, front_.frames, front, decoder);
    if (endCut)
        end = audibleEnd(file_, start_, tail_.frames, end, walk_.audioLength, decoder);
}

ScanResult BlockScan::run()
{
    for (Offset blockStart = 0; blockStart < walk_.audioLength && !walk_.ended; blockStart += kScanBlockSize) {
        readBlock(blockStart);
        if (walk_.lastFrame < blockStart && judged(walk_.lastFrame)) {
            judgment_.filler +=
                countFiller(0, static_cast<int>(std::min<Offset>(walk_.position - blockStart, kScanBlockSize)));
            judge(walk_.lastFrame, walk_.lastLength);
        }
        walkBlock(blockStart);
    }

    ScanResult result;
    result.damage = damage_;
    Offset front = front_.newFront;
    Offset end = std::min(walk_.audioLength, tail_.newEnd);
    if (!front_.started)
        return result;
    if (rule_ == SilenceRule::Decoded)
        settleByDecoding(front, end);
    // Nothing cut behind the header frame: it stays the first frame of the audio.
    if (front <= vbrEnd_)
        front = 0;
    end = std::max(end, front);
    const Sums before = sumsBefore(front);
    const Sums through = sumsBefore(end);
    const Sums audio{through.frames - before.frames, through.timeMs - before.timeMs, through.rate - before.rate};
    result.audioStart = static_cast<int>(start_ + front);
    result.audioEnd = static_cast<int>(start_ + end);
    result.lengthMs = static_cast<int>(audio.timeMs + 1e-6);
    result.bitrate = audio.timeMs > 0.0 ? static_cast<int>(std::lround(audio.rate * 1000.0 / audio.timeMs)) : 0;
    result.frames = audio.frames;
    if (result.frames > 0 && result.audioStart <= result.audioEnd)
        result.outcome = damage_ ? ScanOutcome::Damaged : ScanOutcome::Music;
    return result;
}

}  // namespace

ScanResult scanBlocks(platform::RandomReader& file, int audioStart, int audioEnd, SilenceRule rule)
{
    BlockScan scan(file, audioStart, audioEnd, rule);
    return scan.run();
}

}  // namespace mpeg

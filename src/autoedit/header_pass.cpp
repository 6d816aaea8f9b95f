#include "autoedit/header_pass.h"

#include "mpeg/frame_crc.h"
#include "mpeg/frame_damage.h"
#include "mpeg/frame_walk.h"
#include "platform/byte_reader.h"
#include "platform/file.h"
#include "platform/prompter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace autoedit {

namespace {

constexpr std::int64_t kChunkSize = 1 << 20;
// Behind each chunk: enough for a frame that starts in its last byte and the
// header behind it, and for the check word and the side information a CRC
// covers.
constexpr int kLookAhead = static_cast<int>(mpeg::kFollowBytes + mpeg::kCrcSize) + 32;
constexpr mpeg::HeaderWord kFlagBits = (1u << 26) | (1u << 27);

// Puts the bits into the header at the start of bytes; a CRC-protected frame
// gets its check word changed with it, where bytes hold what it covers.
void putBits(std::span<std::uint8_t> bytes, mpeg::HeaderWord word, mpeg::HeaderWord bits)
{
    const mpeg::HeaderWord changed = (word & ~kFlagBits) | bits;
    if (changed == word)
        return;
    const bool checked = mpeg::protectionBit(word) == 0;
    const std::size_t side = mpeg::sideInformationSize(word);
    if (checked && side == 0)
        return;
    const std::size_t needed = checked ? 4 + mpeg::kCrcSize + side : 4;
    if (needed > bytes.size())
        return;
    const auto header = mpeg::headerBytes(changed);
    std::copy(header.begin(), header.end(), bytes.begin());
    if (checked)
        mpeg::updateFrameCrc(bytes.first(needed), word, changed);
}

// Walks the frame chain over the audio chunk by chunk; t and the correction
// carry over from chunk to chunk.
class HeaderWalk {
public:
    // With changeBits, the bits of bitsFrom go into every header; with
    // offsets, the offset of every frame is noted there.
    HeaderWalk(std::int64_t audioLength, bool changeBits, mpeg::HeaderWord bitsFrom, std::vector<std::int64_t>* offsets)
        : audioLength_(audioLength), changeBits_(changeBits), bits_(bitsFrom & kFlagBits), offsets_(offsets)
    {
    }

    // buffer holds the chunk at audio offset k and the bytes behind it that
    // the file has; chunkLength of them belong to the chunk.
    void walk(std::span<std::uint8_t> buffer, std::int64_t k, std::int64_t chunkLength)
    {
        // Only the audio's bytes; what lies behind it is no frame.
        const auto inAudio = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), audioLength_ - k));
        const auto view = std::span<const std::uint8_t>(buffer.data(), inAudio);
        const bool reachesEnd = k + static_cast<std::int64_t>(inAudio) == audioLength_;
        const platform::ByteReader reader(view);
        while (!stopped_ && t_ - k < chunkLength && t_ < audioLength_) {
            const auto at = static_cast<std::size_t>(t_ - k);
            const mpeg::HeaderWord word = reader.has(at, 4) ? reader.u32le(at) : 0;
            const int length = mpeg::acceptedFrameLength(word);
            if (resync_) {
                // Stray bytes between frames: the walk goes on behind them, as the scan does.
                if (length == 0 || !mpeg::beginsFollowedFrame(view, at, reachesEnd)) {
                    ++t_;
                    continue;
                }
                resync_ = false;
            }
            if (length > 0 && t_ + length <= audioLength_) {
                change(buffer, at, word);
                t_ += length;
                lastEnd_ = t_;
                continue;
            }
            const bool slipped = reader.has(at + mpeg::kFrameSlip, 4) &&
                                 mpeg::acceptedFrameLength(reader.u32le(at + mpeg::kFrameSlip)) > 0;
            if (t_ == lastEnd_ && t_ > 0 && slipped) {
                // The frame before was two bytes longer than its header says.
                t_ += mpeg::kFrameSlip;
                lastEnd_ = t_;
            } else if (length > 0) {
                // A frame cut short by the end of the audio is not the audio's.
                stopped_ = true;
            } else {
                if (!resync_) {
                    spot_ = t_ + mpeg::kFrameSlip;
                    spotWord_ = reader.has(at + mpeg::kFrameSlip, 4) ? reader.u32le(at + mpeg::kFrameSlip) : 0;
                }
                resync_ = true;
            }
        }
    }

    // Frames that could not be taken up again behind damage are reported once.
    void finish() const
    {
        if (resync_)
            platform::prompter().showMessage(mpeg::repairDamageText({spot_, spotWord_, 0}));
    }

private:
    void change(std::span<std::uint8_t> buffer, std::size_t at, mpeg::HeaderWord word) const
    {
        if (offsets_)
            offsets_->push_back(t_);
        if (changeBits_) {
            // What reaches over the end of the audio is not the audio's to change.
            const auto room = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size() - at), audioLength_ - t_));
            putBits(buffer.subspan(at, room), word, bits_);
        }
    }

    std::int64_t audioLength_;
    bool changeBits_;
    mpeg::HeaderWord bits_;
    std::vector<std::int64_t>* offsets_;
    std::int64_t t_ = 0;
    std::int64_t lastEnd_ = 0;
    bool resync_ = false;
    std::int64_t spot_ = 0;
    mpeg::HeaderWord spotWord_ = 0;
    bool stopped_ = false;
};

}  // namespace

void copyBytes(platform::File& in, platform::ByteSink& out, std::int64_t offset, std::int64_t length)
{
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(length, kChunkSize)));
    for (std::int64_t done = 0; done < length;) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kChunkSize, length - done));
        const auto part = std::span(buffer).first(count);
        in.readExactAt(offset + done, part);
        out.write(part);
        done += static_cast<std::int64_t>(count);
    }
}

namespace {

// Reads the audio chunk by chunk, walks its frames and writes each chunk to
// out (when given) as the walk left it.
void walkAudio(platform::File& in, platform::ByteSink* out, std::int64_t start, std::int64_t end, HeaderWalk& walk)
{
    const std::int64_t audioLength = end - start;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(kChunkSize, audioLength) + kLookAhead));
    std::array<std::uint8_t, kLookAhead> carried{};
    std::size_t carriedCount = 0;
    for (std::int64_t k = 0; k < audioLength; k += kChunkSize) {
        const std::int64_t chunkLength = std::min(kChunkSize, audioLength - k);
        const auto chunk = std::span(buffer).first(static_cast<std::size_t>(chunkLength));
        in.readExactAt(start + k, chunk);
        // Header bytes changed in the previous chunk's look-ahead belong here.
        std::copy_n(carried.begin(), std::min<std::size_t>(carriedCount, chunk.size()), chunk.begin());
        const std::size_t behind =
            in.readAt(start + k + chunkLength, std::span(buffer).subspan(chunk.size(), kLookAhead));
        walk.walk(std::span(buffer).first(chunk.size() + behind), k, chunkLength);
        if (out)
            out->write(chunk);
        carriedCount = std::min<std::size_t>(behind, kLookAhead);
        std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(chunk.size()), carriedCount, carried.begin());
    }
}

}  // namespace

void copyAudio(platform::File& in, platform::ByteSink& out, std::int64_t start, std::int64_t end, bool rewriteHeaders,
               mpeg::HeaderWord bitsFrom)
{
    if (!rewriteHeaders) {
        copyBytes(in, out, start, end - start);
        return;
    }
    HeaderWalk walk(end - start, true, bitsFrom, nullptr);
    walkAudio(in, &out, start, end, walk);
    walk.finish();
}

std::vector<std::int64_t> frameOffsets(platform::File& in, std::int64_t start, std::int64_t end)
{
    std::vector<std::int64_t> offsets;
    HeaderWalk walk(end - start, false, 0, &offsets);
    walkAudio(in, nullptr, start, end, walk);
    return offsets;
}

void putHeaderBits(std::span<std::uint8_t> frame, mpeg::HeaderWord bitsFrom)
{
    if (frame.size() >= 4)
        putBits(frame, platform::ByteReader(frame).u32le(0), bitsFrom & kFlagBits);
}

}  // namespace autoedit

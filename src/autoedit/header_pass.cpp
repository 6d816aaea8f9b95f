#include "autoedit/header_pass.h"

#include "mpeg/frame_crc.h"
#include "platform/byte_reader.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace autoedit {

namespace {

constexpr std::int64_t kChunkSize = 1 << 20;
// Behind each chunk: enough for a header that starts in its last byte, with
// the check word and the side information a CRC covers.
constexpr int kLookAhead = 4 + static_cast<int>(mpeg::kCrcSize) + 32;
constexpr int kMinFrameLength = 96;
constexpr int kMaxFrameLength = 1056;
constexpr int kMissLength = 2;
constexpr mpeg::HeaderWord kFlagBits = (1u << 26) | (1u << 27);

void readFully(platform::File& in, std::int64_t offset, std::span<std::uint8_t> buffer)
{
    if (in.readAt(offset, buffer) != buffer.size())
        throw platform::FileError(platform::FileCause::EndOfFile, in.path(), "unexpected end of '" + in.path() + "'");
}

std::string frameMessage(std::int64_t position, mpeg::HeaderWord word, int length)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "auch nach +2 Mist: offset: %x, wert: %x, flen: %x     %i  %i  %i       (%i %i %i)",
                  static_cast<unsigned>(position), static_cast<unsigned>(word), static_cast<unsigned>(length),
                  mpeg::coefficientK(word), mpeg::bitrateKbps(word), mpeg::sampleRate(word), mpeg::versionField(word),
                  mpeg::sampleRateIndex(word), mpeg::bitrateIndex(word));
    return text;
}

// Walks the frame chain over the audio chunk by chunk; t and the correction
// carry over from chunk to chunk.
class HeaderWalk {
public:
    HeaderWalk(std::int64_t audioLength, mpeg::HeaderWord bitsFrom)
        : audioLength_(audioLength), bits_(bitsFrom & kFlagBits)
    {
    }

    // buffer holds the chunk at audio offset k and the bytes behind it that
    // the file has; chunkLength of them belong to the chunk.
    void walk(std::span<std::uint8_t> buffer, std::int64_t k, std::int64_t chunkLength)
    {
        const platform::ByteReader reader(buffer);
        while (!stopped_ && t_ - k < chunkLength && t_ < audioLength_) {
            const auto at = static_cast<std::size_t>(t_ - k);
            const mpeg::HeaderWord word = reader.has(at, 4) ? reader.u32le(at) : 0;
            int length = mpeg::isAcceptedHeader(word) ? mpeg::frameLength(word) : kMissLength;
            length += correction_;
            if (length >= kMinFrameLength && length <= kMaxFrameLength) {
                change(buffer, at, word);
                correction_ = 0;
                t_ += length;
            } else if (correction_ == 0) {
                correction_ = -kMissLength;
                t_ += kMissLength;
            } else {
                platform::prompter().showMessage(frameMessage(t_, word, length));
                stopped_ = true;
            }
        }
    }

private:
    // Puts the bits into the header at `at`; a CRC-protected frame gets its
    // check word changed with it. What reaches over the end of the audio is
    // not the audio's to change.
    void change(std::span<std::uint8_t> buffer, std::size_t at, mpeg::HeaderWord word) const
    {
        const mpeg::HeaderWord changed = (word & ~kFlagBits) | bits_;
        if (changed == word)
            return;
        const bool checked = mpeg::protectionBit(word) == 0;
        const std::size_t side = mpeg::sideInformationSize(word);
        if (checked && side == 0)
            return;
        const std::size_t needed = checked ? 4 + mpeg::kCrcSize + side : 4;
        if (t_ + static_cast<std::int64_t>(needed) > audioLength_ || at + needed > buffer.size())
            return;
        const auto bytes = mpeg::headerBytes(changed);
        std::copy(bytes.begin(), bytes.end(), buffer.begin() + static_cast<std::ptrdiff_t>(at));
        if (checked)
            mpeg::updateFrameCrc(buffer.subspan(at, needed), word, changed);
    }

    std::int64_t audioLength_;
    mpeg::HeaderWord bits_;
    std::int64_t t_ = 0;
    int correction_ = 0;
    bool stopped_ = false;
};

}  // namespace

void copyBytes(platform::File& in, platform::ByteSink& out, std::int64_t offset, std::int64_t length)
{
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(length, kChunkSize)));
    for (std::int64_t done = 0; done < length;) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kChunkSize, length - done));
        const auto part = std::span(buffer).first(count);
        readFully(in, offset + done, part);
        out.write(part);
        done += static_cast<std::int64_t>(count);
    }
}

void copyAudio(platform::File& in, platform::ByteSink& out, std::int64_t start, std::int64_t end, bool rewriteHeaders,
               mpeg::HeaderWord bitsFrom)
{
    if (!rewriteHeaders) {
        copyBytes(in, out, start, end - start);
        return;
    }
    const std::int64_t audioLength = end - start;
    HeaderWalk walk(audioLength, bitsFrom);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(kChunkSize + kLookAhead));
    std::array<std::uint8_t, kLookAhead> carried{};
    std::size_t carriedCount = 0;
    for (std::int64_t k = 0; k < audioLength; k += kChunkSize) {
        const std::int64_t chunkLength = std::min(kChunkSize, audioLength - k);
        const auto chunk = std::span(buffer).first(static_cast<std::size_t>(chunkLength));
        readFully(in, start + k, chunk);
        // Header bytes changed in the previous chunk's look-ahead belong here.
        std::copy_n(carried.begin(), std::min<std::size_t>(carriedCount, chunk.size()), chunk.begin());
        const std::size_t behind =
            in.readAt(start + k + chunkLength, std::span(buffer).subspan(chunk.size(), kLookAhead));
        walk.walk(std::span(buffer).first(chunk.size() + behind), k, chunkLength);
        out.write(chunk);
        carriedCount = std::min<std::size_t>(behind, kLookAhead);
        std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(chunk.size()), carriedCount, carried.begin());
    }
}

}  // namespace autoedit

#include "mpeg/frame_chain.h"

#include "mpeg/frame_walk.h"

#include "platform/byte_reader.h"
#include "platform/random_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace mpeg {

namespace {

// Free-format frames: the next header is looked for within these distances.
constexpr std::size_t kMinFreeFrame = 24;
constexpr std::size_t kMaxFreeFrame = 8000;

constexpr std::size_t kWalkChunk = 1 << 16;

std::optional<HeaderWord> wordAt(const platform::ByteReader& reader, std::size_t at)
{
    if (!reader.has(at, 4))
        return std::nullopt;
    return reader.u32le(at);
}

bool fits(ChainKind kind, HeaderWord first, HeaderWord word, int length)
{
    if (kind == ChainKind::Accepted)
        return isSameStreamKind(first, word) && length > 0 && length == acceptedFrameLength(word);
    return isMpegHeader(word) && isSameStreamKind(first, word) && length > 0;
}

bool chainsFrom(const platform::ByteReader& reader, std::span<const std::uint8_t> bytes, std::size_t at,
                HeaderWord first, ChainKind kind)
{
    for (int frame = 0; frame < kChainFrames; ++frame) {
        const auto word = wordAt(reader, at);
        if (!word)
            return false;
        const int length = chainFrameLength(bytes, at, *word);
        if (!fits(kind, first, *word, length))
            return false;
        at += static_cast<std::size_t>(length);
    }
    return true;
}

}  // namespace

int chainFrameLength(std::span<const std::uint8_t> bytes, std::size_t at, HeaderWord word)
{
    if (bitrateIndex(word) != 0)
        return frameLength(word);
    const platform::ByteReader reader(bytes);
    const std::size_t last = std::min(bytes.size(), at + kMaxFreeFrame + 4);
    for (std::size_t next = at + kMinFreeFrame; next + 4 <= last; ++next) {
        if (bytes[next] != 0xFF)
            continue;
        const HeaderWord candidate = reader.u32le(next);
        if (isMpegHeader(candidate) && isSameStreamKind(word, candidate))
            return static_cast<int>(next - at);
    }
    return 0;
}

std::optional<ChainStart> findFrameChain(std::span<const std::uint8_t> bytes, std::size_t start, ChainKind kind)
{
    const platform::ByteReader reader(bytes);
    for (std::size_t p = start; reader.has(p, 4); ++p) {
        if (bytes[p] != 0xFF)
            continue;
        const HeaderWord word = reader.u32le(p);
        if (!isMpegHeader(word))
            continue;
        if (chainsFrom(reader, bytes, p, word, kind))
            return ChainStart{p, word};
    }
    return std::nullopt;
}

bool startsAcceptedChain(std::span<const std::uint8_t> bytes)
{
    const platform::ByteReader reader(bytes);
    const auto first = wordAt(reader, 0);
    if (!first || acceptedFrameLength(*first) == 0)
        return false;
    // Frames as the walk follows them, slips included, as far as the bytes reach.
    std::size_t at = 0;
    for (int frame = 1; frame < kChainFrames; ++frame) {
        const HeaderWord word = reader.u32le(at);
        const int length = acceptedFrameLength(word);
        if (at + static_cast<std::size_t>(length) + kFrameSlip + 4 > bytes.size())
            return true;
        const auto next = nextFrameAt(bytes, at, *first, length);
        if (!next)
            return false;
        at = *next;
    }
    return true;
}

ChainMeasure measureFrameChain(platform::RandomReader& file, std::int64_t start, std::int64_t end)
{
    ChainMeasure measure;
    measure.end = start;
    // A window of the file that always holds a whole frame and the header behind it.
    std::vector<std::uint8_t> window(kWalkChunk + kMaxFreeFrame + 8);
    std::int64_t windowStart = 0;
    std::size_t windowBytes = 0;
    HeaderWord first = 0;
    double timeSum = 0.0;
    double rateSum = 0.0;
    std::int64_t at = start;
    while (at + 4 <= end) {
        // Read on when the frame and the header behind it may not be in the
        // window, unless the window already holds the rest of the file.
        const std::int64_t windowEnd = windowStart + static_cast<std::int64_t>(windowBytes);
        const bool holdsTheRest = windowBytes > 0 && windowBytes < window.size();
        if (windowBytes == 0 || (!holdsTheRest && at + static_cast<std::int64_t>(kMaxFreeFrame + 8) > windowEnd)) {
            windowStart = at;
            windowBytes = file.readAt(at, window);
            if (windowBytes < 4)
                break;
        }
        const auto bytes = std::span<const std::uint8_t>(window.data(), windowBytes);
        const platform::ByteReader reader(bytes);
        const auto offset = static_cast<std::size_t>(at - windowStart);
        const auto word = wordAt(reader, offset);
        if (!word)
            break;
        if (first == 0)
            first = *word;
        const int length = chainFrameLength(bytes, offset, *word);
        if (!fits(ChainKind::Any, first, *word, length) || at + length > end)
            break;
        const double duration = frameDurationMs(*word);
        const int kbps = bitrateKbps(*word);
        ++measure.frames;
        timeSum += duration;
        // A free-format frame's rate follows from its length.
        rateSum += kbps > 0 ? kbps * duration : length * 8.0;
        at += length;
        measure.end = at;
    }
    measure.lengthMs = static_cast<int>(timeSum);
    measure.bitrate = timeSum > 0.0 ? static_cast<int>(std::lround(rateSum * 1000.0 / timeSum)) : 0;
    return measure;
}

std::string streamKindText(HeaderWord word)
{
    constexpr std::array<const char*, 4> kVersions = {"MPEG-2.5", "MPEG-?", "MPEG-2", "MPEG-1"};
    std::string text =
        std::string(kVersions[static_cast<std::size_t>(versionField(word))]) + " " + layerText(layerField(word));
    if (protectionBit(word) == 0)
        text += " with CRC";
    if (bitrateIndex(word) == 0)
        text += " in free format";
    return text;
}

}  // namespace mpeg

#include "mpeg/vbr_header.h"

#include "mpeg/frame_crc.h"
#include "platform/byte_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace mpeg {

namespace {

constexpr std::uint32_t kHasFrames = 1;
constexpr std::uint32_t kHasBytes = 2;
constexpr std::uint32_t kHasToc = 4;
constexpr std::uint32_t kHasQuality = 8;
constexpr std::size_t kTocSize = 100;
constexpr std::size_t kVbriAt = 36;
constexpr std::size_t kLameTagSize = 36;
constexpr std::size_t kLameDelayAt = 21;
constexpr std::size_t kLameMusicLengthAt = 28;
constexpr std::size_t kLameCheckAt = 34;

bool textAt(std::span<const std::uint8_t> frame, std::size_t at, const char* text)
{
    const std::size_t size = std::strlen(text);
    return at + size <= frame.size() && std::memcmp(frame.data() + at, text, size) == 0;
}

// Writes the value's low `size` bytes, most significant first, into the
// frame at `at`; the header's fields were found inside it.
void putBe(std::span<std::uint8_t> frame, std::size_t at, int size, std::uint32_t value)
{
    const auto field = frame.subspan(at, static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        field[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - i)));
}

std::optional<VbrHeader> xingHeader(std::span<const std::uint8_t> frame, std::size_t at)
{
    const platform::ByteReader reader(frame);
    if (!reader.has(at, 8))
        return std::nullopt;
    VbrHeader header;
    header.kind = textAt(frame, at, "Info") ? VbrKind::Info : VbrKind::Xing;
    const std::uint32_t flags = reader.u32be(at + 4);
    std::size_t field = at + 8;
    if (flags & kHasFrames) {
        if (!reader.has(field, 4))
            return std::nullopt;
        header.framesAt = field;
        header.frames = reader.u32be(field);
        field += 4;
    }
    if (flags & kHasBytes) {
        if (!reader.has(field, 4))
            return std::nullopt;
        header.bytesAt = field;
        header.bytes = reader.u32be(field);
        field += 4;
    }
    if (flags & kHasToc) {
        if (!reader.has(field, kTocSize))
            return std::nullopt;
        header.tocAt = field;
        field += kTocSize;
    }
    if (flags & kHasQuality)
        field += 4;
    if (reader.has(field, kLameTagSize) && frame[field] >= 'A' && frame[field] <= 'Z')
        header.lameAt = field;
    return header;
}

std::optional<VbrHeader> vbriHeader(std::span<const std::uint8_t> frame)
{
    const platform::ByteReader reader(frame);
    if (!textAt(frame, kVbriAt, "VBRI") || !reader.has(kVbriAt, 26))
        return std::nullopt;
    VbrHeader header;
    header.kind = VbrKind::Vbri;
    header.bytesAt = kVbriAt + 10;
    header.bytes = reader.u32be(header.bytesAt);
    header.framesAt = kVbriAt + 14;
    header.frames = reader.u32be(header.framesAt);
    header.tocEntries = reader.u16be(kVbriAt + 18);
    header.tocScale = reader.u16be(kVbriAt + 20);
    header.tocEntrySize = reader.u16be(kVbriAt + 22);
    header.framesPerEntry = reader.u16be(kVbriAt + 24);
    header.tocAt = kVbriAt + 26;
    const bool tableFits = header.tocEntrySize >= 1 && header.tocEntrySize <= 4 &&
                           reader.has(header.tocAt, static_cast<std::size_t>(header.tocEntries) *
                                                        static_cast<std::size_t>(header.tocEntrySize));
    if (!tableFits || header.tocScale == 0 || header.framesPerEntry == 0)
        header.tocAt = 0;
    return header;
}

// CRC-16 as the LAME tag uses it: reflected polynomial 0x8005, start 0.
std::uint16_t lameCrc(std::span<const std::uint8_t> bytes)
{
    std::uint16_t crc = 0;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

// Where frame `index` of the kept stream begins, from the header frame's start.
std::uint32_t offsetOfFrame(const KeptStream& kept, std::size_t index)
{
    if (kept.frameOffsets.empty())
        return kept.bytes;
    return kept.frameOffsets[std::min(index, kept.frameOffsets.size() - 1)];
}

void writeXingToc(std::span<std::uint8_t> frame, std::size_t at, const KeptStream& kept)
{
    const auto frames = kept.frameOffsets.size();
    for (std::size_t i = 0; i < kTocSize; ++i) {
        const std::size_t index = i * frames / kTocSize;
        const double share = kept.bytes == 0 ? 0.0 : static_cast<double>(offsetOfFrame(kept, index)) / kept.bytes;
        frame[at + i] = static_cast<std::uint8_t>(std::min(255.0, share * 256.0));
    }
}

void writeVbriToc(std::span<std::uint8_t> frame, const VbrHeader& header, const KeptStream& kept)
{
    const std::size_t frames = kept.frameOffsets.size();
    const auto per = static_cast<std::size_t>(header.framesPerEntry);
    for (int entry = 0; entry < header.tocEntries; ++entry) {
        const std::size_t first = static_cast<std::size_t>(entry) * per;
        std::uint32_t bytes = 0;
        if (first < frames) {
            const std::uint32_t end = first + per < frames ? offsetOfFrame(kept, first + per) : kept.bytes;
            bytes = (end - offsetOfFrame(kept, first)) / static_cast<std::uint32_t>(header.tocScale);
        }
        const int size = header.tocEntrySize;
        putBe(frame, header.tocAt + static_cast<std::size_t>(entry * size), size, bytes);
    }
}

// Samples of the encoder's delay and padding that the cut took away.
void trimCoderSamples(std::span<std::uint8_t> frame, const VbrHeader& header, const KeptStream& kept)
{
    const std::size_t at = header.lameAt + kLameDelayAt;
    int delay = frame[at] << 4 | frame[at + 1] >> 4;
    int padding = (frame[at + 1] & 0x0F) << 8 | frame[at + 2];
    const auto word = headerWordFromBytes(std::span<const std::uint8_t, 4>(frame.data(), 4));
    const int samples = coefficientK(word) / 125;
    delay = static_cast<int>(std::max<std::int64_t>(0, delay - std::int64_t{kept.framesCutBefore} * samples));
    padding = static_cast<int>(std::max<std::int64_t>(0, padding - std::int64_t{kept.framesCutBehind} * samples));
    frame[at] = static_cast<std::uint8_t>(delay >> 4);
    frame[at + 1] = static_cast<std::uint8_t>((delay & 0x0F) << 4 | padding >> 8);
    frame[at + 2] = static_cast<std::uint8_t>(padding);
}

}  // namespace

std::optional<VbrHeader> findVbrHeader(std::span<const std::uint8_t> frame)
{
    if (frame.size() < 4)
        return std::nullopt;
    const HeaderWord word = headerWordFromBytes(std::span<const std::uint8_t, 4>(frame.data(), 4));
    // Behind the side information; some encoders leave out the check word's room.
    const std::size_t side = sideInformationSize(word);
    for (const std::size_t at : {sideInformationStart(word) + side, 4 + side}) {
        if (side > 0 && (textAt(frame, at, "Xing") || textAt(frame, at, "Info")))
            return xingHeader(frame, at);
    }
    return vbriHeader(frame);
}

void describeKeptStream(std::span<std::uint8_t> frame, const VbrHeader& header, const KeptStream& kept)
{
    const auto frames = static_cast<std::uint32_t>(kept.frameOffsets.size());
    if (header.framesAt)
        putBe(frame, header.framesAt, 4, frames);
    if (header.bytesAt)
        putBe(frame, header.bytesAt, 4, kept.bytes);
    if (header.tocAt && header.kind != VbrKind::Vbri)
        writeXingToc(frame, header.tocAt, kept);
    if (header.tocAt && header.kind == VbrKind::Vbri)
        writeVbriToc(frame, header, kept);
    if (header.lameAt) {
        trimCoderSamples(frame, header, kept);
        putBe(frame, header.lameAt + kLameMusicLengthAt, 4, kept.bytes);
    }
}

bool hasValidLameCheck(std::span<const std::uint8_t> frame, const VbrHeader& header)
{
    if (!header.lameAt)
        return false;
    const std::size_t at = header.lameAt + kLameCheckAt;
    const platform::ByteReader reader(frame);
    return reader.u16be(at) == lameCrc(frame.first(at));
}

void sealLameTag(std::span<std::uint8_t> frame, const VbrHeader& header)
{
    const std::size_t at = header.lameAt + kLameCheckAt;
    putBe(frame, at, 2, lameCrc(frame.first(at)));
}

}  // namespace mpeg

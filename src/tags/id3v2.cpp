#include "tags/id3v2.h"

#include "platform/byte_reader.h"

#include <algorithm>
#include <vector>

namespace tags {

namespace {
constexpr std::size_t kFirstFrameSizeOffset = 16;
constexpr std::size_t kFirstFrameContentOffset = 20;
constexpr std::size_t kFooterSize = 10;
constexpr std::uint8_t kFooterFlag = 0x10;
constexpr std::uint8_t kUnsyncFlag = 0x80;
constexpr std::uint8_t kExtendedHeaderFlag = 0x40;

std::uint32_t syncsafe(const platform::ByteReader& reader, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 7 | (reader.u8(at + i) & 0x7F);
    return value;
}

bool isFrameIdByte(std::uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Where a frame lies in the tag: its header's offset and its length with the header.
struct FrameSpan {
    std::size_t at = 0;
    std::size_t length = 0;
    bool picture = false;
};

// Walks the frames from start to end (behind them, padding) into frames;
// false when a frame runs past end.
bool walkFrames(const platform::ByteReader& reader, std::size_t start, std::size_t end, int major, bool syncsafeSizes,
                std::vector<FrameSpan>& frames)
{
    frames.clear();
    const std::size_t headerSize = major == 2 ? 6 : 10;
    const std::size_t idSize = major == 2 ? 3 : 4;
    std::size_t at = start;
    while (at < end && reader.u8(at) != 0) {
        // What is no whole frame header is padding, however written, as readers take it.
        if (end - at < headerSize)
            return true;
        for (std::size_t i = 0; i < idSize; ++i) {
            if (!isFrameIdByte(reader.u8(at + i)))
                return true;
        }
        std::uint64_t size = 0;
        if (major == 2)
            size = std::uint64_t{reader.u8(at + 3)} << 16 | std::uint64_t{reader.u16be(at + 4)};
        else
            size = syncsafeSizes ? syncsafe(reader, at + 4) : reader.u32be(at + 4);
        if (size > end - at - headerSize)
            return false;
        const auto id = reader.bytes(at, idSize);
        const bool picture =
            major == 2 ? std::equal(id.begin(), id.end(), "PIC") : std::equal(id.begin(), id.end(), "APIC");
        frames.push_back({at, headerSize + static_cast<std::size_t>(size), picture});
        at += headerSize + static_cast<std::size_t>(size);
    }
    return true;
}

// Version 2.3 unsynchronises the whole tag: its sizes count the bytes
// without the stuffed zeros.
std::vector<std::uint8_t> resynchronised(std::span<const std::uint8_t> tag)
{
    std::vector<std::uint8_t> bytes(tag.begin(), tag.begin() + kId3v2HeaderSize);
    for (std::size_t i = kId3v2HeaderSize; i < tag.size(); ++i) {
        if (!(tag[i] == 0 && tag[i - 1] == 0xFF))
            bytes.push_back(tag[i]);
    }
    return bytes;
}

}  // namespace

std::optional<std::uint64_t> id3v2TagSize(std::span<const std::uint8_t> header)
{
    const platform::ByteReader reader(header);
    if (!reader.has(0, kId3v2HeaderSize) || reader.u8(0) != 'I' || reader.u8(1) != 'D' || reader.u8(2) != '3')
        return std::nullopt;
    const std::uint8_t major = reader.u8(3);
    if (major < 2 || major > 4 || reader.u8(4) == 0xFF)
        return std::nullopt;
    // The size is syncsafe: seven bits a byte, the top bit always clear.
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < kId3v2HeaderSize; ++i) {
        if (reader.u8(i) & 0x80)
            return std::nullopt;
        size = size << 7 | reader.u8(i);
    }
    const bool footer = major == 4 && (reader.u8(5) & kFooterFlag);
    return kId3v2HeaderSize + size + (footer ? kFooterSize : 0);
}

namespace {

// The frames of a whole tag whose sizes count its bytes as they stand (not
// one that version 2.3 unsynchronised whole); start: behind the extended
// header. Nothing when a frame runs past the tag's end.
struct FrameLayout {
    std::size_t start = 0;
    std::vector<FrameSpan> frames;
};

std::optional<FrameLayout> frameLayout(std::span<const std::uint8_t> tag)
{
    const platform::ByteReader reader(tag);
    const int major = reader.u8(3);
    const std::uint8_t flags = reader.u8(5);
    const bool footer = major == 4 && (flags & kFooterFlag);
    const std::size_t end = tag.size() - (footer ? kFooterSize : 0);
    FrameLayout layout;
    layout.start = kId3v2HeaderSize;
    if (major > 2 && (flags & kExtendedHeaderFlag)) {
        if (end - layout.start < 4)
            return std::nullopt;
        // Version 2.3 counts the size field out, version 2.4 in.
        const std::uint64_t size =
            major == 3 ? std::uint64_t{reader.u32be(layout.start)} + 4 : syncsafe(reader, layout.start);
        if (size > end - layout.start)
            return std::nullopt;
        layout.start += static_cast<std::size_t>(size);
    }
    if (walkFrames(reader, layout.start, end, major, major == 4, layout.frames) ||
        (major == 4 && walkFrames(reader, layout.start, end, major, false, layout.frames)))
        return layout;
    return std::nullopt;
}

bool isWholeTag(std::span<const std::uint8_t> tag)
{
    const auto whole = id3v2TagSize(tag);
    return whole && *whole == tag.size();
}

bool unsynchronisedWhole(std::span<const std::uint8_t> tag)
{
    const platform::ByteReader reader(tag);
    return reader.u8(3) == 3 && (reader.u8(5) & kUnsyncFlag);
}

}  // namespace

bool id3v2FramesFit(std::span<const std::uint8_t> tag)
{
    if (!isWholeTag(tag))
        return false;
    if (unsynchronisedWhole(tag)) {
        const std::vector<std::uint8_t> plain = resynchronised(tag);
        return frameLayout(plain).has_value();
    }
    return frameLayout(tag).has_value();
}

std::optional<std::vector<std::uint8_t>> withoutPictures(std::span<const std::uint8_t> tag)
{
    if (!isWholeTag(tag) || unsynchronisedWhole(tag))
        return std::nullopt;
    const auto layout = frameLayout(tag);
    if (!layout ||
        std::none_of(layout->frames.begin(), layout->frames.end(), [](const FrameSpan& f) { return f.picture; }))
        return std::nullopt;
    std::vector<std::uint8_t> kept(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(layout->start));
    kept[5] = static_cast<std::uint8_t>(kept[5] & ~kFooterFlag);
    for (const FrameSpan& frame : layout->frames) {
        if (!frame.picture)
            kept.insert(kept.end(), tag.begin() + static_cast<std::ptrdiff_t>(frame.at),
                        tag.begin() + static_cast<std::ptrdiff_t>(frame.at + frame.length));
    }
    const std::size_t size = kept.size() - kId3v2HeaderSize;
    for (std::size_t i = 0; i < 4; ++i)
        kept[6 + i] = static_cast<std::uint8_t>((size >> (21 - 7 * i)) & 0x7F);
    return kept;
}

bool startsWithId3v23(std::span<const std::uint8_t> firstBytes)
{
    const platform::ByteReader reader(firstBytes);
    return reader.has(0, 4) && reader.u8(0) == 'I' && reader.u8(1) == 'D' && reader.u8(2) == '3' && reader.u8(3) == 3;
}

std::size_t id3v2FirstFrameSize(std::span<const std::uint8_t> firstBytes)
{
    const platform::ByteReader reader(firstBytes);
    // A file that ends inside the tag header has no frame to skip.
    return reader.has(kFirstFrameSizeOffset, 2) ? reader.u16be(kFirstFrameSizeOffset) : 0;
}

std::size_t headerSearchStart(std::span<const std::uint8_t> firstBytes)
{
    if (!startsWithId3v23(firstBytes))
        return 0;
    return kFirstFrameContentOffset + id3v2FirstFrameSize(firstBytes);
}

}  // namespace tags

#include "tags/id3v2.h"

#include "platform/byte_reader.h"

namespace tags {

namespace {
constexpr std::size_t kFirstFrameSizeOffset = 16;
constexpr std::size_t kFirstFrameContentOffset = 20;
constexpr std::size_t kFooterSize = 10;
constexpr std::uint8_t kFooterFlag = 0x10;
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

#include "tags/id3v2.h"

#include "platform/byte_reader.h"

namespace tags {

namespace {
constexpr std::size_t kFirstFrameSizeOffset = 16;
constexpr std::size_t kFirstFrameContentOffset = 20;
}  // namespace

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

#include "tags/id3v2_picture.h"

#include "tags/id3v2.h"

#include <algorithm>

namespace tags {

namespace {
constexpr std::size_t kPictureDataOffset = 33;
}

std::optional<std::span<const std::uint8_t>> id3v2PictureBytes(std::span<const std::uint8_t> firstBytes)
{
    const std::size_t size = id3v2FirstFrameSize(firstBytes);
    if (size >= kMaxPictureFrameSize)
        return std::nullopt;
    if (firstBytes.size() <= kPictureDataOffset)
        return std::span<const std::uint8_t>();
    return firstBytes.subspan(kPictureDataOffset, std::min(size, firstBytes.size() - kPictureDataOffset));
}

}  // namespace tags

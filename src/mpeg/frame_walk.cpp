#include "mpeg/frame_walk.h"

#include "platform/byte_reader.h"

namespace mpeg {

int acceptedFrameLength(HeaderWord word)
{
    return isAcceptedHeader(word) ? frameLength(word) : 0;
}

std::optional<std::size_t> nextFrameAt(std::span<const std::uint8_t> bytes, std::size_t at, HeaderWord word, int length)
{
    const platform::ByteReader reader(bytes);
    for (const std::size_t next : {at + static_cast<std::size_t>(length), at + length + std::size_t{kFrameSlip}}) {
        if (!reader.has(next, 4))
            return std::nullopt;
        const HeaderWord following = reader.u32le(next);
        if (isAcceptedHeader(following) && isSameStreamKind(word, following))
            return next;
    }
    return std::nullopt;
}

bool beginsFollowedFrame(std::span<const std::uint8_t> bytes, std::size_t at, bool endIsFinal)
{
    const platform::ByteReader reader(bytes);
    if (!reader.has(at, 4))
        return false;
    const HeaderWord word = reader.u32le(at);
    const int length = acceptedFrameLength(word);
    if (length == 0)
        return false;
    const std::size_t end = at + static_cast<std::size_t>(length);
    // Too few bytes behind the frame to see the next header.
    if (end + 4 > bytes.size())
        return endIsFinal ? end == bytes.size() : true;
    return nextFrameAt(bytes, at, word, length).has_value();
}

std::optional<std::size_t> findFollowedFrame(std::span<const std::uint8_t> bytes, std::size_t from, bool endIsFinal)
{
    for (std::size_t p = from; p + 4 <= bytes.size(); ++p) {
        if (bytes[p] == 0xFF && beginsFollowedFrame(bytes, p, endIsFinal))
            return p;
    }
    return std::nullopt;
}

}  // namespace mpeg

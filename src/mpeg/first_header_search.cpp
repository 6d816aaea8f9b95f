#include "mpeg/first_header_search.h"

#include "mpeg/frame_walk.h"
#include "platform/byte_reader.h"

namespace mpeg {

std::optional<FoundHeader> findFirstHeader(std::span<const std::uint8_t> firstBytes, std::size_t start)
{
    const platform::ByteReader reader(firstBytes);
    for (std::size_t p = start; p < kHeaderSearchLimit && reader.has(p, 4); ++p) {
        if (firstBytes[p] != 0xFF)
            continue;
        const HeaderWord word = reader.u32le(p);
        // A header-like pattern in junk has no frame behind it.
        if (isAcceptedHeader(word) && beginsFollowedFrame(firstBytes, p, false))
            return FoundHeader{p, word};
    }
    return std::nullopt;
}

}  // namespace mpeg

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class CLiedkramEntry;

namespace platform {
class RandomReader;
}

namespace entry {

// How many bytes in front of the ID3v1 tag end a Brava trailer.
inline constexpr std::size_t kTrailerEndSize = 68;

// Where a trailer lies: the audio end it gives (its start, or that of a
// second ID3v1 tag in front of it) and where its records begin.
struct TrailerPlace {
    std::int64_t audioEnd = 0;
    std::int64_t recordStart = 0;
};

// The trailer the bytes before the tag end, if they end one whose positions
// lie within the file, behind the audio start and in front of the tag.
std::optional<TrailerPlace> findBravaTrailer(platform::RandomReader& file, std::int64_t fileSize,
                                             std::int64_t audioStart, std::span<const std::uint8_t> bytesBeforeTag);

// A Brava trailer may stand in front of the ID3v1 tag: it carries title,
// album, artist and a CDDB disc identifier. When the bytes before the tag end
// such a trailer, the trailer (and a second tag in front of it) becomes back
// junk and its texts are merged into the entry. Faulty records are reported;
// positions outside the file mean there is no trailer.
void readBravaTrailer(CLiedkramEntry& entry, platform::RandomReader& file, std::int64_t fileSize,
                      std::span<const std::uint8_t> bytesBeforeTag);

}  // namespace entry

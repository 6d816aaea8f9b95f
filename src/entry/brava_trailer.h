#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class CLiedkramEntry;

namespace platform {
class File;
}

namespace entry {

// How many bytes in front of the ID3v1 tag end a Brava trailer.
inline constexpr std::size_t kTrailerEndSize = 68;

// A Brava trailer may stand in front of the ID3v1 tag: it carries title,
// album, artist and a CDDB disc identifier. When the bytes before the tag end
// such a trailer, the trailer (and a second tag in front of it) becomes back
// junk and its texts are merged into the entry. Faulty records are reported;
// positions outside the file mean there is no trailer.
void readBravaTrailer(CLiedkramEntry& entry, platform::File& file, std::int64_t fileSize,
                      std::span<const std::uint8_t> bytesBeforeTag);

}  // namespace entry

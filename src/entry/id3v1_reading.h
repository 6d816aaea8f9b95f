#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class CLiedkramEntry;

namespace entry {

// How many bytes from the end of a file the tag reading looks at: the tag
// and the trailer end that may stand in front of it.
inline constexpr std::size_t kTagProbeSize = 196;

// Reads the ID3v1 tag from the last bytes of a file (up to kTagProbeSize of
// them) into the entry: tag texts, year, genre, track and the audio end.
// Without a tag the texts are emptied and the tag is marked to be written.
// Returns whether a tag was found.
bool readId3v1Into(CLiedkramEntry& entry, std::span<const std::uint8_t> fileTail, std::int64_t fileSize);

}  // namespace entry

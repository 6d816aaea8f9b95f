#pragma once

#include <cstdint>
#include <vector>

class CLiedkramEntry;

namespace platform {
class RandomReader;
}

namespace autoedit {

// The ID3v2 tag a rewritten file begins with, and how many bytes at the
// file's start it takes the place of: the old tag's (also a damaged one's)
// when it lies whole in front of the audio, else none.
struct FrontTag {
    std::int64_t replaced = 0;
    std::vector<std::uint8_t> bytes;
    // Fields whose characters outside Windows-1252 the new tag no longer holds.
    std::vector<const char*> lostCharacters;
};

// The file's own tag with the entry's changed fields, or a new version 2.3
// tag of the entry's fields when it has none that can be read or its
// frames run past its end.
FrontTag makeFrontTag(const CLiedkramEntry& entry, platform::RandomReader& file, std::int64_t fileLength);

// The fields whose characters outside Windows-1252 go with the file's own
// tag when it is cut and none is written in its place.
std::vector<const char*> charactersLostWithFrontTag(const CLiedkramEntry& entry, platform::RandomReader& file,
                                                    std::int64_t fileLength);

}  // namespace autoedit

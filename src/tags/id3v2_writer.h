#pragma once

#include "tags/id3v1.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tags {

// The ID3v2 tag a rewritten file begins with, made from the old tag (its
// bytes whole, or empty when the file had none) and the entry's fields
// (Windows-1252, the same fields the ID3v1 tag is made of).
//
// An old tag TagLib reads keeps every frame as it was; only the text frames
// of fields whose entry text differs from what the frame reads as are
// replaced. Nothing to replace in a version 2.3 or 2.4 tag gives its bytes
// back unchanged; version 2.2 becomes 2.3. An old tag that cannot be read,
// or none, gives a new version 2.3 tag of the entry's fields.
struct BuiltId3v2 {
    std::vector<std::uint8_t> bytes;
    // The fields ("Title", "Artist", "Album", "Comment") whose old frame held
    // characters Windows-1252 lacks and was replaced: those characters are gone.
    std::vector<const char*> lostCharacters;
};
BuiltId3v2 buildId3v2(std::span<const std::uint8_t> oldTag, const Id3v1Content& fields);

// The fields ("Title", "Artist", "Album", "Comment") whose frames in the tag
// hold characters Windows-1252 lacks: what is gone when the tag is.
std::vector<const char*> fieldsBeyondCp1252(std::span<const std::uint8_t> tag);

}  // namespace tags

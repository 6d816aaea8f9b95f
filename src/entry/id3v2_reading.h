#pragma once

#include <cstdint>
#include <span>
#include <vector>

class CLiedkramEntry;

namespace platform {
class RandomReader;
}

namespace tags {
struct Id3v2Fields;
}

namespace entry {

// The ID3v2 tag at the start of the file, whole; empty when the file begins
// with none or its declared size runs past the end of the file. first holds
// the file's first bytes.
std::vector<std::uint8_t> frontTagBytes(platform::RandomReader& file, std::int64_t fileSize,
                                        std::span<const std::uint8_t> first);

// Which of the entry's texts came from the ID3v2 tag.
struct TakenTexts {
    bool title = false;
    bool artist = false;
    bool album = false;
    bool comment = false;
};

// Takes into the entry, field by field, the ID3v2 field where the ID3v1 tag
// is missing, where its field is empty (no genre, no year, track 0) or where
// its text is the first 30 characters of the ID3v2 text. A field an ID3v1
// tag lacks but the ID3v2 tag gives marks that tag to be written.
TakenTexts mergeId3v2Into(CLiedkramEntry& entry, const tags::Id3v2Fields& fields, bool hadId3v1);

}  // namespace entry

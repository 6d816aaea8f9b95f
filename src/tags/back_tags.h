#pragma once

#include <cstdint>

namespace platform {
class RandomReader;
}

namespace tags {

// The tags that stand between the audio and the ID3v1 tag (or the end of
// the file): APEv2 (with or without its header), Lyrics3v2, the 227-byte
// "TAG+" block in front of an ID3v1 tag, an ID3v2.4 tag with its footer.
struct BackTags {
    std::int64_t start = 0;  // where the first of them begins; end when there is none
    unsigned kinds = 0;  // bits of tag_kinds.h
};

// Looks backwards from end, tag by tag, never in front of lowest.
// beforeId3v1: end is where an ID3v1 tag begins (only there stands TAG+).
BackTags findBackTags(platform::RandomReader& file, std::int64_t lowest, std::int64_t end, bool beforeId3v1);

}  // namespace tags

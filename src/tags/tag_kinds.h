#pragma once

#include <string>

namespace tags {

// The tags a file carries, as bits: the ID3v2 tag at the start (by version),
// the tags behind the audio and the ID3v1 tag at the end.
inline constexpr unsigned kTagId3v22 = 0x01;
inline constexpr unsigned kTagId3v23 = 0x02;
inline constexpr unsigned kTagId3v24 = 0x04;
inline constexpr unsigned kTagApeV2 = 0x08;
inline constexpr unsigned kTagLyrics3v2 = 0x10;
inline constexpr unsigned kTagPlus = 0x20;
inline constexpr unsigned kTagId3v2Behind = 0x40;  // version 2.4 with a footer, appended
inline constexpr unsigned kTagId3v1 = 0x80;

// The bit of an ID3v2 tag at the start of the given major version (0 for another).
unsigned frontId3v2Kind(int majorVersion);

// The names of the tags in the order they stand in a file, blank-separated:
// "ID3v2.4 APEv2 ID3v1"; the tag appended behind the audio is named
// "ID3v2.4" again, in its place in front of the ID3v1 tag.
std::string tagKindsText(unsigned kinds);

}  // namespace tags

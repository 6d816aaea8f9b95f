#pragma once

#include "support/mp3_builder.h"

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Tags as taggers write them.

// One frame of an ID3v2 tag: its identifier (three letters for version 2.2)
// and its content.
struct Id3v2Frame {
    std::string id;
    Bytes content;
};

// Text encodings as the frames name them.
inline constexpr std::uint8_t kLatin1 = 0;
inline constexpr std::uint8_t kUtf16 = 1;  // with a byte order mark
inline constexpr std::uint8_t kUtf8 = 3;

// A text frame; utf8 is converted to the encoding (Latin-1 takes only what it holds).
Id3v2Frame textFrame(const std::string& id, const std::string& utf8, std::uint8_t encoding = kUtf8);
// A comment frame of language "deu" with a description.
Id3v2Frame commentFrame(const std::string& description, const std::string& utf8, std::uint8_t encoding = kUtf8);
// A picture frame (version 2.3/2.4 layout) with the picture type and an empty description.
Id3v2Frame pictureFrame(std::uint8_t pictureType, const Bytes& data, const std::string& mime = "image/jpeg");

// A whole tag of the major version (2, 3 or 4) with the frames and padding
// bytes behind them; a footer (version 4) when asked.
Bytes id3v2Frames(std::uint8_t majorVersion, const std::vector<Id3v2Frame>& frames, std::size_t padding = 0,
                  bool footer = false);

// Tags that stand behind the audio: an APEv2 tag with one item (as MP3Gain
// writes it), with or without its header; a Lyrics3v2 block; the 227-byte
// "TAG+" block.
Bytes apeTag(bool withHeader);
Bytes lyrics3v2();
Bytes tagPlus();

}  // namespace testsupport

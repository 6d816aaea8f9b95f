#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tags {

// The fields an ID3v2 tag gives, as the entry holds them: texts converted to
// Windows-1252 (a character it cannot hold becomes "?"), an empty text where
// the tag has none; year 1900, genre -1 and track 0 for none.
struct Id3v2Fields {
    int majorVersion = 0;  // 2, 3 or 4
    std::string title;
    std::string artist;
    std::string album;
    std::string comment;  // of the first comment frame with an empty description
    int year = 1900;
    int genre = -1;
    std::uint8_t track = 0;
    bool hasPicture = false;
};

// Reads the tag the bytes hold whole (header, frames, padding, footer), of
// version 2.2, 2.3 or 2.4, through TagLib. Nothing when TagLib finds no tag
// in them.
std::optional<Id3v2Fields> readId3v2Fields(std::span<const std::uint8_t> tagBytes);

struct Id3v2Picture {
    std::string mimeType;
    std::vector<std::uint8_t> data;
};

// The front cover of the tag, else its first picture; nothing when it holds none.
std::optional<Id3v2Picture> readId3v2Picture(std::span<const std::uint8_t> tagBytes);

// The genre of a genre frame's text: "(17)", "17" or a name of the genre
// list (letter case aside) give that genre, anything else none.
int genreOfText(const std::string& text);
// The track of a track frame's text: "3/12" gives 3; no number, 0 or one
// above 255 give none.
std::uint8_t trackOfText(const std::string& text);

}  // namespace tags

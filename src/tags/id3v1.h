#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tags {

inline constexpr std::size_t kId3v1Size = 128;
inline constexpr int kNoYear = 1900;

// The fields of an ID3v1 tag as read; texts are Windows-1252 bytes.
struct Id3v1Tag {
    std::string title;
    std::string artist;
    std::string album;
    std::string comment;
    int year = kNoYear;
    // A year of fewer than three digits was widened and must be written back.
    bool yearWidened = false;
    int genre = -1;
    std::uint8_t track = 0;
};

// The fields a written tag is made from; texts are Windows-1252 bytes.
struct Id3v1Content {
    std::string_view title;
    std::string_view artist;
    std::string_view album;
    int year = kNoYear;
    std::string_view comment;
    std::uint8_t track = 0;
    int genre = -1;
};

// The 128 bytes of a tag: texts cut to their fields (the comment to 29 bytes,
// followed by the track byte), zero-padded; no year bytes for 1900; the
// genre's low byte (-1 gives 0xFF).
std::array<std::uint8_t, kId3v1Size> buildId3v1(const Id3v1Content& content);

// Reads the 128 bytes of a tag candidate; no value when they do not begin
// with "TAG" (or are fewer than 128).
std::optional<Id3v1Tag> parseId3v1(std::span<const std::uint8_t> candidate);

}  // namespace tags

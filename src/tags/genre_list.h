#pragma once

namespace tags {

// The genre list runs from -1 (no genre, the empty text) to 148 ("none").
inline constexpr int kNoGenre = -1;
inline constexpr int kLastGenre = 148;
inline constexpr int kGenreCount = 150;

// The name of a genre index; the empty text for -1 and for indexes outside the list.
const char* genreName(int index);

}  // namespace tags

#pragma once

#include <string>
#include <string_view>

class CLiedkramEntry;

namespace document {

// The comparison form of a title or artist: a leading "the " or "die "
// dropped, separator runs cut to their first character, some punctuation
// dropped, accents and umlauts spelt out, everything else with bit 5 cleared
// (so a-z become A-Z). Windows-1252 in and out.
std::string FoldName(std::string_view text);

// Same folded title and artist, or the same file name but for ASCII case.
bool IsSameTrack(const CLiedkramEntry& a, const CLiedkramEntry& b);

// Orders two entries by a list column (0-13): negative, 0 or positive. Any
// other column compares equal.
int CompareEntries(const CLiedkramEntry& left, const CLiedkramEntry& right, int column);

}  // namespace document

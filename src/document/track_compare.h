#pragma once

#include "entry/column.h"

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

// Orders two entries by the sort keys of a list column: negative, 0 or positive.
int CompareEntries(const CLiedkramEntry& left, const CLiedkramEntry& right, Column column);

}  // namespace document

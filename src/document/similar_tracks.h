#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CLiedkramEntry;

namespace document {

// Entries whose loose names agree are similar when their lengths are at
// most this far apart.
inline constexpr int kSimilarLengthMs = 3000;

// The loose form of a title or artist (Windows-1252): bracketed additions
// ("(Live)", "[Remastered]") and a leading "The", "Die", "Der" or "Das"
// dropped, the rest folded as FoldName folds it, without separators at
// either end.
std::string LooseName(std::string_view text);

// Entries that have a similar entry among the given ones, in groups of
// indexes into them. Similar are entries IsSameTrack takes for the same
// track, and entries of the same loose title and artist whose lengths are
// within kSimilarLengthMs; a group holds every entry reached through such
// pairs. Each group lists its entries in their given order; the groups are
// ordered by the folded artist and title of their first entry in that
// order. Never compares all pairs: the entries meet through hash tables.
std::vector<std::vector<std::size_t>> SimilarGroups(std::span<const CLiedkramEntry* const> entries);

}  // namespace document

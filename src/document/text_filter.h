#pragma once

#include <string>
#include <string_view>
#include <vector>

class CLiedkramEntry;

namespace document {

// A UTF-8 text in the form the full-text search compares: every character
// Windows-1252 holds folded as FoldName folds it (case, accents and
// umlauts, punctuation, separator runs; no article dropped), every other
// character kept as it is. The result is UTF-8 again, so a folded word only
// ever matches whole characters.
std::string FoldForSearch(std::string_view text);

// What the search looks through for an entry: the folded texts of all its
// columns, one line each.
std::string SearchText(const CLiedkramEntry& entry);

// The words typed into the search. An entry matches when every word occurs
// in one of its column texts.
class TextFilter {
public:
    // Words are separated by white space; a word that folds to nothing
    // (a lone "-", say) asks for nothing.
    explicit TextFilter(std::string_view typed);

    // Nothing to look for: every entry matches.
    bool empty() const { return words_.empty(); }
    bool matches(std::string_view searchText) const;
    bool matches(const CLiedkramEntry& entry) const;

private:
    std::vector<std::string> words_;
};

}  // namespace document

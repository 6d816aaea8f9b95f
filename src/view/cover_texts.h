#pragma once

#include "view/selection.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace view {

// A cover lists 2 to 49 titles.
inline constexpr std::size_t kMinCoverTitles = 2;
inline constexpr std::size_t kMaxCoverTitles = 49;

// The texts of one title of the cover, UTF-8, as they are measured and drawn.
struct CoverTitle {
    std::string number;  // "1)"
    std::string line;  // "artist - title", every "&" doubled
    std::string minutes;  // "3:", the part of the length left of the colon
    std::string length;  // "3:05.2"
};

struct CoverTexts {
    std::vector<CoverTitle> titles;
    std::string nextNumber;  // the number after the last title, which sizes the number column
    std::string totalMinutes;
    std::string totalLength;
};

// The texts of the titles of the entries.
CoverTexts coverTexts(const Selection& entries);

// The cover texts of the selected entries; with fewer than 2 or more than 49
// of them the user is told and there is no cover.
std::optional<CoverTexts> collectCoverTexts(const Selection& entries);

}  // namespace view

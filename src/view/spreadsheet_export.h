#pragma once

#include "view/selection.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace view {

// Sheet rows are numbered in 16 bits, so a worksheet holds at most this many.
inline constexpr std::size_t kMaxSpreadsheetRows = 65535;

// The Excel 2.1 worksheet (BIFF2) of the entries, one row each: title,
// artist, album, file size, genre name, comment. Texts are written as the
// Windows-1252 bytes the entries hold. Throws std::length_error for more
// than kMaxSpreadsheetRows entries.
std::vector<std::uint8_t> spreadsheetBytes(const Selection& entries);

}  // namespace view

#pragma once

#include "entry/column.h"

#include <optional>
#include <string>
#include <string_view>

namespace cli {

// A column given as its number (from 0) or its header, compared ignoring the
// case of ASCII letters; none when it is neither.
std::optional<Column> parseListColumn(std::string_view text);
// The numbers a column may be given as: "0-13".
std::string columnNumberRange();
// The headers in column order: "Datei, Pfad, ..., ©".
std::string columnHeaderList();

}  // namespace cli

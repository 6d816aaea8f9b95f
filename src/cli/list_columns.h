#pragma once

#include "entry/column.h"

#include <optional>
#include <string_view>

namespace cli {

// A column given as its number (0-13) or its header, compared ignoring the
// case of ASCII letters; none when it is neither.
std::optional<Column> parseListColumn(std::string_view text);

}  // namespace cli

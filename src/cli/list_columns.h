#pragma once

#include "entry/liedkram_entry.h"

#include <array>
#include <optional>
#include <string_view>

namespace cli {

// The headers of the list's fourteen columns, in column order.
inline constexpr std::array<std::string_view, kColumnCount> kListColumnNames = {
    "Datei", "Pfad", "Titel", "Interpret", "Album", "Größe", "Länge",
    "Genre", "Jahr", "Kommentar", "Track#", "Bitrate", "®", "©",
};

// A column given as its number (0-13) or its header, compared ignoring the
// case of ASCII letters; none when it is neither.
std::optional<int> parseListColumn(std::string_view text);

}  // namespace cli

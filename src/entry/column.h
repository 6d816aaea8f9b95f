#pragma once

#include <array>
#include <optional>
#include <string_view>

// The fourteen columns of the list, in their order: what the entry shows in
// each, how the list sorts by each, what the view and the CLI call them.
enum class Column : int {
    File,
    Path,
    Title,
    Artist,
    Album,
    Size,
    Length,
    Genre,
    Year,
    Comment,
    Track,
    Bitrate,
    Original,
    Copyright,
};

inline constexpr int kColumnCount = 14;

// Every column, in order.
const std::array<Column, kColumnCount>& allColumns();
// The column of a number 0-13; none for any other number.
std::optional<Column> columnAt(int number);
inline int columnNumber(Column column)
{
    return static_cast<int>(column);
}
// The column's header ("Datei", "Pfad", ..., "©"), UTF-8.
std::string_view columnHeader(Column column);

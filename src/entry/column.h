#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CLiedkramEntry;

// The columns of the list, in their order. Everything else about a column
// (its header, width, text and sort keys) is its row of the table in
// column.cpp, which every front reads.
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

// One past the last column.
inline constexpr int kColumnCount = static_cast<int>(Column::Copyright) + 1;

// How one sort key of a column orders two entries.
enum class KeyOrder {
    IgnoreCase,  // texts, ASCII letters in any case
    Bytes,  // texts, byte by byte
    FoldedName,  // the comparison forms of names (a leading article dropped), then as IgnoreCase
    Number,
};

// A text of the entry to sort by, Windows-1252 or file-system bytes as the
// entry holds them: a view into the entry, or into scratch for a text made
// on the way.
using KeyText = std::string_view (*)(const CLiedkramEntry& entry, std::string& scratch);
using KeyNumber = std::int64_t (*)(const CLiedkramEntry& entry);

// One key of a column: a text for the text orders, a number for Number.
struct SortKey {
    KeyOrder order = KeyOrder::Number;
    KeyText text = nullptr;
    KeyNumber number = nullptr;

    constexpr bool used() const { return text != nullptr || number != nullptr; }
};

// The text of a flag column whose bit is set; a clear bit shows "©".
inline constexpr std::string_view kFlagSetText = "ja";

struct ColumnInfo {
    Column column;
    std::string_view header;  // UTF-8
    int width;  // in the list, pixels
    bool printed;  // printing the list prints the column
    bool flag;  // shows a header bit ("ja" or "©"), drawn as a check box
    std::string (*text)(const CLiedkramEntry& entry);  // the cell text, UTF-8
    // In order: the first that differs decides; an unused key ends them.
    std::array<SortKey, 3> keys;
};

// Every column, in order.
const std::array<Column, kColumnCount>& allColumns();
// The column of a number 0 to kColumnCount - 1; none for any other number.
std::optional<Column> columnAt(int number);
constexpr int columnNumber(Column column)
{
    return static_cast<int>(column);
}
const ColumnInfo& columnInfo(Column column);
// The column's header ("Datei", "Pfad", ..., "©"), UTF-8.
std::string_view columnHeader(Column column);

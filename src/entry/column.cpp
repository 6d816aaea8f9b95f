#include "entry/column.h"

namespace {

constexpr std::array<std::string_view, kColumnCount> kHeaders = {
    "Datei", "Pfad", "Titel",     "Interpret", "Album",   "Größe", "Länge",
    "Genre", "Jahr", "Kommentar", "Track#",    "Bitrate", "®",     "©",
};

constexpr std::array<Column, kColumnCount> kColumns = {
    Column::File,  Column::Path, Column::Title,   Column::Artist, Column::Album,   Column::Size,     Column::Length,
    Column::Genre, Column::Year, Column::Comment, Column::Track,  Column::Bitrate, Column::Original, Column::Copyright,
};

}  // namespace

const std::array<Column, kColumnCount>& allColumns()
{
    return kColumns;
}

std::optional<Column> columnAt(int number)
{
    if (number < 0 || number >= kColumnCount)
        return std::nullopt;
    return kColumns[static_cast<std::size_t>(number)];
}

std::string_view columnHeader(Column column)
{
    return kHeaders.at(static_cast<std::size_t>(columnNumber(column)));
}

#include "entry/column.h"

#include "entry/liedkram_entry.h"
#include "platform/text.h"
#include "tags/id3v1.h"

#include <cstddef>

namespace {

constexpr std::string_view kFlagClearText = "\xC2\xA9";  // "©"

// The entry's values that columns show and sort by.

std::string_view fileName(const CLiedkramEntry& entry, std::string&)
{
    return entry.m_szFileName.view();
}
std::string_view path(const CLiedkramEntry& entry, std::string&)
{
    return entry.m_szPath.view();
}
std::string_view title(const CLiedkramEntry& entry, std::string&)
{
    return entry.m_szTitle.view();
}
std::string_view artist(const CLiedkramEntry& entry, std::string&)
{
    return entry.m_szArtist.view();
}
std::string_view album(const CLiedkramEntry& entry, std::string&)
{
    return entry.m_szAlbum.view();
}
std::string_view comment(const CLiedkramEntry& entry, std::string&)
{
    return entry.m_szComment.view();
}
std::string_view genre(const CLiedkramEntry& entry, std::string& scratch)
{
    scratch = entry.GetGenreText();
    return scratch;
}
std::string_view length(const CLiedkramEntry& entry, std::string& scratch)
{
    scratch = entry.GetLengthText();
    return scratch;
}
std::string_view bitrateText(const CLiedkramEntry& entry, std::string& scratch)
{
    scratch = entry.GetBitrateText();
    return scratch;
}

std::int64_t fileSize(const CLiedkramEntry& entry)
{
    return entry.m_nFileSize;
}
std::int64_t year(const CLiedkramEntry& entry)
{
    return entry.m_nYear;
}
std::int64_t track(const CLiedkramEntry& entry)
{
    return entry.m_nTrack;
}
std::int64_t bitrate(const CLiedkramEntry& entry)
{
    return entry.m_nBitrate;
}
std::int64_t original(const CLiedkramEntry& entry)
{
    return entry.IsOriginal() ? 1 : 0;
}
std::int64_t copyright(const CLiedkramEntry& entry)
{
    return entry.IsCopyright() ? 1 : 0;
}

// The cell texts made of those values.

template <KeyText value>
std::string bytesText(const CLiedkramEntry& entry)
{
    std::string scratch;
    return std::string(value(entry, scratch));
}

template <KeyText value>
std::string windowsText(const CLiedkramEntry& entry)
{
    std::string scratch;
    return platform::cp1252ToUtf8(value(entry, scratch));
}

// The number in decimal, nothing for the value that stands for none.
template <KeyNumber value, std::int64_t none>
std::string decimalOrNone(const CLiedkramEntry& entry)
{
    const std::int64_t number = value(entry);
    return number == none ? std::string() : std::to_string(number);
}

template <KeyNumber value>
std::string decimalText(const CLiedkramEntry& entry)
{
    return std::to_string(value(entry));
}

template <KeyNumber bit>
std::string flagText(const CLiedkramEntry& entry)
{
    return std::string(bit(entry) != 0 ? kFlagSetText : kFlagClearText);
}

constexpr SortKey ci(KeyText text)
{
    return {KeyOrder::IgnoreCase, text, nullptr};
}
constexpr SortKey bytes(KeyText text)
{
    return {KeyOrder::Bytes, text, nullptr};
}
constexpr SortKey folded(KeyText text)
{
    return {KeyOrder::FoldedName, text, nullptr};
}
constexpr SortKey number(KeyNumber value)
{
    return {KeyOrder::Number, nullptr, value};
}

// clang-format off
constexpr auto kTable = std::to_array<ColumnInfo>({
    // column          header       px   printed flag   text                                sort keys
    {Column::File,      "Datei",     200, true,  false, bytesText<fileName>,                {ci(fileName), ci(path)}},
    {Column::Path,      "Pfad",      70,  true,  false, bytesText<path>,                    {ci(path), ci(fileName)}},
    {Column::Title,     "Titel",     100, true,  false, windowsText<title>,                 {ci(title), ci(artist), ci(path)}},
    {Column::Artist,    "Interpret", 100, true,  false, windowsText<artist>,                {folded(artist), ci(title), ci(path)}},
    {Column::Album,     "Album",     100, true,  false, windowsText<album>,                 {ci(album), ci(title), ci(artist)}},
    {Column::Size,      "Größe",     60,  true,  false, decimalText<fileSize>,              {number(fileSize)}},
    {Column::Length,    "Länge",     60,  true,  false, bytesText<length>,                  {bytes(length)}},
    {Column::Genre,     "Genre",     50,  true,  false, windowsText<genre>,                 {bytes(genre), bytes(title), bytes(artist)}},
    {Column::Year,      "Jahr",      40,  true,  false, decimalOrNone<year, tags::kNoYear>, {number(year), bytes(fileName)}},
    {Column::Comment,   "Kommentar", 100, true,  false, windowsText<comment>,               {ci(comment)}},
    {Column::Track,     "Track#",    21,  true,  false, decimalOrNone<track, 0>,            {number(track)}},
    {Column::Bitrate,   "Bitrate",   30,  true,  false, bytesText<bitrateText>,             {number(bitrate)}},
    {Column::Original,  "®",         21,  false, true,  flagText<original>,                 {number(original)}},
    {Column::Copyright, "©",         21,  false, true,  flagText<copyright>,                {number(copyright)}},
});
// clang-format on

// A row per column, in the order of the enumeration: a row left out or put
// elsewhere would show one column's texts under another's header.
constexpr bool rowsInColumnOrder()
{
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (columnNumber(kTable[i].column) != static_cast<int>(i))
            return false;
    }
    return true;
}
static_assert(kTable.size() == kColumnCount, "the table has a row per column");
static_assert(rowsInColumnOrder(), "each row stands in the place of its column");

constexpr bool everyRowComplete()
{
    for (const ColumnInfo& info : kTable) {
        if (info.header.empty() || info.width <= 0 || !info.keys[0].used())
            return false;
        for (const SortKey& key : info.keys) {
            const bool wanted = key.order == KeyOrder::Number ? key.number != nullptr : key.text != nullptr;
            if (key.used() && !wanted)
                return false;
        }
    }
    return true;
}
static_assert(everyRowComplete(), "every column has a header, a width and a first sort key");

constexpr std::array<Column, kColumnCount> kColumns = [] {
    std::array<Column, kColumnCount> columns{};
    for (std::size_t i = 0; i < kTable.size(); ++i)
        columns[i] = kTable[i].column;
    return columns;
}();

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

const ColumnInfo& columnInfo(Column column)
{
    return kTable.at(static_cast<std::size_t>(columnNumber(column)));
}

std::string_view columnHeader(Column column)
{
    return columnInfo(column).header;
}

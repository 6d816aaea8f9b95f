#include "view/spreadsheet_export.h"

#include "entry/liedkram_entry.h"
#include "platform/byte_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace view {

using platform::ByteWriter;

namespace {

constexpr std::uint16_t kBof = 0x0009;
constexpr std::uint16_t kDimensions = 0x0000;
constexpr std::uint16_t kDefaultRowHeight = 0x0025;
constexpr std::uint16_t kColWidth = 0x0024;
constexpr std::uint16_t kRow = 0x0008;
constexpr std::uint16_t kLabel = 0x0004;
constexpr std::uint16_t kNumber = 0x0003;
constexpr std::uint16_t kEof = 0x000A;

constexpr std::uint16_t kBiffVersion = 0x0002;
constexpr std::uint16_t kWorksheet = 0x0010;
constexpr std::uint16_t kColumns = 6;
// 240 twips; bit 15 marks the height as the default one.
constexpr std::uint16_t kRowHeight = 0x80F0;
// Widths in 1/256 of a character: 20 characters for the data columns, 5 for the rest.
constexpr std::uint16_t kDataColumnWidth = 0x1400;
constexpr std::uint16_t kOtherColumnWidth = 0x0500;
constexpr std::uint8_t kLastColumn = 255;
constexpr std::size_t kRowsPerBlock = 32;
constexpr std::uint16_t kRowRecordSize = 17;
// The default cell attributes: locked, first format, first font, general alignment.
constexpr std::uint8_t kCellAttributes[] = {0x40, 0x00, 0x00};

void record(ByteWriter& out, std::uint16_t id, std::uint16_t length)
{
    out.u16(id);
    out.u16(length);
}

void label(ByteWriter& out, std::uint16_t row, std::uint16_t column, std::string_view text)
{
    // Entry texts hold at most 255 bytes, which the one-byte length covers.
    const auto length = static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), 255));
    record(out, kLabel, static_cast<std::uint16_t>(8 + length));
    out.u16(row);
    out.u16(column);
    out.bytes(kCellAttributes);
    out.u8(length);
    out.text(text.substr(0, length));
}

void number(ByteWriter& out, std::uint16_t row, std::uint16_t column, double value)
{
    record(out, kNumber, 15);
    out.u16(row);
    out.u16(column);
    out.bytes(kCellAttributes);
    out.f64(value);
}

void sheetHeader(ByteWriter& out, std::uint16_t rows)
{
    record(out, kBof, 4);
    out.u16(kBiffVersion);
    out.u16(kWorksheet);
    record(out, kDimensions, 8);
    out.u16(0);
    out.u16(rows);
    out.u16(0);
    out.u16(kColumns);
    record(out, kDefaultRowHeight, 2);
    out.u16(kRowHeight);
    for (std::uint8_t column = 0; column < kColumns; ++column) {
        record(out, kColWidth, 4);
        out.u8(column);
        out.u8(column);
        out.u16(kDataColumnWidth);
    }
    record(out, kColWidth, 4);
    out.u8(kColumns);
    out.u8(kLastColumn);
    out.u16(kOtherColumnWidth);
}

// The six cells of one sheet row, in column order.
std::vector<std::uint8_t> rowCells(const CLiedkramEntry& entry, std::uint16_t row)
{
    ByteWriter out;
    label(out, row, 0, entry.m_szTitle.view());
    label(out, row, 1, entry.m_szArtist.view());
    label(out, row, 2, entry.m_szAlbum.view());
    number(out, row, 3, entry.m_nFileSize);
    label(out, row, 4, entry.GetGenreText());
    label(out, row, 5, entry.m_szComment.view());
    return out.take();
}

void rowRecord(ByteWriter& out, std::uint16_t row, std::uint16_t offset)
{
    record(out, kRow, 13);
    out.u16(row);
    out.u16(0);
    out.u16(kColumns);
    out.u16(kRowHeight);
    out.u16(0);
    out.u8(0);
    out.u16(offset);
}

// A block's ROW records come first, so its cells are built before it is written.
void rowBlock(ByteWriter& out, const Selection& entries, std::size_t first, std::size_t count)
{
    std::vector<std::vector<std::uint8_t>> cells;
    cells.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        cells.push_back(rowCells(*entries[first + i], static_cast<std::uint16_t>(first + i)));
    for (std::size_t i = 0; i < count; ++i) {
        // The first row points past the block's ROW records; each later row
        // gives the length of the cells of the row before it.
        const std::size_t offset = i == 0 ? (count - 1) * kRowRecordSize : cells[i - 1].size();
        rowRecord(out, static_cast<std::uint16_t>(first + i), static_cast<std::uint16_t>(offset));
    }
    for (const auto& row : cells)
        out.bytes(row);
}

}  // namespace

std::vector<std::uint8_t> spreadsheetBytes(const Selection& entries)
{
    if (entries.size() > kMaxSpreadsheetRows)
        throw std::length_error("a worksheet holds at most 65535 rows");
    ByteWriter out;
    out.reserve(100 + entries.size() * 200);
    sheetHeader(out, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t first = 0; first < entries.size(); first += kRowsPerBlock)
        rowBlock(out, entries, first, std::min(kRowsPerBlock, entries.size() - first));
    record(out, kEof, 0);
    return out.take();
}

}  // namespace view

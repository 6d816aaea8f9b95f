#include "view/spreadsheet_export.h"

#include "platform/byte_reader.h"
#include "view_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using viewtest::Entries;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes ascii(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// The records of a BIFF stream: id and data, read through the bounds-checked reader.
struct Record {
    std::uint16_t id;
    Bytes data;
};

std::vector<Record> records(const Bytes& stream)
{
    const platform::ByteReader reader(stream);
    std::vector<Record> found;
    std::size_t at = 0;
    while (at < reader.size()) {
        const std::uint16_t id = reader.u16le(at);
        const std::uint16_t length = reader.u16le(at + 2);
        const auto data = reader.bytes(at + 4, length);
        found.push_back({id, Bytes(data.begin(), data.end())});
        at += 4 + length;
    }
    return found;
}

std::uint16_t u16At(const Bytes& data, std::size_t offset)
{
    return platform::ByteReader(data).u16le(offset);
}

const Bytes kSheetStart = {
    0x09, 0x00, 0x04, 0x00, 0x02, 0x00, 0x10, 0x00,  // BOF
};
const Bytes kSheetSettings = {
    0x25, 0x00, 0x02, 0x00, 0xF0, 0x80,  // DEFAULTROWHEIGHT
    0x24, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x14,  // COLWIDTH 0
    0x24, 0x00, 0x04, 0x00, 0x01, 0x01, 0x00, 0x14,  //          1
    0x24, 0x00, 0x04, 0x00, 0x02, 0x02, 0x00, 0x14,  //          2
    0x24, 0x00, 0x04, 0x00, 0x03, 0x03, 0x00, 0x14,  //          3
    0x24, 0x00, 0x04, 0x00, 0x04, 0x04, 0x00, 0x14,  //          4
    0x24, 0x00, 0x04, 0x00, 0x05, 0x05, 0x00, 0x14,  //          5
    0x24, 0x00, 0x04, 0x00, 0x06, 0xFF, 0x00, 0x05,  //          6-255
};

}  // namespace

TEST(Spreadsheet, OneRowIsWrittenByteForByte)
{
    Entries entries;
    CLiedkramEntry& yesterday = entries.add("The Beatles", "Yesterday");
    yesterday.m_szAlbum = "Help";
    yesterday.m_nFileSize = 4194304;
    yesterday.m_nGenre = 17;

    const Bytes expected =
        kSheetStart + Bytes{0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x00} +  // DIMENSIONS
        kSheetSettings +
        Bytes{0x08, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00, 0xF0, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00} +
        Bytes{0x04, 0x00, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x09} + ascii("Yesterday") +
        Bytes{0x04, 0x00, 0x13, 0x00, 0x00, 0x00, 0x01, 0x00, 0x40, 0x00, 0x00, 0x0B} + ascii("The Beatles") +
        Bytes{0x04, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x02, 0x00, 0x40, 0x00, 0x00, 0x04} + ascii("Help") +
        Bytes{0x03, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x03, 0x00, 0x40, 0x00,
              0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x50, 0x41} +
        Bytes{0x04, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x04, 0x00, 0x40, 0x00, 0x00, 0x04} + ascii("Rock") +
        Bytes{0x04, 0x00, 0x08, 0x00, 0x00, 0x00, 0x05, 0x00, 0x40, 0x00, 0x00, 0x00} +  // empty comment
        Bytes{0x0A, 0x00, 0x00, 0x00};  // EOF

    EXPECT_EQ(view::spreadsheetBytes(entries.selection()), expected);
}

TEST(Spreadsheet, TagTextsAreTheirWindows1252Bytes)
{
    Entries entries;
    entries.add("Bj\xF6rk", "\x80 & \xE9t\xE9").m_nGenre = -1;
    const auto cells = records(view::spreadsheetBytes(entries.selection()));
    ASSERT_EQ(cells.size(), 10u + 1 + 6 + 1);

    EXPECT_EQ(cells[11].data, (Bytes{0, 0, 0, 0, 0x40, 0, 0, 7, 0x80, ' ', '&', ' ', 0xE9, 't', 0xE9}));
    EXPECT_EQ(cells[12].data, (Bytes{0, 0, 1, 0, 0x40, 0, 0, 5, 'B', 'j', 0xF6, 'r', 'k'}));
    EXPECT_EQ(cells[15].data, (Bytes{0, 0, 4, 0, 0x40, 0, 0, 0}));  // no genre: an empty label
}

TEST(Spreadsheet, RowsComeInBlocksOf32WithTheirOffsets)
{
    Entries entries;
    for (int i = 0; i < 33; ++i)
        entries.add("Artist", std::string(static_cast<std::size_t>(i % 7 + 1), 'x')).m_nFileSize = i;
    const auto found = records(view::spreadsheetBytes(entries.selection()));

    ASSERT_EQ(found.size(), 10u + 32 + 32 * 6 + 1 + 6 + 1);
    EXPECT_EQ(u16At(found[1].data, 2), 33);  // DIMENSIONS: last row plus one

    // The cells of a row: five labels of 12 bytes plus their text, one 19-byte number.
    const auto cellBytes = [](int row) { return 5 * 12 + (row % 7 + 1) + 6 + 19; };
    std::size_t at = 10;
    for (int row = 0; row < 32; ++row, ++at) {
        ASSERT_EQ(found[at].id, 0x0008) << "row " << row;
        EXPECT_EQ(found[at].data.size(), 13u);
        EXPECT_EQ(u16At(found[at].data, 0), row);
        EXPECT_EQ(u16At(found[at].data, 11), row == 0 ? 527 : cellBytes(row - 1)) << "row " << row;
    }
    for (int row = 0; row < 32; ++row) {
        for (int column = 0; column < 6; ++column, ++at) {
            ASSERT_EQ(found[at].id, column == 3 ? 0x0003 : 0x0004);
            EXPECT_EQ(u16At(found[at].data, 0), row);
            EXPECT_EQ(u16At(found[at].data, 2), column);
        }
    }
    ASSERT_EQ(found[at].id, 0x0008);
    EXPECT_EQ(u16At(found[at].data, 0), 32);
    EXPECT_EQ(u16At(found[at].data, 11), 0);
    ++at;
    for (int column = 0; column < 6; ++column, ++at)
        EXPECT_EQ(u16At(found[at].data, 0), 32);
    EXPECT_EQ(found[at].id, 0x000A);
    EXPECT_TRUE(found[at].data.empty());
}

TEST(Spreadsheet, HoldsAtMost65535Rows)
{
    Entries entries;
    entries.add("A", "B");
    const view::Selection most(view::kMaxSpreadsheetRows, entries.selection().front());
    const auto sheet = view::spreadsheetBytes(most);
    const platform::ByteReader reader(sheet);
    EXPECT_EQ(reader.u16le(14), 65535);  // DIMENSIONS: last row plus one
    // Each row: a 17-byte ROW record and cells of 5 * 12 + 2 + 19 bytes.
    constexpr std::size_t kRowBytes = 17 + 81;
    EXPECT_EQ(sheet.size(), 82 + 65535 * kRowBytes + 4);  // 82 bytes of sheet header
    const std::size_t lastBlock = sheet.size() - 4 - 31 * kRowBytes;
    EXPECT_EQ(reader.u16le(lastBlock), 0x0008);
    EXPECT_EQ(reader.u16le(lastBlock + 4), 65504);  // the last block's 31 rows
    EXPECT_EQ(reader.u16le(lastBlock + 30 * 17 + 4), 65534);

    const view::Selection tooMany(view::kMaxSpreadsheetRows + 1, entries.selection().front());
    EXPECT_THROW(view::spreadsheetBytes(tooMany), std::length_error);
}

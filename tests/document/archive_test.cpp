#include "document/list_file.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/byte_reader.h"
#include "platform/random_reader.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"

#include <gtest/gtest.h>

using entry::ArchiveFormatError;
using entry::ArchiveReader;
using entry::ArchiveWriter;
using testsupport::Bytes;

namespace {

Bytes stringBytes(const std::string& text)
{
    ArchiveWriter writer;
    writer.writeString(text);
    return writer.bytes();
}

}  // namespace

TEST(Archive, StringLengthScheme)
{
    EXPECT_EQ(stringBytes(""), Bytes{0});
    EXPECT_EQ(stringBytes(std::string(254, 'c')).front(), 0xFE);
    const auto at255 = stringBytes(std::string(255, 'c'));
    EXPECT_EQ(Bytes(at255.begin(), at255.begin() + 3), (Bytes{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(at255.size(), 258u);
    const auto at65533 = stringBytes(std::string(65533, 'c'));
    EXPECT_EQ(Bytes(at65533.begin(), at65533.begin() + 3), (Bytes{0xFF, 0xFD, 0xFF}));
    const auto at65534 = stringBytes(std::string(65534, 'c'));
    EXPECT_EQ(Bytes(at65534.begin(), at65534.begin() + 7), (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    for (const std::size_t length : {0u, 1u, 254u, 255u, 65533u, 65534u, 70000u}) {
        const auto bytes = stringBytes(std::string(length, 'x'));
        ArchiveReader reader(bytes);
        EXPECT_EQ(reader.readString().size(), length);
        EXPECT_EQ(reader.remaining(), 0u);
    }
}

TEST(Archive, ReadsUtf16StringsAsWindows1252)
{
    const Bytes bytes = {0xFF, 0xFE, 0xFF, 3, 'A', 0, 0xE4, 0, 0xAC, 0x20};
    ArchiveReader reader(bytes);
    EXPECT_EQ(reader.readString(), "A\xE4\x80");
    const Bytes unmappable = {0xFF, 0xFE, 0xFF, 1, 0xE5, 0x65};
    ArchiveReader other(unmappable);
    EXPECT_EQ(other.readString(), "?");
}

TEST(Archive, LengthsBeyondTheDataFailWithoutAllocating)
{
    const Bytes huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    ArchiveReader reader(huge);
    EXPECT_THROW(reader.readString(), platform::OutOfBytes);
    const Bytes hugeUtf16 = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    ArchiveReader wide(hugeUtf16);
    EXPECT_THROW(wide.readString(), platform::OutOfBytes);
    const Bytes twoMarks = {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0};
    ArchiveReader marks(twoMarks);
    EXPECT_THROW(marks.readString(), ArchiveFormatError);
    const Bytes three = {1, 2, 3};
    ArchiveReader shortNumber(three);
    EXPECT_THROW(shortNumber.readI32(), platform::OutOfBytes);
    EXPECT_EQ(ArchiveFormatError().what(), std::string("Unexpected file format."));
}

TEST(Archive, ReadFromASourceInPiecesGivesWhatTheWholeBytesGive)
{
    // Strings of every length scheme, crossing the boundaries of the pieces
    // read at a time, several pieces long in all.
    ArchiveWriter writer;
    std::vector<std::string> written;
    for (int i = 0; i < 3000; ++i) {
        const std::size_t length = i % 97 == 0 ? 70000 + i : (i % 7 == 0 ? 300 + i : i % 50);
        written.push_back(std::string(length, static_cast<char>('a' + i % 26)));
        writer.writeString(written.back());
        writer.writeI32(i);
    }
    const Bytes& bytes = writer.bytes();
    ASSERT_GT(bytes.size(), 2u << 20);
    platform::MemoryReader source(bytes);
    ArchiveReader pieces(source, bytes.size());
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(pieces.readString(), written[static_cast<std::size_t>(i)]) << i;
        ASSERT_EQ(pieces.readI32(), i);
    }
    EXPECT_EQ(pieces.remaining(), 0u);
    EXPECT_THROW(pieces.readU8(), platform::OutOfBytes);

    // A source that holds less than it was said to: the file shrank.
    const std::span<const std::uint8_t> all(bytes);
    platform::MemoryReader shorter(all.first(bytes.size() - 10));
    ArchiveReader cut(shorter, bytes.size());
    const auto readAll = [&cut] {
        for (int i = 0; i < 3000; ++i) {
            cut.readString();
            cut.readI32();
        }
    };
    EXPECT_THROW(readAll(), platform::OutOfBytes);
}

TEST(EntryRecord, IsTheSixStringsAndFortyTwoBytes)
{
    testsupport::ScopedSeams seams;
    CLiedkramEntry entry;
    entry.m_szFileName = "a.mp3";
    entry.m_nFileSize = 0x01020304;
    entry.m_nGenre = -1;
    entry.m_nYear = 1900;
    entry.m_dwHeader = 0x4490FBFF;
    entry.m_nLengthMs = 5;
    entry.m_nBitrate = 128000;
    entry.m_nFrames = 7;
    entry.m_nAudioStart = 0;
    entry.m_nAudioEnd = 9;
    entry.m_nFlags = ENTRY_TAG_DIRTY;
    entry.m_bVerified = 1;
    entry.m_nTrack = 12;
    ArchiveWriter writer;
    entry.Serialize(writer);
    const Bytes expected = {5,    'a',  '.',  'm',  'p',  '3',  0,    0, 0, 0,    0,    0x04, 0x03, 0x02,
                            0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x6C, 0x07, 0, 0, 0xFF, 0xFB, 0x90, 0x44, 5,
                            0,    0,    0,    0x00, 0xF4, 0x01, 0,    7, 0, 0,    0,    0,    0,    0,
                            0,    9,    0,    0,    0,    1,    0,    0, 0, 1,    12};
    EXPECT_EQ(writer.bytes(), expected);
}

TEST(EntryRecord, RoundTripAndCutFlagsFromTheSettingsOfTheListReader)
{
    testsupport::ScopedSeams seams;
    CLiedkramEntry entry;
    entry.m_szFileName = "Bj\xC3\xB6rk.mp3";
    entry.m_szPath = "/home/a";
    entry.m_szTitle = "t";
    entry.m_szArtist = "\xE4";
    entry.m_szAlbum = "al";
    entry.m_szComment = std::string(255, 'c');
    entry.m_nFileSize = 1000;
    entry.m_nGenre = 17;
    entry.m_nYear = 2001;
    entry.m_dwHeader = 0x4490FBFF;
    entry.m_nLengthMs = 1;
    entry.m_nBitrate = 2;
    entry.m_nFrames = 3;
    entry.m_nAudioStart = 100;
    entry.m_nAudioEnd = 1000;
    entry.m_nFlags = ENTRY_RENAME | ENTRY_SCAN_ERROR;
    entry.m_bVerified = 1;
    entry.m_bHasId3v2 = 1;
    entry.m_nTrack = 3;
    entry.m_strNewName = "not stored";
    ArchiveWriter writer;
    entry.Serialize(writer);

    // The record alone is read as it was stored, whatever the settings.
    CLiedkramEntry same;
    ArchiveReader reader(writer.bytes());
    same.Serialize(reader);
    EXPECT_EQ(same.m_szFileName, entry.m_szFileName);
    EXPECT_EQ(same.m_szComment, entry.m_szComment);
    EXPECT_EQ(same.m_szArtist, entry.m_szArtist);
    EXPECT_EQ(same.m_nFlags, entry.m_nFlags);
    EXPECT_EQ(same.m_nTrack, 3);
    EXPECT_EQ(same.m_bHasId3v2, 0);
    EXPECT_EQ(same.m_strNewName, "");
    for (const Column column : allColumns())
        EXPECT_EQ(same.GetColumnText(column), entry.GetColumnText(column)) << columnNumber(column);

    // Reading a list marks the cuts the reader's settings ask for.
    ArchiveWriter list;
    list.writeI32(1);
    entry.Serialize(list);
    const auto flagsRead = [&list](const platform::RepairSettings& settings) {
        ArchiveReader again(list.bytes());
        std::uint32_t flags = 0;
        document::readListRecords(again, settings, [&flags](std::unique_ptr<CLiedkramEntry> read) {
            flags = read->m_nFlags;
            return true;
        });
        return flags;
    };
    platform::RepairSettings settings;
    settings.cutFront = false;
    EXPECT_EQ(flagsRead(settings), ENTRY_RENAME | ENTRY_SCAN_ERROR);
    settings.cutFront = true;
    EXPECT_EQ(flagsRead(settings), ENTRY_RENAME | ENTRY_SCAN_ERROR | ENTRY_CUT_FRONT);
}

TEST(EntryRecord, LongTagTextsAreCutOnReadingButPathsStayWhole)
{
    testsupport::ScopedSeams seams;
    ArchiveWriter writer;
    writer.writeString(std::string(300, 'f'));
    writer.writeString("/" + std::string(600, 'p'));
    writer.writeString(std::string(300, 't'));
    for (int i = 0; i < 3; ++i)
        writer.writeString("");
    for (int i = 0; i < 40; ++i)
        writer.writeU8(0);
    writer.writeU8(0);
    writer.writeU8(0);
    CLiedkramEntry entry;
    ArchiveReader reader(writer.bytes());
    entry.Serialize(reader);
    EXPECT_EQ(entry.m_szFileName.size(), 300u);
    EXPECT_EQ(entry.m_szPath.size(), 601u);
    EXPECT_EQ(entry.m_szTitle.size(), 255u);

    // Written back whole, in the long form of the string scheme.
    ArchiveWriter again;
    entry.Serialize(again);
    ArchiveReader back(again.bytes());
    CLiedkramEntry same;
    same.Serialize(back);
    EXPECT_EQ(same.GetFullPath(), entry.GetFullPath());
}

TEST(EntryRecord, OffsetsThatDoNotFitTheFileAreReadAndMarkedForARescan)
{
    testsupport::ScopedSeams seams;
    struct Numbers {
        std::int32_t size, start, end, lengthMs, frames;
    };
    const Numbers impossible[] = {
        {2147483647, 0, -1, 0, 0},  // an end before the start
        {1000, 600, 500, 0, 0},  // a start behind the end
        {1000, 0, 1001, 0, 0},  // an end behind the file
        {1000, -5, 1000, 0, 0},    {1000, 0, 1000, -1, 0}, {1000, 0, 1000, 0, -1},
    };
    for (const auto& n : impossible) {
        ArchiveWriter writer;
        for (int i = 0; i < 6; ++i)
            writer.writeString("x");
        writer.writeI32(n.size);
        writer.writeI32(-1);
        writer.writeI32(1900);
        writer.writeU32(0x4490FBFF);
        writer.writeI32(n.lengthMs);
        writer.writeI32(128000);
        writer.writeI32(n.frames);
        writer.writeI32(n.start);
        writer.writeI32(n.end);
        writer.writeU32(0);
        writer.writeU8(1);
        writer.writeU8(0);
        CLiedkramEntry entry;
        ArchiveReader reader(writer.bytes());
        ASSERT_NO_THROW(entry.Serialize(reader)) << n.size << " " << n.start << " " << n.end;
        EXPECT_TRUE(entry.m_bNeedsRescan);
        EXPECT_EQ(entry.m_bVerified, 0) << "a record that lies verified nothing";
        EXPECT_EQ(entry.m_nAudioStart, n.start) << "kept as stored, so the list is written back as it was";
        EXPECT_EQ(entry.m_nFlags & (ENTRY_CUT_FRONT | ENTRY_CUT_BACK), 0u);
        EXPECT_FALSE(entry.GetLengthText().empty());
    }
}

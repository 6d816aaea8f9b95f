#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

CLiedkramEntry entryWithHeader(const testsupport::HeaderSpec& kind = {})
{
    CLiedkramEntry entry;
    entry.m_dwHeader = testsupport::headerWord(kind);
    return entry;
}

std::string lengthText(int ms)
{
    CLiedkramEntry entry;
    entry.m_nLengthMs = ms;
    return entry.GetLengthText();
}

std::string bitrateText(int bitrate)
{
    CLiedkramEntry entry;
    entry.m_nBitrate = bitrate;
    return entry.GetBitrateText();
}

}  // namespace

TEST(CLiedkramEntry, ConstructionSplitsThePathAtTheLastSeparator)
{
    testsupport::ScopedSeams seams;
    const CLiedkramEntry entry("/nonexistent/Musik/01 - A - B.mp3", platform::readRepairSettings());
    EXPECT_EQ(entry.m_szPath, "/nonexistent/Musik");
    EXPECT_EQ(entry.m_szFileName, "01 - A - B.mp3");
    EXPECT_EQ(entry.GetFullPath(), "/nonexistent/Musik/01 - A - B.mp3");
    EXPECT_TRUE(entry.m_strNewName.empty());
    EXPECT_EQ(entry.m_dwHeader, 0u);

    const CLiedkramEntry root("/nonexistent.mp3", platform::readRepairSettings());
    EXPECT_EQ(root.m_szPath, "");
    EXPECT_EQ(root.GetFullPath(), "/nonexistent.mp3");
}

TEST(CLiedkramEntry, DefaultConstructionStartsEmpty)
{
    const CLiedkramEntry entry;
    EXPECT_TRUE(entry.m_szFileName.empty());
    EXPECT_EQ(entry.m_nAudioStart, 0);
    EXPECT_EQ(entry.m_nAudioEnd, 0);
    EXPECT_EQ(entry.m_nFlags, 0u);
    EXPECT_EQ(entry.m_bVerified, 0);
    EXPECT_EQ(entry.m_bHasId3v2, 0);
    EXPECT_EQ(entry.m_dwHeader, 0u);
}

TEST(CLiedkramEntry, TextsAreCutTo255Bytes)
{
    CLiedkramEntry entry;
    entry.m_szTitle = std::string(300, 'x');
    EXPECT_EQ(entry.m_szTitle.size(), 255u);
    entry.m_szComment = std::string(250, 'c');
    entry.m_szComment.append(", more than fits");
    EXPECT_EQ(entry.m_szComment.view(), std::string(250, 'c') + ", mor");
    EXPECT_EQ(entry.m_szComment.c_str()[255], '\0');
    entry.m_szAlbum = std::string_view("in\0side", 7);
    EXPECT_EQ(entry.m_szAlbum, "in");
}

TEST(CLiedkramEntry, TextsOfEveryLengthSurviveCopiesMovesAndSelfAssignment)
{
    // Around the length kept in place and the one kept on the heap.
    for (const std::size_t length : {0u, 1u, 14u, 15u, 16u, 17u, 100u, 255u, 5000u}) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text.push_back(static_cast<char>('a' + i % 26));
        PathField field(text);
        EXPECT_EQ(field.view(), text) << length;
        EXPECT_EQ(std::string(field.c_str()), text) << length;
        EXPECT_EQ(field.size(), length);
        EXPECT_EQ(field.empty(), length == 0);

        PathField copy(field);
        PathField moved(std::move(copy));
        EXPECT_EQ(moved.view(), text) << length;
        EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
        EXPECT_EQ(copy.c_str()[0], '\0');

        // Shorter, longer and its own part: the old bytes are read before they go.
        PathField other("x");
        other = moved;
        EXPECT_EQ(other.view(), text);
        other = std::move(moved);
        EXPECT_EQ(other.view(), text);
        other = other.view().substr(length / 2);
        EXPECT_EQ(other.view(), text.substr(length / 2)) << length;
        EXPECT_EQ(std::string(other.c_str()), text.substr(length / 2)) << length;
        TextField tag(text);
        tag.append(tag.view());
        EXPECT_EQ(tag.view(), (text + text).substr(0, std::min<std::size_t>(255, 2 * length))) << length;
    }
}

TEST(CLiedkramEntry, HeaderAccessors)
{
    testsupport::HeaderSpec kind;
    kind.crc = true;
    kind.mode = 3;
    kind.emphasis = 3;
    const auto entry = entryWithHeader(kind);
    EXPECT_EQ(entry.GetSampleRate(), 44100);
    EXPECT_EQ(entry.GetFormatText(), "mpeg-1.0 layer-3");
    EXPECT_EQ(entry.GetModeText(), "Mono");
    EXPECT_EQ(entry.GetEmphasisText(), "CITT j.17");
    EXPECT_EQ(entry.GetProtectionBit(), 0);
    EXPECT_TRUE(entry.IsOriginal());
    EXPECT_FALSE(entry.IsCopyright());

    testsupport::HeaderSpec mpeg2;
    mpeg2.version = mpeg::kVersion2;
    mpeg2.bitrateIndex = 8;
    EXPECT_EQ(entryWithHeader(mpeg2).GetFormatText(), "mpeg-2.0 layer-3");
    EXPECT_EQ(entryWithHeader(mpeg2).GetSampleRate(), 22050);
}

TEST(CLiedkramEntry, SettingABitMarksTheHeadersOnlyWhenItChanges)
{
    testsupport::HeaderSpec plain;
    plain.original = false;
    auto entry = entryWithHeader(plain);
    entry.m_nFlags = ENTRY_TAG_DIRTY;
    entry.SetOriginal(0);
    entry.SetCopyright(0);
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY);

    entry.SetOriginal(1);
    EXPECT_TRUE(entry.IsOriginal());
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY | ENTRY_HEADER_DIRTY);

    auto copyrighted = entryWithHeader();
    copyrighted.SetCopyright(1);
    EXPECT_TRUE(copyrighted.IsCopyright());
    EXPECT_EQ(copyrighted.m_nFlags, ENTRY_HEADER_DIRTY);
    copyrighted.m_nFlags = 0;
    copyrighted.SetCopyright(1);
    EXPECT_EQ(copyrighted.m_nFlags, 0u);
}

TEST(CLiedkramEntry, LengthText)
{
    EXPECT_EQ(lengthText(245678), "4:05.6");
    EXPECT_EQ(lengthText(180000), "3:00.0");
    EXPECT_EQ(lengthText(59999), "0:59.9");
    EXPECT_EQ(lengthText(3600000), "60:00.0");
    EXPECT_EQ(lengthText(0), "0:00.0");
    EXPECT_EQ(lengthText(INT_MAX), "35791:23.6");
}

TEST(CLiedkramEntry, BitrateTextCutsDigitsWithoutRounding)
{
    EXPECT_EQ(bitrateText(128000), "128");
    EXPECT_EQ(bitrateText(127999), "127.99");
    EXPECT_EQ(bitrateText(127523), "127.52");
    EXPECT_EQ(bitrateText(1000), "1");
    EXPECT_EQ(bitrateText(0), "0");
    EXPECT_EQ(bitrateText(128005), "128.00");
}

TEST(CLiedkramEntry, ColumnTexts)
{
    testsupport::HeaderSpec kind;
    kind.copyright = true;
    kind.original = false;
    auto entry = entryWithHeader(kind);
    entry.m_szFileName = "Gr\xC3\xB6\xC3\x9F"
                         "e.mp3";  // UTF-8 on disk
    entry.m_szPath = "/m";
    entry.m_szTitle = "Gr\xF6\xDF"
                      "e";  // Windows-1252 in the tag
    entry.m_szArtist = "A";
    entry.m_szAlbum = "B";
    entry.m_szComment = "\x80 5";
    entry.m_nFileSize = 4000000;
    entry.m_nLengthMs = 245678;
    entry.m_nGenre = 148;
    entry.m_nYear = 1999;
    entry.m_nTrack = 12;
    entry.m_nBitrate = 192000;

    EXPECT_EQ(entry.GetColumnText(Column::File), "Gr\xC3\xB6\xC3\x9F"
                                                 "e.mp3");
    EXPECT_EQ(entry.GetColumnText(Column::Path), "/m");
    EXPECT_EQ(entry.GetColumnText(Column::Title), "Gr\xC3\xB6\xC3\x9F"
                                                  "e");
    EXPECT_EQ(entry.GetColumnText(Column::Artist), "A");
    EXPECT_EQ(entry.GetColumnText(Column::Album), "B");
    EXPECT_EQ(entry.GetColumnText(Column::Size), "4000000");
    EXPECT_EQ(entry.GetColumnText(Column::Length), "4:05.6");
    EXPECT_EQ(entry.GetColumnText(Column::Genre), "none");
    EXPECT_EQ(entry.GetColumnText(Column::Year), "1999");
    EXPECT_EQ(entry.GetColumnText(Column::Comment), "\xE2\x82\xAC 5");
    EXPECT_EQ(entry.GetColumnText(Column::Track), "12");
    EXPECT_EQ(entry.GetColumnText(Column::Bitrate), "192");
    EXPECT_EQ(entry.GetColumnText(Column::Original), "\xC2\xA9");
    EXPECT_EQ(entry.GetColumnText(Column::Copyright), "ja");
}

TEST(CLiedkramEntry, EmptyCellsForNoYearTrackOrGenre)
{
    auto entry = entryWithHeader();
    entry.m_nYear = 1900;
    entry.m_nTrack = 0;
    entry.m_nGenre = -1;
    EXPECT_EQ(entry.GetColumnText(Column::Genre), "");
    EXPECT_EQ(entry.GetColumnText(Column::Year), "");
    EXPECT_EQ(entry.GetColumnText(Column::Track), "");
    EXPECT_EQ(entry.GetColumnText(Column::Original), "ja");
    EXPECT_EQ(entry.GetColumnText(Column::Copyright), "\xC2\xA9");
}

TEST(CLiedkramEntry, LargeSizesAndOddYearsDoNotOverflow)
{
    CLiedkramEntry entry;
    entry.m_nFileSize = 2000000000;
    entry.m_nYear = -12345;
    entry.m_nTrack = 255;
    EXPECT_EQ(entry.GetColumnText(Column::Size), "2000000000");
    EXPECT_EQ(entry.GetColumnText(Column::Year), "-12345");
    EXPECT_EQ(entry.GetColumnText(Column::Track), "255");
    entry.m_nYear = INT_MIN;
    entry.m_nFileSize = INT_MIN;
    EXPECT_EQ(entry.GetColumnText(Column::Year), std::to_string(INT_MIN));
    EXPECT_EQ(entry.GetColumnText(Column::Size), std::to_string(INT_MIN));
}

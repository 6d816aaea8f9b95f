#include "cli/scan_table.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"
#include "table_fields.h"
#include "tags/tag_kinds.h"

#include <gtest/gtest.h>

using clitest::fieldsOf;

TEST(ScanTable, EscapesWhatWouldBreakFieldsOrLines)
{
    EXPECT_EQ(cli::escapeField("a\tb\rc\nd\\e"), "a\\tb\\rc\\nd\\\\e");
    EXPECT_EQ(cli::escapeField("\\n"), "\\\\n");
    EXPECT_EQ(cli::escapeField("Größe ©"), "Größe ©");
    // Nothing a terminal would act on: escape sequences, bell, delete, C1.
    EXPECT_EQ(cli::escapeField("\x1b[2J\x07\x7f\xc2\x9b"
                               "31m\x01"),
              "\\x1b[2J\\x07\\x7f\\xc2\\x9b31m\\x01");
    EXPECT_EQ(platform::terminalText("Frage?\n\tx\r\n\x1b]0;title\x07"), "Frage?\n\tx\r\n\\x1b]0;title\\x07");
}

TEST(ScanTable, HeaderNamesTheListColumnsThenTheTechnicalFields)
{
    EXPECT_EQ(cli::scanHeader(),
              "Datei\tPfad\tTitel\tInterpret\tAlbum\tGröße\tLänge\tGenre\tJahr\tKommentar\tTrack#\tBitrate\t®\t©\t"
              "AudioStart\tAudioEnd\tFrames\tLengthMs\tBitrateBps\tHeader\tFlags\tVerified\tHasId3v2\tSampleRate\t"
              "Format\tMode\tTags\n");
}

TEST(ScanTable, RowHoldsEveryFieldOfTheEntryEscaped)
{
    CLiedkramEntry entry;
    entry.m_szFileName = "tab\there.mp3";
    entry.m_szPath = "/music";
    entry.m_szTitle = "Line\none";
    entry.m_szArtist = "Back\\slash";
    entry.m_nFileSize = 1234567;
    entry.m_nAudioStart = 417;
    entry.m_nAudioEnd = 1234439;
    entry.m_nFrames = 2950;
    entry.m_nLengthMs = 77061;
    entry.m_nBitrate = 128000;
    entry.m_dwHeader = 0x4490fbff;
    entry.m_nFlags = 0x05;
    entry.m_bVerified = 1;
    entry.m_nTagKinds = tags::kTagId3v24 | tags::kTagApeV2 | tags::kTagId3v1;

    const auto fields = fieldsOf(cli::scanRow(entry));
    ASSERT_EQ(fields.size(), 27u);
    EXPECT_EQ(fields[0], "tab\\there.mp3");
    EXPECT_EQ(fields[1], "/music");
    EXPECT_EQ(fields[2], "Line\\none");
    EXPECT_EQ(fields[3], "Back\\\\slash");
    EXPECT_EQ(fields[5], "1234567");
    EXPECT_EQ(fields[6], "1:17.0");
    EXPECT_EQ(fields[8], "");  // year 1900 shows empty
    EXPECT_EQ(fields[13], "©");
    const std::vector<std::string> technical(fields.begin() + 14, fields.begin() + 24);
    EXPECT_EQ(technical, (std::vector<std::string>{"417", "1234439", "2950", "77061", "128000", "4490fbff", "05", "1",
                                                   "0", "44100"}));
    EXPECT_EQ(fields[24], entry.GetFormatText());
    EXPECT_EQ(fields[25], entry.GetModeText());
    EXPECT_EQ(fields[26], "ID3v2.4 APEv2 ID3v1");
}

TEST(ScanTable, FixTableAddsTheProposedNameBehindTheScanColumns)
{
    const std::string scanHeader = cli::scanHeader();
    EXPECT_EQ(cli::fixHeader(), scanHeader.substr(0, scanHeader.size() - 1) + "\tNewName\n");

    CLiedkramEntry entry;
    entry.m_szFileName = "old.mp3";
    entry.m_szPath = "/music";
    entry.m_dwHeader = 0x4490fbff;
    entry.m_nFlags = 0x10;
    entry.m_strNewName = "New\tName.mp3";
    auto fields = fieldsOf(cli::fixRow(entry));
    ASSERT_EQ(fields.size(), 28u);
    EXPECT_EQ(fields.back(), "New\\tName.mp3");
    fields.pop_back();
    EXPECT_EQ(fields, fieldsOf(cli::scanRow(entry)));
}

#include "view/export_commands.h"

#include "support/seam_fixture.h"
#include "support/temp_dir.h"
#include "view_entries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using testsupport::Bytes;
using testsupport::readFile;
using testsupport::TempDir;
using view::ExportKind;
using viewtest::Entries;

namespace {

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::vector<std::string> namesIn(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(directory))
        names.push_back(item.path().filename().string());
    return names;
}

}  // namespace

TEST(LineExports, PlaylistHoldsFullPathsInRowOrder)
{
    Entries entries;
    CLiedkramEntry& first = entries.add("Zappa", "Peaches");
    first.m_szPath = "/home/anna/Musik";
    first.m_szFileName = "Zappa - Peaches en R\xC3\xA9galia.mp3";  // a UTF-8 file name stays as it is
    CLiedkramEntry& root = entries.add("Abba", "SOS");
    root.m_szPath = "";
    root.m_szFileName = "sos.mp3";

    EXPECT_EQ(view::exportBytes(ExportKind::Playlist, entries.selection()),
              bytesOf("/home/anna/Musik/Zappa - Peaches en R\xC3\xA9galia.mp3\r\n/sos.mp3\r\n"));
    EXPECT_TRUE(view::exportBytes(ExportKind::Playlist, {}).empty());
}

TEST(LineExports, NameListHoldsBareFileNames)
{
    Entries entries;
    entries.add("C", "three");
    entries.add("A", "one");
    entries.add("B", "two");
    EXPECT_EQ(view::exportBytes(ExportKind::NameList, entries.selection()),
              bytesOf("C - three.mp3\r\nA - one.mp3\r\nB - two.mp3\r\n"));
    EXPECT_TRUE(view::exportBytes(ExportKind::NameList, {}).empty());
}

TEST(ExportName, IsTheTitleUpToItsLastFullStop)
{
    EXPECT_EQ(view::initialExportName("liste.m3l", ExportKind::Spreadsheet), "liste.xls");
    EXPECT_EQ(view::initialExportName("Untitled", ExportKind::Spreadsheet), "Untitled.xls");
    EXPECT_EQ(view::initialExportName("liste.m3l *", ExportKind::Spreadsheet), "liste.xls");
    EXPECT_EQ(view::initialExportName("Untitled *", ExportKind::Spreadsheet), "Untitled *.xls");
    EXPECT_EQ(view::initialExportName("Best.of.2001.m3l", ExportKind::Playlist), "Best.of.2001.m3u");
    EXPECT_EQ(view::initialExportName("Sch\xC3\xB6ne Lieder.m3l", ExportKind::NameList), "Sch\xC3\xB6ne Lieder.txt");
}

TEST(ExportName, DialogsOfferTheirFormats)
{
    EXPECT_EQ(view::exportFormat(ExportKind::Spreadsheet).extension, "xls");
    const auto& playlist = view::exportFormat(ExportKind::Playlist).filters;
    EXPECT_EQ(playlist[0].name, "Winamp-Playlisten (*.m3u)");
    EXPECT_EQ(playlist[0].patterns, "*.m3u; *.m3u");
    EXPECT_EQ(playlist[1].name, "Alle Dateien (*.*)");
    EXPECT_EQ(view::exportFormat(ExportKind::NameList).extension, "txt");
}

class ExportWriting : public testsupport::SeamTest {
protected:
    TempDir dir_;
    Entries entries_;
};

TEST_F(ExportWriting, WritesTheFileAndReportsNothing)
{
    entries_.add("Abba", "SOS");
    const auto path = dir_.file("liste.xls");
    EXPECT_TRUE(view::exportEntries(ExportKind::Spreadsheet, entries_.selection(), path));
    EXPECT_EQ(readFile(path), view::exportBytes(ExportKind::Spreadsheet, entries_.selection()));
    EXPECT_TRUE(prompter().prompts().empty());
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"liste.xls"});
}

TEST_F(ExportWriting, ReplacesAnExistingFile)
{
    const auto path = dir_.write("liste.txt", Bytes(5000, 'o'));
    entries_.add("Abba", "SOS");
    EXPECT_TRUE(view::exportEntries(ExportKind::NameList, entries_.selection(), path));
    EXPECT_EQ(readFile(path), bytesOf("Abba - SOS.mp3\r\n"));
}

TEST_F(ExportWriting, EmptySelectionWritesNoSpreadsheetButEmptyLists)
{
    EXPECT_FALSE(view::exportEntries(ExportKind::Spreadsheet, {}, dir_.file("none.xls")));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("none.xls")));
    EXPECT_TRUE(view::exportEntries(ExportKind::Playlist, {}, dir_.file("none.m3u")));
    EXPECT_TRUE(readFile(dir_.file("none.m3u")).empty());
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(ExportWriting, RefusesMoreRowsThanASheetHolds)
{
    entries_.add("Abba", "SOS");
    const view::Selection tooMany(65536, entries_.selection().front());
    EXPECT_FALSE(view::exportEntries(ExportKind::Spreadsheet, tooMany, dir_.file("big.xls")));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("big.xls")));
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_NE(prompter().messages()[0].find("65535"), std::string::npos);
    EXPECT_NE(prompter().messages()[0].find("65536"), std::string::npos);
}

TEST_F(ExportWriting, FileThatCannotBeCreatedIsNamedInAMessage)
{
    entries_.add("Abba", "SOS");
    const auto missing = dir_.file("no such folder/liste.m3u");
    EXPECT_FALSE(view::exportEntries(ExportKind::Playlist, entries_.selection(), missing));
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Cannot create '" + missing + "' cause: 2 (No such file or directory)"});

    // A folder of that name stays as it is, and nothing is left beside it.
    prompter().clear();
    std::filesystem::create_directory(dir_.file("taken.txt"));
    EXPECT_FALSE(view::exportEntries(ExportKind::NameList, entries_.selection(), dir_.file("taken.txt")));
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Cannot create '" + dir_.file("taken.txt") + "' cause: 5 (Is a directory)"});
    EXPECT_TRUE(std::filesystem::is_directory(dir_.file("taken.txt")));
    EXPECT_EQ(namesIn(dir_.path()), std::vector<std::string>{"taken.txt"});

    prompter().clear();
    EXPECT_FALSE(view::exportEntries(ExportKind::NameList, entries_.selection(), ""));
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Cannot create '' cause: 3 (Invalid file name)"});
}

TEST_F(ExportWriting, RelativePathIsTakenFromTheWorkingDirectory)
{
    entries_.add("Abba", "SOS");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    const bool written = view::exportEntries(ExportKind::NameList, entries_.selection(), "liste.txt");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(readFile(dir_.file("liste.txt")), bytesOf("Abba - SOS.mp3\r\n"));
}

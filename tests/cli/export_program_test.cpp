#include "cli_runner.h"
#include "song_file.h"
#include "support/temp_dir.h"
#include "written_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

using clitest::CliRunner;
using clitest::ListedEntry;
using clitest::ProgramRun;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

using Cell = std::pair<int, int>;

// What a BIFF2 worksheet holds, read record by record.
struct Sheet {
    int rowRecords = 0;
    std::map<Cell, std::string> labels;
    std::map<Cell, double> numbers;
    bool endsWithEof = false;
};

unsigned u16(const Bytes& bytes, std::size_t at)
{
    return bytes.at(at) | bytes.at(at + 1) << 8;
}

Sheet readSheet(const Bytes& bytes)
{
    Sheet sheet;
    std::size_t at = 0;
    while (at + 4 <= bytes.size()) {
        const unsigned id = u16(bytes, at);
        const std::size_t length = u16(bytes, at + 2);
        const std::size_t data = at + 4;
        if (data + length > bytes.size()) {
            ADD_FAILURE() << "record " << id << " runs past the end";
            return sheet;
        }
        const Cell cell = length < 4 ? Cell{-1, -1}
                                     : Cell{static_cast<int>(u16(bytes, data)), static_cast<int>(u16(bytes, data + 2))};
        if (id == 0x0008) {
            ++sheet.rowRecords;
        } else if (id == 0x0004) {
            sheet.labels[cell].assign(bytes.begin() + static_cast<std::ptrdiff_t>(data + 8),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(data + 8 + bytes.at(data + 7)));
        } else if (id == 0x0003) {
            double value = 0;
            std::memcpy(&value, bytes.data() + data + 7, sizeof value);
            sheet.numbers[cell] = value;
        }
        sheet.endsWithEof = id == 0x000A && length == 0 && data == bytes.size();
        at = data + length;
    }
    return sheet;
}

std::string textOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

const Bytes kSheetStart = {0x09, 0x00, 0x04, 0x00, 0x02, 0x00, 0x10, 0x00};
const Bytes kSheetEnd = {0x0A, 0x00, 0x00, 0x00};

bool framedAsSheet(const Bytes& bytes)
{
    return bytes.size() > kSheetStart.size() + kSheetEnd.size() &&
           std::equal(kSheetStart.begin(), kSheetStart.end(), bytes.begin()) &&
           std::equal(kSheetEnd.rbegin(), kSheetEnd.rend(), bytes.rbegin());
}

class ExportProgram : public ::testing::Test {
protected:
    ProgramRun run(const std::vector<std::string>& args) { return cli_.run(args); }

    // Three entries whose texts hold Windows-1252 bytes and an "&"; the
    // last is in the root folder, whose path is empty.
    void writeThree()
    {
        clitest::writeList(list_, {
                                      {"/musik/Alte Platten",
                                       "Gr\xC3\xBC\xC3\x9F"
                                       "e.mp3",
                                       "K\xFCnstler & Co",
                                       "Gr\xFC\xDF"
                                       "e",
                                       4194304, 180000, 128000, "Album", 17, "gut"},
                                      {"/musik", "b.mp3", "Band", "Song", 1000, 1000},
                                      {"", "c.mp3", "Drei", "Tune", 77, 2000},
                                  });
    }

    CliRunner cli_;
    testsupport::TempDir music_;
    testsupport::TempDir lists_;
    testsupport::TempDir out_;
    const std::string list_ = lists_.file("Musik.m3l");
};

TEST_F(ExportProgram, PlaylistAndNameListFromAListAreItsPathsAndNamesWithCrLf)
{
    writeThree();
    const ProgramRun playlist = run({"export", "m3u", out_.file("l.m3u"), "--list", list_});
    EXPECT_EQ(playlist.status, 0);
    EXPECT_EQ(playlist.err, "");
    EXPECT_EQ(playlist.out, "");
    EXPECT_EQ(textOf(readFile(out_.file("l.m3u"))), "/musik/Alte Platten/Gr\xC3\xBC\xC3\x9F"
                                                    "e.mp3\r\n/musik/b.mp3\r\n/c.mp3\r\n");

    const ProgramRun names = run({"export", "--list", list_, "txt", out_.file("l.txt")});
    EXPECT_EQ(names.status, 0);
    EXPECT_EQ(names.err, "");
    EXPECT_EQ(textOf(readFile(out_.file("l.txt"))), "Gr\xC3\xBC\xC3\x9F"
                                                    "e.mp3\r\nb.mp3\r\nc.mp3\r\n");
}

TEST_F(ExportProgram, SpreadsheetFromAListHoldsOneRowPerEntryInListOrder)
{
    writeThree();
    const std::string path = out_.file("l.xls");
    const ProgramRun sheetRun = run({"export", "xls", path, "--list", list_});
    EXPECT_EQ(sheetRun.status, 0);
    EXPECT_EQ(sheetRun.err, "");

    const Bytes bytes = readFile(path);
    EXPECT_TRUE(framedAsSheet(bytes));
    const Sheet sheet = readSheet(bytes);
    EXPECT_TRUE(sheet.endsWithEof);
    EXPECT_EQ(sheet.rowRecords, 3);
    EXPECT_EQ(sheet.labels.at({0, 0}), "Gr\xFC\xDF"
                                       "e");
    EXPECT_EQ(sheet.labels.at({0, 1}), "K\xFCnstler & Co");
    EXPECT_EQ(sheet.labels.at({0, 2}), "Album");
    EXPECT_EQ(sheet.labels.at({0, 4}), "Rock");
    EXPECT_EQ(sheet.labels.at({0, 5}), "gut");
    EXPECT_EQ(sheet.labels.at({1, 0}), "Song");
    EXPECT_EQ(sheet.labels.at({2, 1}), "Drei");
    EXPECT_EQ(sheet.labels.at({2, 4}), "");
    EXPECT_EQ(sheet.numbers, (std::map<Cell, double>{{{0, 3}, 4194304}, {{1, 3}, 1000}, {{2, 3}, 77}}));
}

TEST_F(ExportProgram, FromPathsTheFilesAreLoadedAsScanLoadsThem)
{
    const auto one = clitest::writeSong(music_, "1.mp3", "Band", "Erstes");
    const auto two = clitest::writeSong(music_, "sub/2.mp3", "Other", "Zweites");
    const auto three = clitest::writeSong(music_, "0.mp3", "Third", "Drittes");

    // A folder gives its files in path order; named files keep their place.
    const ProgramRun playlist = run({"export", "m3u", out_.file("p.m3u"), music_.file("sub"), one, three});
    EXPECT_EQ(playlist.status, 0);
    EXPECT_EQ(playlist.err, "");
    EXPECT_EQ(textOf(readFile(out_.file("p.m3u"))), two + "\r\n" + one + "\r\n" + three + "\r\n");

    ASSERT_EQ(run({"export", "txt", out_.file("p.txt"), music_.path()}).status, 0);
    EXPECT_EQ(textOf(readFile(out_.file("p.txt"))), "0.mp3\r\n1.mp3\r\n2.mp3\r\n");

    ASSERT_EQ(run({"export", "xls", out_.file("p.xls"), music_.path()}).status, 0);
    const Bytes bytes = readFile(out_.file("p.xls"));
    EXPECT_TRUE(framedAsSheet(bytes));
    const Sheet sheet = readSheet(bytes);
    EXPECT_EQ(sheet.rowRecords, 3);
    EXPECT_EQ(sheet.labels.at({0, 0}), "Drittes");
    EXPECT_EQ(sheet.labels.at({1, 1}), "Band");
    EXPECT_EQ(sheet.labels.at({2, 0}), "Zweites");
    EXPECT_EQ(sheet.numbers.at({1, 3}), static_cast<double>(fs::file_size(one)));
}

TEST_F(ExportProgram, ASkippedPathIsReportedTheRestWrittenAndTheStatusOne)
{
    const auto song = clitest::writeSong(music_, "a.mp3", "Band", "Song");
    const std::string missing = music_.file("gone.mp3");
    const ProgramRun partial = run({"export", "m3u", out_.file("p.m3u"), missing, song});
    EXPECT_EQ(partial.status, 1);
    EXPECT_NE(partial.err.find(missing), std::string::npos) << partial.err;
    EXPECT_EQ(textOf(readFile(out_.file("p.m3u"))), song + "\r\n");
}

TEST_F(ExportProgram, AnEmptySpreadsheetIsNoFileAndSaysSo)
{
    clitest::writeList(list_, {});
    const std::string sheet = out_.file("empty.xls");
    const ProgramRun empty = run({"export", "xls", sheet, "--list", list_});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "No entries: the spreadsheet '" + sheet + "' is not written.\n");
    EXPECT_FALSE(fs::exists(sheet));

    // Nothing loadable from the paths: the same.
    const std::string noMp3 = music_.write("noise.mp3", testsupport::musicBytes(3000));
    const ProgramRun skipped = run({"export", "xls", sheet, noMp3});
    EXPECT_EQ(skipped.status, 1);
    EXPECT_NE(skipped.err.find("is not written"), std::string::npos) << skipped.err;
    EXPECT_FALSE(fs::exists(sheet));

    // The line exports write an empty file.
    const ProgramRun lines = run({"export", "m3u", out_.file("empty.m3u"), "--list", list_});
    EXPECT_EQ(lines.status, 0);
    EXPECT_EQ(lines.err, "");
    EXPECT_TRUE(readFile(out_.file("empty.m3u")).empty());
}

TEST_F(ExportProgram, AFileThatCannotBeCreatedIsReportedAndNothingIsLeft)
{
    writeThree();
    for (const char* format : {"xls", "m3u", "txt"}) {
        const std::string path = out_.file("missing folder/list." + std::string(format));
        const ProgramRun failed = run({"export", format, path, "--list", list_});
        EXPECT_EQ(failed.status, 1) << format;
        EXPECT_NE(failed.err.find("Cannot create '" + path + "'"), std::string::npos) << failed.err;
        EXPECT_FALSE(fs::exists(out_.file("missing folder"))) << format;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out_.path()), fs::directory_iterator()), 0);
}

TEST_F(ExportProgram, AnUnreadableListWritesNothingAndKeepsTheOldFile)
{
    writeThree();
    Bytes bytes = readFile(list_);
    bytes.resize(bytes.size() - 10);
    const std::string broken = lists_.write("Kaputt.m3l", bytes);
    const std::string old = out_.write("old.m3u", Bytes{'o', 'l', 'd'});

    const ProgramRun failed = run({"export", "m3u", old, "--list", broken});
    EXPECT_EQ(failed.status, 1);
    // The readable records are offered, and declined: the CLI answers no question it cannot ask.
    EXPECT_NE(failed.err.find("'" + broken +
                              "' ist besch\xC3\xA4"
                              "digt: 2 von 3 Eintr\xC3\xA4gen lesbar."),
              std::string::npos)
        << failed.err;
    EXPECT_EQ(textOf(readFile(old)), "old");
}

TEST_F(ExportProgram, ASpreadsheetOfMoreThan65535RowsIsRefused)
{
    const std::vector<ListedEntry> many(65536, ListedEntry{"/m", "x.mp3", "A", "T", 1, 1000});
    clitest::writeList(list_, many);
    const std::string sheet = out_.file("big.xls");
    const ProgramRun refused = run({"export", "xls", sheet, "--list", list_});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("65535"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("65536"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(sheet));
}

TEST_F(ExportProgram, UsageErrorsWriteNothing)
{
    writeThree();
    const auto song = clitest::writeSong(music_, "a.mp3", "Band", "Song");
    const Bytes before = readFile(song);
    const std::string out = out_.file("x.m3u");
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"export", "csv", out, song},
                                               {"export", "M3U", out, song},
                                               {"export", "m3u", out},
                                               {"export", "m3u"},
                                               {"export", "m3u", out, "--list", list_, song},
                                               {"export", "m3u", "--list", list_},
                                               {"export", "m3u", song, music_.path()},
                                               {"export", "txt", lists_.file("other.M3L"), song},
                                               {"export", "--font", "DejaVu Sans", "m3u", out, song}}) {
        const ProgramRun usage = run(bad);
        EXPECT_EQ(usage.status, 2) << ::testing::PrintToString(bad);
        EXPECT_NE(usage.err.find("Usage"), std::string::npos);
        EXPECT_EQ(usage.out, "");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out_.path()), fs::directory_iterator()), 0);
    EXPECT_TRUE(readFile(song) == before);
    EXPECT_FALSE(fs::exists(lists_.file("other.M3L")));
}

}  // namespace

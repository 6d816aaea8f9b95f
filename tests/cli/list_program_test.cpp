#include "cli/scan_table.h"
#include "cli_runner.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"
#include "table_fields.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

using clitest::CliRunner;
using clitest::ProgramRun;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

using Rows = std::vector<std::vector<std::string>>;

constexpr std::size_t kFileColumn = 0;
constexpr std::size_t kTagsColumn = 26;
constexpr std::size_t kPathColumn = 1;
constexpr std::size_t kArtistColumn = 3;

class ListProgram : public ::testing::Test {
protected:
    // A small MP3 file; the artist in Windows-1252 as a tag holds it.
    std::string song(const std::string& name, const std::string& artist, const std::string& title)
    {
        Bytes bytes = testsupport::frames({}, 30);
        testsupport::append(bytes, testsupport::id3v1Tag({title, artist, "", "1999", "", -1, 0}));
        fs::create_directories(fs::path(music_.file(name)).parent_path());
        return music_.write(name, bytes);
    }

    ProgramRun run(const std::vector<std::string>& args, const std::string& input = "")
    {
        return cli_.run(args, input);
    }

    // The rows of a table behind its header.
    static Rows rowsOf(const std::string& table)
    {
        EXPECT_EQ(table.rfind(cli::scanHeader(), 0), 0u) << table;
        Rows rows;
        std::size_t begin = table.find('\n') + 1;
        while (begin < table.size()) {
            const std::size_t end = table.find('\n', begin);
            rows.push_back(clitest::fieldsOf(table.substr(begin, end - begin)));
            EXPECT_EQ(rows.back().size(), 27u);
            begin = end + 1;
        }
        return rows;
    }

    static std::vector<std::string> column(const Rows& rows, std::size_t index)
    {
        std::vector<std::string> values;
        for (const auto& row : rows)
            values.push_back(row.at(index));
        return values;
    }

    Rows listRows(const std::string& list)
    {
        const ProgramRun shown = run({"list", list});
        EXPECT_EQ(shown.status, 0) << shown.err;
        EXPECT_EQ(shown.err, "");
        return rowsOf(shown.out);
    }

    CliRunner cli_;
    testsupport::TempDir music_;
    testsupport::TempDir lists_;
    const std::string list_ = lists_.file("Musik.m3l");
};

TEST_F(ListProgram, AddCreatesTheListAndListShowsWhatScanShows)
{
    const auto one = song("1.mp3", "Band", "Song");
    const auto two = song("sub/2.mp3", "Other", "Tune");
    const ProgramRun add = run({"add", list_, music_.path()});
    EXPECT_EQ(add.status, 0);
    EXPECT_EQ(add.err, "");
    EXPECT_EQ(add.out, "added " + one + "\nadded " + two + "\n");
    ASSERT_TRUE(fs::exists(list_));

    const ProgramRun scan = run({"scan", music_.path()});
    const ProgramRun list = run({"list", list_});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.err, "");
    // Every column but the tags, which the list file does not store.
    Rows scanned = rowsOf(scan.out);
    EXPECT_EQ(column(scanned, kTagsColumn), (std::vector<std::string>{"ID3v1", "ID3v1"}));
    for (auto& row : scanned)
        row[kTagsColumn] = "";
    EXPECT_EQ(rowsOf(list.out), scanned);
    EXPECT_EQ(column(rowsOf(list.out), kFileColumn), (std::vector<std::string>{"1.mp3", "2.mp3"}));

    // A named list file is read by the add command: its entries come over.
    const std::string copy = lists_.file("Kopie.m3l");
    const ProgramRun fromList = run({"add", copy, list_});
    EXPECT_EQ(fromList.status, 0);
    EXPECT_EQ(fromList.out, add.out);
    EXPECT_EQ(run({"list", copy}).out, list.out);
}

TEST_F(ListProgram, ListNeedsNoMp3File)
{
    song("a.mp3", "Band", "Song");
    song("b.mp3", "Other", "Tune");
    ASSERT_EQ(run({"add", list_, music_.path()}).status, 0);
    const ProgramRun before = run({"list", list_});
    fs::remove(music_.file("a.mp3"));
    fs::remove(music_.file("b.mp3"));

    const ProgramRun after = run({"list", list_});
    EXPECT_EQ(after.status, 0);
    EXPECT_EQ(after.err, "");
    EXPECT_EQ(after.out, before.out);
    EXPECT_EQ(rowsOf(after.out).size(), 2u);
}

TEST_F(ListProgram, SkipDeclinesTheDuplicateAndMarksItsFile)
{
    const auto listed = song("a.mp3", "Band", "Song");
    ASSERT_EQ(run({"add", list_, listed}).status, 0);
    const Bytes saved = readFile(list_);
    // Same file name in another folder: the same track, whatever the tag.
    const auto copy = song("other/a.mp3", "Someone", "Else");

    const ProgramRun add = run({"add", "--dup=skip", list_, copy});
    EXPECT_EQ(add.status, 0);
    EXPECT_EQ(add.err, "");
    EXPECT_EQ(add.out, "declined " + copy + "\n");
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(fs::exists(copy + ".cop"));
    EXPECT_TRUE(readFile(list_) == saved);
}

TEST_F(ListProgram, ReplaceTakesThePlaceOfTheListedEntry)
{
    const auto listed = song("a.mp3", "Band", "Song");
    const auto other = song("b.mp3", "Other", "Tune");
    ASSERT_EQ(run({"add", list_, listed, other}).status, 0);
    const auto copy = song("other/A.MP3", "Band", "Song");

    const ProgramRun add = run({"add", "--dup=replace", list_, copy});
    EXPECT_EQ(add.status, 0);
    EXPECT_EQ(add.out, "replaced " + listed + "\nadded " + copy + "\n");
    const Rows rows = listRows(list_);
    EXPECT_EQ(column(rows, kFileColumn), (std::vector<std::string>{"b.mp3", "A.MP3"}));
    EXPECT_EQ(rows[1][kPathColumn], music_.file("other"));
    EXPECT_TRUE(fs::exists(listed));
}

TEST_F(ListProgram, CancelStopsTheRunAndKeepsWhatWasAdded)
{
    const auto listed = song("a.mp3", "Band", "Song");
    ASSERT_EQ(run({"add", list_, listed}).status, 0);
    const auto first = song("x.mp3", "X", "One");
    const auto copy = song("other/a.mp3", "Band", "Song");
    const auto last = song("y.mp3", "Y", "Two");

    const ProgramRun add = run({"add", "--dup=cancel", list_, first, copy, last});
    EXPECT_EQ(add.status, 1) << "the last file was not looked at";
    EXPECT_EQ(add.out, "added " + first + "\ncancelled " + copy + "\n");
    EXPECT_EQ(column(listRows(list_), kFileColumn), (std::vector<std::string>{"a.mp3", "x.mp3"}));
    EXPECT_TRUE(fs::exists(copy + ".cop"));
    EXPECT_TRUE(fs::exists(last));
}

TEST_F(ListProgram, TheQuestionIsAnsweredFromStandardInput)
{
    const auto listed = song("a.mp3", "Band", "Song");
    ASSERT_EQ(run({"add", list_, listed}).status, 0);
    const auto copy = song("one/a.mp3", "Band", "Song");

    const ProgramRun asked = run({"add", list_, copy}, "perhaps\n 2\n");
    EXPECT_EQ(asked.status, 0);
    EXPECT_EQ(asked.out, "replaced " + listed + "\nadded " + copy + "\n");
    EXPECT_EQ(asked.err.find("Dieser Eintrag ist bereits in der MP3-Liste enthalten:\n" + listed), 0u) << asked.err;
    EXPECT_NE(asked.err.find("hinzugef\xC3\xBCgt werden?:\n" + copy), std::string::npos) << asked.err;

    // No answer to read declines.
    const auto again = song("two/a.mp3", "Band", "Song");
    const ProgramRun unanswered = run({"add", list_, again});
    EXPECT_EQ(unanswered.status, 0);
    EXPECT_EQ(unanswered.out, "declined " + again + "\n");
    EXPECT_NE(unanswered.err.find("no more input"), std::string::npos);
    EXPECT_EQ(column(listRows(list_), kPathColumn), std::vector<std::string>{music_.file("one")});
}

TEST_F(ListProgram, SubtractRemovesAndSaves)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Other", "Tune");
    const auto c = song("c.mp3", "Third", "Piece");
    ASSERT_EQ(run({"add", list_, music_.path()}).status, 0);

    const ProgramRun subtract = run({"subtract", list_, b});
    EXPECT_EQ(subtract.status, 0);
    EXPECT_EQ(subtract.err, "");
    EXPECT_EQ(subtract.out, "removed " + b + "\n");
    EXPECT_EQ(column(listRows(list_), kFileColumn), (std::vector<std::string>{"a.mp3", "c.mp3"}));

    // Nothing of it in the list: nothing changes; a missing file is reported.
    const Bytes saved = readFile(list_);
    const ProgramRun none = run({"subtract", list_, b, music_.file("gone.mp3")});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("gone.mp3"), std::string::npos);
    EXPECT_TRUE(readFile(list_) == saved);
}

TEST_F(ListProgram, SortByInterpretFoldsArticlesAndUmlauts)
{
    const std::vector<std::string> artists = {"Zappa", "The Beatles", "Deep Purple", "Die \xC4rzte",
                                              "Abba",  "Bap",         "Cream"};
    for (std::size_t i = 0; i < artists.size(); ++i)
        song(std::to_string(i) + ".mp3", artists[i], "Title " + std::to_string(i));
    ASSERT_EQ(run({"add", list_, music_.path()}).status, 0);

    const ProgramRun sort = run({"sort", list_, "interpret"});
    EXPECT_EQ(sort.status, 0);
    EXPECT_EQ(sort.err, "");
    const std::vector<std::string> expected = {"Abba",  "Die \xC3\x84rzte", "Bap",  "The Beatles",
                                               "Cream", "Deep Purple",      "Zappa"};
    EXPECT_EQ(column(rowsOf(sort.out), kArtistColumn), expected);
    EXPECT_EQ(column(listRows(list_), kArtistColumn), expected);

    ASSERT_EQ(run({"sort", list_, "0"}).status, 0);
    EXPECT_EQ(column(listRows(list_), kFileColumn),
              (std::vector<std::string>{"0.mp3", "1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3", "6.mp3"}));
}

TEST_F(ListProgram, ATruncatedListIsReportedAndNeverOverwritten)
{
    song("a.mp3", "Band", "Song");
    song("b.mp3", "Other", "Tune");
    const auto more = song("more/c.mp3", "Third", "Piece");
    ASSERT_EQ(run({"add", list_, music_.file("a.mp3"), music_.file("b.mp3")}).status, 0);
    Bytes bytes = readFile(list_);
    bytes.resize(bytes.size() - 10);
    const std::string broken = lists_.write("Kaputt.m3l", bytes);

    for (const auto& args : std::vector<std::vector<std::string>>{{"list", broken},
                                                                  {"add", "--dup=replace", broken, more},
                                                                  {"subtract", broken, music_.file("a.mp3")},
                                                                  {"sort", broken, "Titel"},
                                                                  {"fix", "--rename=yes", "--list", broken}}) {
        const ProgramRun failed = run(args);
        EXPECT_EQ(failed.status, 1) << args[0];
        EXPECT_EQ(failed.out, "") << args[0];
        EXPECT_NE(failed.err.find("'" + broken +
                                  "' ist besch\xC3\xA4"
                                  "digt: 1 von 2 Eintr\xC3\xA4gen lesbar. Die lesbaren "),
                  std::string::npos)
            << args[0] << ": " << failed.err;
        EXPECT_NE(failed.err.find("-> cancel"), std::string::npos) << args[0] << ": " << failed.err;
        EXPECT_TRUE(readFile(broken) == bytes) << args[0];
    }
    EXPECT_TRUE(fs::exists(more));
    // Random bytes are no list at all, whatever count they begin with.
    std::mt19937 random(6);
    for (int file = 0; file < 6; ++file) {
        Bytes noise(5000);
        for (auto& byte : noise)
            byte = static_cast<std::uint8_t>(random());
        const std::string kaputt = lists_.write("noise.m3l", noise);
        const ProgramRun refused = run({"list", kaputt});
        EXPECT_EQ(refused.status, 1) << file;
        EXPECT_EQ(refused.out, "") << file;
        EXPECT_NE(refused.err.find("'" + kaputt + "': Unexpected file format."), std::string::npos) << refused.err;
    }
    fs::remove(lists_.file("noise.m3l"));
    // No replacement was left beside the lists either.
    EXPECT_EQ(std::distance(fs::directory_iterator(lists_.path()), fs::directory_iterator()), 2);
}

TEST_F(ListProgram, AListThatCannotBeReadOrWrittenIsReported)
{
    const auto a = song("a.mp3", "Band", "Song");
    const ProgramRun missing = run({"list", lists_.file("gone.m3l")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find(lists_.file("gone.m3l")), std::string::npos) << missing.err;

    const std::string nowhere = lists_.file("no folder/Musik.m3l");
    const ProgramRun unsaved = run({"add", nowhere, a});
    EXPECT_EQ(unsaved.status, 1);
    EXPECT_NE(unsaved.err.find("'" + nowhere + "' not saved"), std::string::npos) << unsaved.err;
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_TRUE(fs::exists(a));
}

TEST_F(ListProgram, AnMp3FileIsNeverTakenForTheList)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Other", "Tune");
    const Bytes before = readFile(a);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"add", a, b}, {"subtract", a, b}, {"sort", a, "0"}, {"list", a}, {"fix", "--list", a}}) {
        const ProgramRun refused = run(args);
        EXPECT_EQ(refused.status, 2) << args[0];
        EXPECT_NE(refused.err.find(".m3l"), std::string::npos) << args[0];
        EXPECT_TRUE(readFile(a) == before) << args[0];
    }
}

}  // namespace

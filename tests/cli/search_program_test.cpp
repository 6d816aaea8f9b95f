#include "cli/scan_table.h"
#include "cli_runner.h"
#include "support/temp_dir.h"
#include "table_fields.h"
#include "written_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using clitest::CliRunner;
using clitest::ListedEntry;
using clitest::ProgramRun;

namespace {

constexpr std::size_t kFileColumn = 0;

class SearchProgram : public ::testing::Test {
protected:
    // The file names of the table's rows, "" for an empty line.
    static std::vector<std::string> namesIn(const std::string& table)
    {
        EXPECT_EQ(table.rfind(cli::scanHeader(), 0), 0u) << table;
        std::vector<std::string> names;
        std::size_t begin = table.find('\n') + 1;
        while (begin < table.size()) {
            const std::size_t end = table.find('\n', begin);
            const std::string line = table.substr(begin, end - begin);
            names.push_back(line.empty() ? std::string() : clitest::fieldsOf(line).at(kFileColumn));
            begin = end + 1;
        }
        return names;
    }

    // The list names folders that do not exist: nothing but the list is read.
    ListedEntry song(const std::string& name, const std::string& artist, const std::string& title, int lengthMs)
    {
        return {"/nirgends/" + name, name, artist, title, 1000, lengthMs};
    }

    CliRunner cli_;
    testsupport::TempDir lists_;
    const std::string list_ = lists_.file("Musik.m3l");
};

}  // namespace

TEST_F(SearchProgram, FindPrintsTheEntriesHoldingEveryWord)
{
    clitest::writeList(list_,
                       {song("1.mp3", "Bj\xF6rk", "Hyperballad", 1000), song("2.mp3", "Blur", "Song 2", 1000),
                        song("3.mp3", "BJOERK", "Army of Me", 1000), song("4.mp3", "Die \xC4rzte", "Junge", 1000)});
    const ProgramRun bjork = cli_.run({"find", list_, "bjoerk"});
    EXPECT_EQ(bjork.status, 0) << bjork.err;
    EXPECT_EQ(bjork.err, "");
    EXPECT_EQ(namesIn(bjork.out), (std::vector<std::string>{"1.mp3", "3.mp3"}));
    EXPECT_EQ(namesIn(cli_.run({"find", list_, "BJ\xC3\x96RK", "army"}).out), std::vector<std::string>{"3.mp3"});
    EXPECT_EQ(namesIn(cli_.run({"find", list_, "\xC3\xA4rzte junge"}).out), std::vector<std::string>{"4.mp3"});
    EXPECT_EQ(namesIn(cli_.run({"find", list_, "--", "-"}).out).size(), 4u) << "a lone mark asks for nothing";
    const ProgramRun none = cli_.run({"find", list_, "abba"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, cli::scanHeader());
}

TEST_F(SearchProgram, SimilarPrintsTheGroupsApartByArtistAndTitle)
{
    clitest::writeList(
        list_, {song("a.mp3", "Queen", "Bohemian Rhapsody", 354000), song("b.mp3", "The Cure", "Lullaby", 250000),
                song("c.mp3", "Queen", "Bohemian Rhapsody (Live)", 356900), song("d.mp3", "Abba", "SOS", 200000),
                song("e.mp3", "Cure", "Lullaby [Remastered]", 247100),
                song("f.mp3", "Queen", "Bohemian Rhapsody [Mono]", 360000)});
    const ProgramRun similar = cli_.run({"similar", list_});
    EXPECT_EQ(similar.status, 0) << similar.err;
    EXPECT_EQ(similar.err, "");
    // 2.9 s apart belong together, 3.1 s apart (f beside c) do not.
    EXPECT_EQ(namesIn(similar.out), (std::vector<std::string>{"b.mp3", "e.mp3", "", "a.mp3", "c.mp3"}));
}

TEST_F(SearchProgram, AListWithoutSimilarEntriesGivesTheHeaderAlone)
{
    clitest::writeList(list_, {song("a.mp3", "A", "One", 1000), song("b.mp3", "B", "Two", 1000)});
    const ProgramRun similar = cli_.run({"similar", list_});
    EXPECT_EQ(similar.status, 0);
    EXPECT_EQ(similar.out, cli::scanHeader());
}

TEST_F(SearchProgram, AListThatCannotBeReadGivesNothing)
{
    for (const auto& args : {std::vector<std::string>{"find", lists_.file("fehlt.m3l"), "x"},
                             std::vector<std::string>{"similar", lists_.file("fehlt.m3l")}}) {
        const ProgramRun run = cli_.run(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("fehlt.m3l"), std::string::npos) << run.err;
    }
}

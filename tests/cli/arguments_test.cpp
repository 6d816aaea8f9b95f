#include "cli/arguments.h"
#include "cli/usage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using cli::Command;
using cli::UsageError;
using Args = std::vector<std::string>;

namespace {

cli::Arguments parse(const Args& args)
{
    return cli::parseArguments(args);
}

}  // namespace

TEST(Arguments, HelpAndVersionWinAnywhereBeforeTheEndOfOptions)
{
    EXPECT_EQ(parse({"-h"}).command, Command::Help);
    EXPECT_EQ(parse({"bogus", "--help"}).command, Command::Help);
    EXPECT_EQ(parse({"--version", "--help"}).command, Command::Help);
    EXPECT_EQ(parse({"--version"}).command, Command::Version);
    EXPECT_EQ(parse({"fix", "--rename=maybe", "--version"}).command, Command::Version);
    const auto args = parse({"scan", "--", "--help", "--version", "-x.mp3"});
    EXPECT_EQ(args.command, Command::Scan);
    EXPECT_EQ(args.paths, (Args{"--help", "--version", "-x.mp3"}));
}

TEST(Arguments, ScanTakesOverridesAndPathsInTheirOrder)
{
    const auto args = parse({"scan", "b dir", "--set", "ChkAll=0", "a.txt", "--set", "ID2DatNam=$Track=$Title", "-"});
    EXPECT_EQ(args.paths, (Args{"b dir", "a.txt", "-"}));
    ASSERT_EQ(args.overrides.size(), 2u);
    EXPECT_STREQ(args.overrides[0].info->key, "ChkAll");
    EXPECT_EQ(args.overrides[0].number, 0);
    EXPECT_EQ(args.overrides[1].text, "$Track=$Title");
}

TEST(Arguments, FixTakesRenameDryRunOverridesAndPaths)
{
    const auto plain = parse({"fix", "x.mp3"});
    EXPECT_EQ(plain.command, Command::Fix);
    EXPECT_EQ(plain.rename, cli::RenameAnswer::Ask);
    EXPECT_FALSE(plain.dryRun);
    EXPECT_EQ(plain.paths, Args{"x.mp3"});

    const auto args = parse({"fix", "a", "--rename=yes", "--set", "Rename=0", "--dry-run", "b", "--", "--rename=no"});
    EXPECT_EQ(args.rename, cli::RenameAnswer::Yes);
    EXPECT_TRUE(args.dryRun);
    EXPECT_EQ(args.paths, (Args{"a", "b", "--rename=no"}));
    ASSERT_EQ(args.overrides.size(), 1u);
    EXPECT_STREQ(args.overrides[0].info->key, "Rename");

    EXPECT_EQ(parse({"fix", "--rename=no", "x"}).rename, cli::RenameAnswer::No);
    // The last answer given counts.
    EXPECT_EQ(parse({"fix", "--rename=yes", "--rename=ask", "x"}).rename, cli::RenameAnswer::Ask);
}

TEST(Arguments, SettingsListsOrStoresOne)
{
    EXPECT_FALSE(parse({"settings"}).store.has_value());
    EXPECT_EQ(parse({"settings", "TypMBX", "2"}).store->number, 2);
    EXPECT_EQ(parse({"settings", "KeepDays", "3650"}).store->number, 3650);
    const auto pattern = parse({"settings", "ID2DatNam", ""});
    ASSERT_TRUE(pattern.store.has_value());
    EXPECT_STREQ(pattern.store->info->key, "ID2DatNam");
    EXPECT_EQ(pattern.store->text, "");
}

TEST(Arguments, UsageErrors)
{
    for (const Args& bad :
         {Args{}, Args{"play", "x.mp3"}, Args{"scan"}, Args{"scan", "--set", "ChkAll=0"},
          Args{"scan", "x.mp3", "--set"}, Args{"scan", "--set", "ChkAll", "x"}, Args{"scan", "--set", "Chkall=0", "x"},
          Args{"scan", "-odd.mp3"}, Args{"settings", "ChkAll"}, Args{"settings", "ChkAll", "0", "1"}, Args{"fix"},
          Args{"fix", "--dry-run", "--rename=yes"}, Args{"fix", "--rename=maybe", "x"}, Args{"fix", "--rename=", "x"},
          Args{"fix", "--rename=YES", "x"}, Args{"fix", "--rename", "yes", "x"}, Args{"fix", "--dry", "x"},
          Args{"scan", "--dry-run", "x"}, Args{"scan", "--rename=yes", "x"}})
        EXPECT_THROW(parse(bad), UsageError) << ::testing::PrintToString(bad);
    // Out of range, named with the range, for storing and for one run alike.
    const std::string fifty(50, 'x');
    for (const auto& [key, value, message] :
         {std::tuple{"KeepDays", "0", "setting KeepDays takes 1 to 3650, not '0'"},
          std::tuple{"KeepDays", "-5", "setting KeepDays takes 1 to 3650, not '-5'"},
          std::tuple{"ChkAll", "2", "setting ChkAll takes 0 or 1, not '2'"},
          std::tuple{"TypMBX", "-3", "setting TypMBX takes 0 to 2, not '-3'"},
          std::tuple{"ID2DatNam", fifty.c_str(), "setting ID2DatNam takes at most 49 characters, not 50"},
          std::tuple{"ID2DatNam", "$Artist/$Title",
                     "setting ID2DatNam: the pattern '$Artist/$Title' holds '/': a file name cannot name a folder"},
          std::tuple{"ID2DatNam", "$Artist-$Title $Foo",
                     "setting ID2DatNam: the pattern '$Artist-$Title $Foo' holds the unknown word '$Foo' (known: "
                     "$Artist, $Title, $Album, $Genre, $Comment, $Track)"}}) {
        for (const Args& args :
             {Args{"settings", key, value}, Args{"fix", "--set", std::string(key) + "=" + value, "x"}}) {
            try {
                parse(args);
                ADD_FAILURE() << ::testing::PrintToString(args);
            } catch (const UsageError& error) {
                EXPECT_EQ(std::string(error.what()), message);
            }
        }
    }
    for (const char* notAnInteger : {"", "yes", "1.5", " 1", "+1", "0x1", "99999999999"}) {
        EXPECT_THROW(parse({"scan", "--set", std::string("ChkAll=") + notAnInteger, "x"}), UsageError);
        EXPECT_THROW(parse({"settings", "TypMBX", notAnInteger}), UsageError);
    }
}

TEST(Arguments, ListCommandsTakeTheListFirst)
{
    const auto list = parse({"list", "--set", "DelFront=0", "Musik.M3L"});
    EXPECT_EQ(list.command, Command::List);
    EXPECT_EQ(list.listPath, "Musik.M3L");
    EXPECT_TRUE(list.paths.empty());
    ASSERT_EQ(list.overrides.size(), 1u);
    EXPECT_STREQ(list.overrides[0].info->key, "DelFront");

    const auto add = parse({"add", "l.m3l", "a dir", "--dup=replace-all", "b.m3l", "--", "-x.mp3"});
    EXPECT_EQ(add.command, Command::Add);
    EXPECT_EQ(add.listPath, "l.m3l");
    EXPECT_EQ(add.paths, (Args{"a dir", "b.m3l", "-x.mp3"}));
    EXPECT_EQ(add.duplicate, cli::DuplicateAnswer::ReplaceAll);
    EXPECT_EQ(parse({"add", "l.m3l", "x"}).duplicate, cli::DuplicateAnswer::Ask);
    for (const auto& [word, answer] :
         {std::pair{"ask", cli::DuplicateAnswer::Ask}, std::pair{"add", cli::DuplicateAnswer::Add},
          std::pair{"replace", cli::DuplicateAnswer::Replace}, std::pair{"skip", cli::DuplicateAnswer::Skip},
          std::pair{"add-all", cli::DuplicateAnswer::AddAll}, std::pair{"cancel", cli::DuplicateAnswer::Cancel}})
        EXPECT_EQ(parse({"add", "--dup=" + std::string(word), "l.m3l", "x"}).duplicate, answer) << word;

    const auto subtract = parse({"subtract", "l.m3l", "x.mp3", "y"});
    EXPECT_EQ(subtract.command, Command::Subtract);
    EXPECT_EQ(subtract.listPath, "l.m3l");
    EXPECT_EQ(subtract.paths, (Args{"x.mp3", "y"}));
}

TEST(Arguments, SortTakesAColumnNumberOrHeader)
{
    const auto sort = parse({"sort", "l.m3l", "Interpret"});
    EXPECT_EQ(sort.command, Command::Sort);
    EXPECT_EQ(sort.listPath, "l.m3l");
    EXPECT_EQ(sort.sortColumn, Column::Artist);
    for (const auto& [text, column] :
         {std::pair{"0", Column::File}, std::pair{"13", Column::Copyright}, std::pair{"datei", Column::File},
          std::pair{"PFAD", Column::Path}, std::pair{"interpret", Column::Artist}, std::pair{"GRöße", Column::Size},
          std::pair{"länge", Column::Length}, std::pair{"TRACK#", Column::Track}, std::pair{"bitrate", Column::Bitrate},
          std::pair{"®", Column::Original}, std::pair{"©", Column::Copyright}})
        EXPECT_EQ(parse({"sort", "l.m3l", text}).sortColumn, column) << text;
}

TEST(Arguments, FixTakesAListInsteadOfPaths)
{
    const auto fix = parse({"fix", "--rename=no", "--list", "l.m3l", "--dry-run"});
    EXPECT_EQ(fix.command, Command::Fix);
    EXPECT_EQ(fix.listPath, "l.m3l");
    EXPECT_TRUE(fix.paths.empty());
    EXPECT_EQ(fix.rename, cli::RenameAnswer::No);
    EXPECT_TRUE(fix.dryRun);
    EXPECT_EQ(parse({"fix", "x.mp3"}).listPath, "");
}

TEST(Arguments, ListCommandUsageErrors)
{
    for (const Args& bad : {Args{"list"},
                            Args{"list", "a.m3l", "b.m3l"},
                            Args{"list", "a.mp3"},
                            Args{"list", ".m3l"},
                            Args{"list", "a.m3l.bak"},
                            Args{"add", "l.m3l"},
                            Args{"add", "song.mp3", "other.mp3"},
                            Args{"add", "--dup=maybe", "l.m3l", "x"},
                            Args{"add", "--dup", "skip", "l.m3l", "x"},
                            Args{"add", "--dup=SKIP", "l.m3l", "x"},
                            Args{"add", "--dup=3", "l.m3l", "x"},
                            Args{"add", "--dup=", "l.m3l", "x"},
                            Args{"subtract", "l.m3l"},
                            Args{"subtract", "--dup=skip", "l.m3l", "x"},
                            Args{"subtract", "l.mp3", "x"},
                            Args{"sort", "l.m3l"},
                            Args{"sort", "l.m3l", "14"},
                            Args{"sort", "l.m3l", "-1"},
                            Args{"sort", "l.m3l", "Artist"},
                            Args{"sort", "l.m3l", ""},
                            Args{"sort", "l.m3l", "1", "2"},
                            Args{"sort", "Interpret", "l.m3l"},
                            Args{"fix", "--list", "l.m3l", "x.mp3"},
                            Args{"fix", "--list"},
                            Args{"fix", "--list", "l.txt"},
                            Args{"scan", "--list", "l.m3l"},
                            Args{"list", "--rename=yes", "l.m3l"},
                            Args{"list", "--dup=skip", "l.m3l"},
                            Args{"sort", "--dry-run", "l.m3l", "0"}})
        EXPECT_THROW(parse(bad), UsageError) << ::testing::PrintToString(bad);
}

TEST(Arguments, FindSimilarAndMoveTakeTheListFirst)
{
    const auto find = parse({"find", "l.m3l", "beatles", "--", "-live"});
    EXPECT_EQ(find.command, Command::Find);
    EXPECT_EQ(find.listPath, "l.m3l");
    EXPECT_EQ(find.words, (Args{"beatles", "-live"}));

    const auto similar = parse({"similar", "l.M3L"});
    EXPECT_EQ(similar.command, Command::Similar);
    EXPECT_EQ(similar.listPath, "l.M3L");

    const auto some = parse({"move", "l.m3l", "/neu", "a.mp3", "b.mp3"});
    EXPECT_EQ(some.command, Command::Move);
    EXPECT_EQ(some.folder, "/neu");
    EXPECT_EQ(some.paths, (Args{"a.mp3", "b.mp3"}));
    EXPECT_FALSE(some.all);
    const auto all = parse({"move", "--all", "l.m3l", "neu"});
    EXPECT_TRUE(all.all);
    EXPECT_TRUE(all.paths.empty());
    EXPECT_EQ(all.folder, "neu");

    for (const Args& bad :
         {Args{"find", "l.m3l"}, Args{"find", "l.mp3", "x"}, Args{"similar"}, Args{"similar", "l.m3l", "x"},
          Args{"similar", "l.txt"}, Args{"move", "l.m3l", "dir"}, Args{"move", "l.m3l"},
          Args{"move", "--all", "l.m3l", "dir", "a.mp3"}, Args{"move", "a.mp3", "dir", "--all"},
          Args{"find", "--all", "l.m3l", "x"}, Args{"similar", "--dup=skip", "l.m3l"}})
        EXPECT_THROW(parse(bad), UsageError) << ::testing::PrintToString(bad);
}

TEST(Arguments, ExportTakesFormatOutputAndAListOrPaths)
{
    const auto fromList = parse({"export", "--list", "l.m3l", "txt", "names.txt"});
    EXPECT_EQ(fromList.command, Command::Export);
    EXPECT_EQ(fromList.exportKind, view::ExportKind::NameList);
    EXPECT_EQ(fromList.outputPath, "names.txt");
    EXPECT_EQ(fromList.listPath, "l.m3l");
    EXPECT_TRUE(fromList.paths.empty());

    const auto fromPaths = parse({"export", "xls", "t.xls", "a dir", "--set", "ChkAll=0", "--", "-b.mp3"});
    EXPECT_EQ(fromPaths.exportKind, view::ExportKind::Spreadsheet);
    EXPECT_EQ(fromPaths.outputPath, "t.xls");
    EXPECT_EQ(fromPaths.listPath, "");
    EXPECT_EQ(fromPaths.paths, (Args{"a dir", "-b.mp3"}));
    ASSERT_EQ(fromPaths.overrides.size(), 1u);
    EXPECT_EQ(parse({"export", "m3u", "p.m3u", "x"}).exportKind, view::ExportKind::Playlist);
}

TEST(Arguments, StatsAndCoverTakeAListOrPaths)
{
    const auto stats = parse({"stats", "a", "b"});
    EXPECT_EQ(stats.command, Command::Stats);
    EXPECT_EQ(stats.paths, (Args{"a", "b"}));
    EXPECT_EQ(parse({"stats", "--list", "l.m3l"}).listPath, "l.m3l");

    const auto cover = parse({"cover", "--list", "l.m3l", "out.bmp", "--font", "DejaVu Serif,14"});
    EXPECT_EQ(cover.command, Command::Cover);
    EXPECT_EQ(cover.outputPath, "out.bmp");
    EXPECT_EQ(cover.listPath, "l.m3l");
    ASSERT_TRUE(cover.font.has_value());
    EXPECT_EQ(cover.font->family, "DejaVu Serif");
    EXPECT_EQ(cover.font->points, 14);
    const auto fromPaths = parse({"cover", "c.bmp", "--font", "Sans", "x.mp3", "y.mp3"});
    EXPECT_EQ(fromPaths.paths, (Args{"x.mp3", "y.mp3"}));
    EXPECT_EQ(fromPaths.font->points, 12);
}

TEST(Arguments, OutputCommandUsageErrors)
{
    for (const Args& bad : {Args{"export"},
                            Args{"export", "xls"},
                            Args{"export", "xls", "t.xls"},
                            Args{"export", "csv", "t.csv", "x"},
                            Args{"export", "XLS", "t.xls", "x"},
                            Args{"export", "t.xls", "xls", "x"},
                            Args{"export", "xls", "t.xls", "--list", "l.m3l", "x"},
                            Args{"export", "m3u", "song.mp3", "x.mp3"},
                            Args{"export", "txt", "list.M3L", "x"},
                            Args{"export", "xls", "t.xls", "--list", "l.txt"},
                            Args{"export", "xls", "t.xls", "--font", "Sans", "x"},
                            Args{"stats"},
                            Args{"stats", "--list", "l.m3l", "x"},
                            Args{"stats", "--list"},
                            Args{"stats", "--rename=yes", "x"},
                            Args{"cover", "c.bmp", "x"},
                            Args{"cover", "--font", "Sans", "--list", "l.m3l"},
                            Args{"cover", "c.bmp", "--font", "Sans"},
                            Args{"cover", "c.bmp", "--font", "Sans", "--list", "l.m3l", "x"},
                            Args{"cover", "c.bmp", "--font"},
                            Args{"cover", "c.bmp", "--font", "Sans,0", "x"},
                            Args{"cover", "a.mp3", "--font", "Sans", "b.mp3"},
                            Args{"cover", "c.bmp", "--font", "Sans", "--dry-run", "x"},
                            Args{"list", "--list", "l.m3l"},
                            Args{"scan", "--font", "Sans", "x"}})
        EXPECT_THROW(parse(bad), UsageError) << ::testing::PrintToString(bad);
}

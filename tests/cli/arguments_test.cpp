#include "cli/arguments.h"
#include "cli/usage.h"

#include <gtest/gtest.h>

#include <string>
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

TEST(Arguments, HelpWinsAnywhereBeforeTheEndOfOptions)
{
    EXPECT_EQ(parse({"-h"}).command, Command::Help);
    EXPECT_EQ(parse({"bogus", "--help"}).command, Command::Help);
    const auto args = parse({"scan", "--", "--help", "-x.mp3"});
    EXPECT_EQ(args.command, Command::Scan);
    EXPECT_EQ(args.paths, (Args{"--help", "-x.mp3"}));
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
    EXPECT_EQ(parse({"settings", "TypMBX", "-3"}).store->number, -3);
    const auto pattern = parse({"settings", "ID2DatNam", ""});
    ASSERT_TRUE(pattern.store.has_value());
    EXPECT_STREQ(pattern.store->info->key, "ID2DatNam");
    EXPECT_EQ(pattern.store->text, "");
}

TEST(Arguments, UsageErrors)
{
    for (const Args& bad : {Args{}, Args{"play", "x.mp3"}, Args{"scan"}, Args{"scan", "--set", "ChkAll=0"},
                            Args{"scan", "x.mp3", "--set"}, Args{"scan", "--set", "ChkAll", "x"},
                            Args{"scan", "--set", "Chkall=0", "x"}, Args{"scan", "-odd.mp3"},
                            Args{"settings", "ChkAll"}, Args{"settings", "ChkAll", "0", "1"}, Args{"fix"},
                            Args{"fix", "--dry-run", "--rename=yes"}, Args{"fix", "--rename=maybe", "x"},
                            Args{"fix", "--rename=", "x"}, Args{"fix", "--rename=YES", "x"},
                            Args{"fix", "--rename", "yes", "x"}, Args{"fix", "--dry", "x"},
                            Args{"scan", "--dry-run", "x"}, Args{"scan", "--rename=yes", "x"}})
        EXPECT_THROW(parse(bad), UsageError) << ::testing::PrintToString(bad);
    for (const char* notAnInteger : {"", "yes", "1.5", " 1", "+1", "0x1", "99999999999"}) {
        EXPECT_THROW(parse({"scan", "--set", std::string("ChkAll=") + notAnInteger, "x"}), UsageError);
        EXPECT_THROW(parse({"settings", "TypMBX", notAnInteger}), UsageError);
    }
}

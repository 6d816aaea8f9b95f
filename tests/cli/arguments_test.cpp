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
                            Args{"settings", "ChkAll"}, Args{"settings", "ChkAll", "0", "1"}})
        EXPECT_THROW(parse(bad), UsageError) << ::testing::PrintToString(bad);
    for (const char* notAnInteger : {"", "yes", "1.5", " 1", "+1", "0x1", "99999999999"}) {
        EXPECT_THROW(parse({"scan", "--set", std::string("ChkAll=") + notAnInteger, "x"}), UsageError);
        EXPECT_THROW(parse({"settings", "TypMBX", notAnInteger}), UsageError);
    }
}

#include "platform/setting_rules.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using platform::OptionValues;
using platform::Setting;

namespace {

// "DelFront ChkAll TypMBX=1": the switches on and the preset (the user's own
// unless named); the pattern is "$Album".
OptionValues parseValues(const std::string& text)
{
    OptionValues values;
    values.typMbx = 2;
    values.pattern = "$Album";
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (word.starts_with("TypMBX="))
            values.typMbx = std::stoi(word.substr(7));
        else
            values.setOn(platform::findSetting(word)->setting, true);
    }
    return values;
}

// The switches on, then "TypMBX=N" and the pattern.
std::string describe(const OptionValues& values)
{
    std::string text;
    for (const auto& info : platform::settingsTable()) {
        if (platform::isSwitch(info.setting) && values.on(info.setting))
            text += std::string(info.key) + ' ';
    }
    return text + "TypMBX=" + std::to_string(values.typMbx) + ' ' + values.pattern;
}

struct RuleRow {
    const char* name;
    Setting changed;  // already set as in before
    const char* before;
    const char* after;
};

}  // namespace

TEST(SettingRules, OneChangedSettingMakesTheOthersFollowOneLevelDeep)
{
    const std::vector<RuleRow> rows = {
        {"DelFront on", Setting::DelFront, "DelFront", "DelFront DelBack ChkAll TypMBX=2 $Album"},
        {"DelFront off", Setting::DelFront, "DelCopy SetOrig DelBack SetID3 SetID3V2 ChkAll ForceGet",
         "DelBack SetID3 ChkAll ForceGet TypMBX=2 $Album"},
        {"DelCopy on", Setting::DelCopy, "DelCopy", "DelFront DelCopy ChkAll TypMBX=2 $Album"},
        {"DelCopy off has no rule", Setting::DelCopy, "DelFront ChkAll", "DelFront ChkAll TypMBX=2 $Album"},
        {"SetOrig on", Setting::SetOrig, "SetOrig", "DelFront SetOrig ChkAll TypMBX=2 $Album"},
        {"DelBack off", Setting::DelBack, "DelFront SetID3", "DelFront TypMBX=2 $Album"},
        {"DelBack on has no rule", Setting::DelBack, "DelBack", "DelBack TypMBX=2 $Album"},
        {"SetID3 on", Setting::SetID3, "SetID3", "DelBack SetID3 TypMBX=2 $Album"},
        {"SetID3V2 on, no cascade to DelBack and ChkAll", Setting::SetID3V2, "SetID3V2",
         "DelFront SetID3V2 TypMBX=2 $Album"},
        {"ChkAll off keeps SetID3V2", Setting::ChkAll, "DelFront DelCopy SetOrig DelBack SetID3V2",
         "DelBack SetID3V2 TypMBX=2 $Album"},
        {"ChkAll on has no rule", Setting::ChkAll, "ChkAll", "ChkAll TypMBX=2 $Album"},
        {"ForceGet has no rule", Setting::ForceGet, "ForceGet", "ForceGet TypMBX=2 $Album"},
        {"Rename has no rule", Setting::Rename, "", "TypMBX=2 $Album"},
        {"TypM", Setting::TypMBX, "CnvUml CnvSpace TypMBX=0", "TypMBX=0 $Track - $Artist - $Title"},
        {"TypB, its conversions leave it a preset", Setting::TypMBX, "DelFront TypMBX=1",
         "DelFront CnvUml CnvAmp CnvSonder CnvSpace TypMBX=1 $Artist-$Title"},
        {"own preset keeps conversions and pattern", Setting::TypMBX, "CnvAmp", "CnvAmp TypMBX=2 $Album"},
        {"a conversion leaves TypB", Setting::CnvUml, "CnvUml TypMBX=1", "CnvUml TypMBX=2 $Album"},
        {"the pattern leaves TypM", Setting::ID2DatNam, "TypMBX=0", "TypMBX=2 $Album"},
        {"an unknown preset stays", Setting::CnvSpace, "TypMBX=7", "TypMBX=7 $Album"},
    };
    for (const RuleRow& row : rows) {
        OptionValues values = parseValues(row.before);
        platform::applyRule(values, row.changed);
        EXPECT_EQ(describe(values), row.after) << row.name;
    }
}

TEST(SettingRules, FollowersAreWrittenToTheStoreOnlyWhereTheyChange)
{
    testsupport::MemoryProfile profile;
    profile.writeInt("DelFront", 0);
    profile.writeInt("SetOrig", 0);
    profile.writeInt("SetID3V2", 2);  // on, though the dialog never writes it
    EXPECT_EQ(platform::storeFollowers(profile, Setting::DelFront),
              (std::vector<Setting>{Setting::DelCopy, Setting::SetID3V2}));
    EXPECT_EQ(profile.getInt("DelCopy", -1), 0);
    EXPECT_EQ(profile.getInt("SetID3V2", -1), 0);

    // A switch already on stays as stored.
    profile.writeInt("DelFront", 1);
    profile.writeInt("DelBack", 5);
    profile.writeInt("ChkAll", 0);
    EXPECT_EQ(platform::storeFollowers(profile, Setting::DelFront), std::vector<Setting>{Setting::ChkAll});
    EXPECT_EQ(profile.getInt("DelBack", -1), 5);
    EXPECT_EQ(profile.getInt("ChkAll", -1), 1);

    profile.writeInt("CnvUml", 0);
    profile.writeInt("TypMBX", 0);
    EXPECT_EQ(platform::storeFollowers(profile, Setting::TypMBX),
              (std::vector<Setting>{Setting::CnvAmp, Setting::CnvSonder, Setting::CnvSpace, Setting::ID2DatNam}));
    EXPECT_EQ(platform::readOptionValues(profile).pattern, "$Track - $Artist - $Title");
    EXPECT_EQ(profile.getInt("CnvSpace", -1), 0);
    EXPECT_TRUE(platform::storeFollowers(profile, Setting::TypMBX).empty()) << "nothing left to follow";
}

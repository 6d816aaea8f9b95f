#include "platform/qsettings_profile.h"
#include "platform/repair_settings.h"
#include "platform/settings.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using platform::Setting;

TEST(Settings, KeysWithTheirDefaultsInDialogOrder)
{
    testsupport::ScopedSeams seams;
    std::string listed;
    for (const auto& info : platform::settingsTable()) {
        listed += info.key;
        listed += '=';
        listed += info.defaultText ? info.defaultText : std::to_string(info.defaultValue);
        listed += ' ';
    }
    EXPECT_EQ(listed,
              "DelFront=1 DelCopy=1 SetOrig=1 DelBack=1 SetID3=1 SetID3V2=1 ChkAll=1 ForceGet=0 Rename=1 "
              "TypMBX=1 CnvUml=1 CnvAmp=1 CnvSonder=1 CnvSpace=1 ID2DatNam=$Artist-$Title KeepOrig=1 KeepDays=30 ");
    EXPECT_EQ(platform::findSetting("CnvSpace")->setting, Setting::CnvSpace);
    EXPECT_EQ(platform::findSetting("cnvspace"), nullptr);
    EXPECT_TRUE(platform::isOn(Setting::ChkAll));
    EXPECT_FALSE(platform::isOn(Setting::ForceGet));
    // An empty store gives the repairs the defaults the value starts with.
    EXPECT_EQ(platform::readRepairSettings(), platform::RepairSettings{});
    EXPECT_EQ(platform::readRepairSettings().naming.pattern, "$Artist-$Title");
}

TEST(Settings, EachDefinesTheValuesItTakes)
{
    using platform::SettingFit;
    for (const auto& info : platform::settingsTable()) {
        if (info.defaultText)
            continue;
        // Every default fits its own range.
        EXPECT_EQ(platform::checkSetting(info, info.defaultValue), SettingFit::Fits) << info.key;
        EXPECT_EQ(platform::checkSetting(info, info.lowest - 1), SettingFit::OutOfRange) << info.key;
        EXPECT_EQ(platform::checkSetting(info, info.highest + 1), SettingFit::OutOfRange) << info.key;
    }
    const auto& days = platform::settingInfo(Setting::KeepDays);
    EXPECT_EQ(days.lowest, 1);
    EXPECT_EQ(days.highest, 3650);
    EXPECT_EQ(platform::settingInfo(Setting::TypMBX).highest, 2);
    EXPECT_EQ(platform::settingInfo(Setting::ChkAll).highest, 1);

    // The pattern: 49 characters as the user sees them; an accent joins its letter.
    const auto& pattern = platform::settingInfo(Setting::ID2DatNam);
    EXPECT_EQ(platform::characterCount("\xC3\xA4"
                                       "e\xCC\x81\xF0\x9F\x8E\xB5x"),
              4u);
    std::string longest;
    for (int i = 0; i < 49; ++i)
        longest += "e\xCC\x81";
    EXPECT_EQ(platform::checkSetting(pattern, longest), SettingFit::Fits);
    EXPECT_EQ(platform::checkSetting(pattern, longest + "x"), SettingFit::TooLong);
}

TEST(Settings, RepairSettingsAreReadAsTheStoreHoldsThemWhenAsked)
{
    testsupport::ScopedSeams seams;
    seams.profile.writeInt("ForceGet", 2);
    seams.profile.writeInt("SetID3", 2);
    EXPECT_TRUE(platform::isOn(Setting::ForceGet));
    platform::RepairSettings read = platform::readRepairSettings();
    // Only a 1 forces the names and appends the tag; any other non-zero
    // value still marks the tag due.
    EXPECT_FALSE(read.forceNames);
    EXPECT_TRUE(read.markTagDue);
    EXPECT_FALSE(read.appendTag);
    seams.profile.writeInt("ForceGet", 1);
    seams.profile.writeInt("SetID3", 0);
    seams.profile.writeInt("DelBack", 0);
    seams.profile.writeInt("CnvSpace", 0);
    seams.profile.writeString("ID2DatNam", "");
    EXPECT_TRUE(read.cutBack) << "a value read stays as it was read";
    read = platform::readRepairSettings();
    EXPECT_TRUE(read.forceNames);
    EXPECT_FALSE(read.markTagDue);
    EXPECT_FALSE(read.appendTag);
    EXPECT_FALSE(read.cutBack);
    EXPECT_FALSE(read.naming.underscores);
    EXPECT_EQ(read.naming.pattern, "");
    // The keeping of originals is none of the repairs'.
    seams.profile.writeInt("KeepOrig", 0);
    EXPECT_EQ(platform::readRepairSettings(), read);
    EXPECT_FALSE(platform::isRepairSetting(Setting::KeepDays));
    EXPECT_TRUE(platform::isRepairSetting(Setting::TypMBX));
}

TEST(QSettingsProfile, StoresIntegersAndTextsInTheUsersConfigFile)
{
    testsupport::TempDir home;
    ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
    {
        platform::QSettingsProfile profile;
        EXPECT_EQ(profile.getInt("ChkAll", 1), 1);
        EXPECT_EQ(profile.getString("ID2DatNam", "$Artist-$Title"), "$Artist-$Title");
        profile.writeInt("ChkAll", 0);
        profile.writeString("ID2DatNam", "$Track - \xC3\x84rger");
    }
    platform::QSettingsProfile again;
    EXPECT_EQ(again.getInt("ChkAll", 1), 0);
    EXPECT_EQ(again.getString("ID2DatNam", ""), "$Track - \xC3\x84rger");

    std::ifstream conf(home.path() + "/CD_Cover erstellen/Liedkram.conf");
    ASSERT_TRUE(conf) << "the settings file lies in the user's config folder";
    std::stringstream content;
    content << conf.rdbuf();
    EXPECT_NE(content.str().find("ChkAll=0"), std::string::npos);
}

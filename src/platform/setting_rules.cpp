#include "platform/setting_rules.h"

#include "platform/profile.h"

#include <cassert>

namespace platform {

namespace {

// When a switch is now on (or off), these switches follow it to the same state.
struct SwitchRule {
    Setting changed;
    bool now;
    std::array<Setting, 3> followers;
    std::size_t count;
};

// Rewriting every frame header goes with the front cut and the exact frame
// walk; the ID3v1 tag goes with the back cut, the ID3v2 tag with the front cut.
constexpr std::array kSwitchRules = {
    SwitchRule{Setting::DelFront, true, {Setting::DelBack, Setting::ChkAll}, 2},
    SwitchRule{Setting::DelFront, false, {Setting::DelCopy, Setting::SetOrig, Setting::SetID3V2}, 3},
    SwitchRule{Setting::DelCopy, true, {Setting::DelFront, Setting::ChkAll}, 2},
    SwitchRule{Setting::SetOrig, true, {Setting::DelFront, Setting::ChkAll}, 2},
    SwitchRule{Setting::DelBack, false, {Setting::SetID3}, 1},
    SwitchRule{Setting::SetID3, true, {Setting::DelBack}, 1},
    SwitchRule{Setting::SetID3V2, true, {Setting::DelFront}, 1},
    SwitchRule{Setting::ChkAll, false, {Setting::DelFront, Setting::SetOrig, Setting::DelCopy}, 3},
};

constexpr std::array kConversions = {Setting::CnvUml, Setting::CnvAmp, Setting::CnvSonder, Setting::CnvSpace};

constexpr const char* kPatternTypM = "$Track - $Artist - $Title";
constexpr const char* kPatternTypB = "$Artist-$Title";

std::size_t index(Setting setting)
{
    return static_cast<std::size_t>(setting);
}

bool isConversion(Setting setting)
{
    for (const Setting conversion : kConversions) {
        if (conversion == setting)
            return true;
    }
    return false;
}

bool isPreset(int typMbx)
{
    return typMbx == static_cast<int>(RenamePreset::TypM) || typMbx == static_cast<int>(RenamePreset::TypB);
}

}  // namespace

bool isSwitch(Setting setting)
{
    const SettingInfo& info = settingInfo(setting);
    return !info.defaultText && info.lowest == 0 && info.highest == 1;
}

bool OptionValues::on(Setting setting) const
{
    assert(isSwitch(setting));
    return switches[index(setting)];
}

void OptionValues::setOn(Setting setting, bool on)
{
    assert(isSwitch(setting));
    switches[index(setting)] = on;
}

void applyRule(OptionValues& values, Setting changed)
{
    if (changed == Setting::TypMBX) {
        if (isPreset(values.typMbx))
            applyPreset(values, static_cast<RenamePreset>(values.typMbx));
        return;
    }
    if (isConversion(changed) || changed == Setting::ID2DatNam) {
        if (isPreset(values.typMbx))
            values.typMbx = static_cast<int>(RenamePreset::Own);
        return;
    }
    if (!isSwitch(changed))
        return;
    const bool now = values.on(changed);
    for (const SwitchRule& rule : kSwitchRules) {
        if (rule.changed != changed || rule.now != now)
            continue;
        for (std::size_t i = 0; i < rule.count; ++i)
            values.setOn(rule.followers[i], now);
    }
}

void applyPreset(OptionValues& values, RenamePreset preset)
{
    if (preset == RenamePreset::Own)
        return;
    const bool typB = preset == RenamePreset::TypB;
    for (const Setting conversion : kConversions)
        values.setOn(conversion, typB);
    values.pattern = typB ? kPatternTypB : kPatternTypM;
}

OptionValues readOptionValues(Profile& profile)
{
    OptionValues values;
    for (const SettingInfo& info : settingsTable()) {
        if (isSwitch(info.setting))
            values.setOn(info.setting, profile.getInt(info.key, info.defaultValue) != 0);
        else if (info.setting == Setting::TypMBX)
            values.typMbx = profile.getInt(info.key, info.defaultValue);
        else if (info.setting == Setting::ID2DatNam)
            values.pattern = profile.getString(info.key, info.defaultText);
    }
    return values;
}

std::vector<Setting> storeFollowers(Profile& profile, Setting changed)
{
    const OptionValues stored = readOptionValues(profile);
    OptionValues followed = stored;
    applyRule(followed, changed);
    std::vector<Setting> written;
    for (const SettingInfo& info : settingsTable()) {
        if (isSwitch(info.setting) && followed.on(info.setting) != stored.on(info.setting))
            profile.writeInt(info.key, followed.on(info.setting) ? 1 : 0);
        else if (info.setting == Setting::TypMBX && followed.typMbx != stored.typMbx)
            profile.writeInt(info.key, followed.typMbx);
        else if (info.setting == Setting::ID2DatNam && followed.pattern != stored.pattern)
            profile.writeString(info.key, followed.pattern);
        else
            continue;
        written.push_back(info.setting);
    }
    return written;
}

}  // namespace platform

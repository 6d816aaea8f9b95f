#include "platform/repair_settings.h"

#include "platform/profile.h"

#include <cassert>

namespace platform {

bool isRepairSetting(Setting setting)
{
    return setting != Setting::KeepOrig && setting != Setting::KeepDays;
}

void applySetting(RepairSettings& settings, Setting setting, int value)
{
    const bool on = value != 0;
    switch (setting) {
    case Setting::DelFront:
        settings.cutFront = on;
        break;
    case Setting::DelCopy:
        settings.clearCopyright = on;
        break;
    case Setting::SetOrig:
        settings.setOriginal = on;
        break;
    case Setting::DelBack:
        settings.cutBack = on;
        break;
    case Setting::SetID3:
        settings.markTagDue = on;
        settings.appendTag = value == 1;
        break;
    case Setting::SetID3V2:
        settings.writeId3v2 = on;
        break;
    case Setting::ChkAll:
        settings.scanAll = on;
        break;
    case Setting::ForceGet:
        settings.forceNames = value == 1;
        break;
    case Setting::Rename:
        settings.rename = on;
        break;
    case Setting::TypMBX:
        settings.preset = static_cast<RenamePreset>(value);
        break;
    case Setting::CnvUml:
        settings.naming.spellUmlauts = on;
        break;
    case Setting::CnvAmp:
        settings.naming.ampersandAsN = on;
        break;
    case Setting::CnvSonder:
        settings.naming.dropSpecial = on;
        break;
    case Setting::CnvSpace:
        settings.naming.underscores = on;
        break;
    case Setting::ID2DatNam:
    case Setting::KeepOrig:
    case Setting::KeepDays:
        assert(false);
        break;
    }
}

void applyPattern(RepairSettings& settings, std::string_view pattern)
{
    settings.naming.pattern = pattern;
}

RepairSettings readRepairSettings(Profile& profile)
{
    RepairSettings settings;
    for (const SettingInfo& info : settingsTable()) {
        if (!isRepairSetting(info.setting))
            continue;
        if (info.defaultText)
            applyPattern(settings, profile.getString(info.key, info.defaultText));
        else
            applySetting(settings, info.setting, profile.getInt(info.key, info.defaultValue));
    }
    return settings;
}

RepairSettings readRepairSettings()
{
    return readRepairSettings(profile());
}

}  // namespace platform

#include "platform/settings.h"

#include "platform/profile.h"

#include <cassert>

namespace platform {

namespace {

constexpr std::array<SettingInfo, kSettingCount> kSettings = {{
    {Setting::DelFront, "DelFront", 1, nullptr},
    {Setting::DelCopy, "DelCopy", 1, nullptr},
    {Setting::SetOrig, "SetOrig", 1, nullptr},
    {Setting::DelBack, "DelBack", 1, nullptr},
    {Setting::SetID3, "SetID3", 1, nullptr},
    {Setting::SetID3V2, "SetID3V2", 1, nullptr},
    {Setting::ChkAll, "ChkAll", 1, nullptr},
    {Setting::ForceGet, "ForceGet", 0, nullptr},
    {Setting::Rename, "Rename", 1, nullptr},
    {Setting::TypMBX, "TypMBX", 1, nullptr},
    {Setting::CnvUml, "CnvUml", 1, nullptr},
    {Setting::CnvAmp, "CnvAmp", 1, nullptr},
    {Setting::CnvSonder, "CnvSonder", 1, nullptr},
    {Setting::CnvSpace, "CnvSpace", 1, nullptr},
    {Setting::ID2DatNam, "ID2DatNam", 0, "$Artist-$Title"},
    {Setting::KeepOrig, "KeepOrig", 1, nullptr},
    {Setting::KeepDays, "KeepDays", 30, nullptr},
}};

constexpr const char* kMoveFolderKey = "MoveDir";

}  // namespace

const std::array<SettingInfo, kSettingCount>& settingsTable()
{
    return kSettings;
}

const SettingInfo& settingInfo(Setting setting)
{
    const auto& info = kSettings[static_cast<std::size_t>(setting)];
    assert(info.setting == setting);
    return info;
}

const SettingInfo* findSetting(std::string_view key)
{
    for (const auto& info : kSettings) {
        if (key == info.key)
            return &info;
    }
    return nullptr;
}

int readSetting(Setting setting)
{
    const auto& info = settingInfo(setting);
    assert(!info.defaultText);
    return profile().getInt(info.key, info.defaultValue);
}

bool isOn(Setting setting)
{
    return readSetting(setting) != 0;
}

bool isExactlyOne(Setting setting)
{
    return readSetting(setting) == 1;
}

std::string readRenamePattern()
{
    const auto& info = settingInfo(Setting::ID2DatNam);
    return profile().getString(info.key, info.defaultText);
}

std::string readMoveFolder()
{
    return profile().getString(kMoveFolderKey, "");
}

void writeMoveFolder(std::string_view folder)
{
    profile().writeString(kMoveFolderKey, folder);
}

}  // namespace platform

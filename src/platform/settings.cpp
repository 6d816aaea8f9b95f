#include "platform/settings.h"

#include "platform/profile.h"
#include "platform/text.h"

#include <cassert>

namespace platform {

namespace {

// The switches take 0 or 1 (as the dialog writes them), TypMBX its three
// presets; originals stay a day at least and ten years at most.
constexpr std::array<SettingInfo, kSettingCount> kSettings = {{
    {Setting::DelFront, "DelFront", 1, nullptr, 0, 1},
    {Setting::DelCopy, "DelCopy", 1, nullptr, 0, 1},
    {Setting::SetOrig, "SetOrig", 1, nullptr, 0, 1},
    {Setting::DelBack, "DelBack", 1, nullptr, 0, 1},
    {Setting::SetID3, "SetID3", 1, nullptr, 0, 1},
    {Setting::SetID3V2, "SetID3V2", 1, nullptr, 0, 1},
    {Setting::ChkAll, "ChkAll", 1, nullptr, 0, 1},
    {Setting::ForceGet, "ForceGet", 0, nullptr, 0, 1},
    {Setting::Rename, "Rename", 1, nullptr, 0, 1},
    {Setting::TypMBX, "TypMBX", 1, nullptr, 0, 2},
    {Setting::CnvUml, "CnvUml", 1, nullptr, 0, 1},
    {Setting::CnvAmp, "CnvAmp", 1, nullptr, 0, 1},
    {Setting::CnvSonder, "CnvSonder", 1, nullptr, 0, 1},
    {Setting::CnvSpace, "CnvSpace", 1, nullptr, 0, 1},
    {Setting::ID2DatNam, "ID2DatNam", 0, "$Artist-$Title", 0, 49},
    {Setting::KeepOrig, "KeepOrig", 1, nullptr, 0, 1},
    {Setting::KeepDays, "KeepDays", 30, nullptr, 1, 3650},
}};

constexpr const char* kMoveFolderKey = "MoveDir";
constexpr const char* kAddFolderKey = "AddDir";

// Accents, variation selectors and joiners belong to the character before:
// a letter with its accent is one character to the user.
bool joinsPrevious(char32_t code)
{
    return (code >= 0x0300 && code <= 0x036F) || (code >= 0x1AB0 && code <= 0x1AFF) ||
           (code >= 0x1DC0 && code <= 0x1DFF) || (code >= 0x20D0 && code <= 0x20FF) ||
           (code >= 0xFE00 && code <= 0xFE0F) || (code >= 0xFE20 && code <= 0xFE2F) || code == 0x200D;
}

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

SettingFit checkSetting(const SettingInfo& info, int value)
{
    assert(!info.defaultText);
    return value < info.lowest || value > info.highest ? SettingFit::OutOfRange : SettingFit::Fits;
}

SettingFit checkSetting(const SettingInfo& info, std::string_view text)
{
    assert(info.defaultText);
    return characterCount(text) > static_cast<std::size_t>(info.highest) ? SettingFit::TooLong : SettingFit::Fits;
}

std::size_t characterCount(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (!joinsPrevious(decodeUtf8(text, pos)))
            ++characters;
    }
    return characters;
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

std::string readMoveFolder()
{
    return profile().getString(kMoveFolderKey, "");
}

void writeMoveFolder(std::string_view folder)
{
    profile().writeString(kMoveFolderKey, folder);
}

std::string readAddFolder()
{
    return profile().getString(kAddFolderKey, "");
}

void writeAddFolder(std::string_view folder)
{
    profile().writeString(kAddFolderKey, folder);
}

}  // namespace platform

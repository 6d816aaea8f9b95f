#pragma once

#include <array>
#include <string>
#include <string_view>

namespace platform {

// The fifteen user settings, in the order the options dialog writes them.
enum class Setting {
    DelFront,
    DelCopy,
    SetOrig,
    DelBack,
    SetID3,
    SetID3V2,
    ChkAll,
    ForceGet,
    Rename,
    TypMBX,
    CnvUml,
    CnvAmp,
    CnvSonder,
    CnvSpace,
    ID2DatNam,
};

struct SettingInfo {
    Setting setting;
    const char* key;
    int defaultValue;         // integer settings
    const char* defaultText;  // the text setting; null for the others
};

inline constexpr std::size_t kSettingCount = 15;

const std::array<SettingInfo, kSettingCount>& settingsTable();
const SettingInfo& settingInfo(Setting setting);
// The setting stored under this key, or null.
const SettingInfo* findSetting(std::string_view key);

// Settings are read from the installed profile at the moment of use, never
// cached, so a change applies to the next operation.
int readSetting(Setting setting);
// Non-zero counts as on.
bool isOn(Setting setting);
// Only the value 1 counts as on (ForceGet; SetID3 when a file is rewritten).
bool isExactlyOne(Setting setting);
std::string readRenamePattern();

}  // namespace platform

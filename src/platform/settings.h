#pragma once

#include <array>
#include <string>
#include <string_view>

namespace platform {

// The user settings, in the order the options dialog writes them: the
// fifteen of the repairs, then the two of keeping originals for undo.
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
    KeepOrig,  // keep the originals of changed files (1) or not (0)
    KeepDays,  // how many days kept originals stay
};

struct SettingInfo {
    Setting setting;
    const char* key;
    int defaultValue;  // integer settings
    const char* defaultText;  // the text setting; null for the others
    // Integer settings: the lowest and highest value a setting may be given.
    // The text setting: highest is the most characters it holds.
    int lowest;
    int highest;
};

// Whether a value may be given to a setting.
enum class SettingFit {
    Fits,
    OutOfRange,  // an integer below lowest or above highest
    TooLong,  // a text of more than highest characters
};
SettingFit checkSetting(const SettingInfo& info, int value);
SettingFit checkSetting(const SettingInfo& info, std::string_view text);
// The characters of a UTF-8 text as the user sees them: code points, an
// accent or joiner counted with the one before.
std::size_t characterCount(std::string_view text);

inline constexpr std::size_t kSettingCount = 17;

const std::array<SettingInfo, kSettingCount>& settingsTable();
const SettingInfo& settingInfo(Setting setting);
// The setting stored under this key, or null.
const SettingInfo* findSetting(std::string_view key);

// An integer setting as the installed profile holds it now, never cached, so
// a change applies to the next operation. The repairs take theirs as one
// value (platform/repair_settings.h).
int readSetting(Setting setting);
// Non-zero counts as on.
bool isOn(Setting setting);

// The folder the files were last moved to ("mp3's verschieben"): kept in
// the same store, but none of the settings above; empty at first.
std::string readMoveFolder();
void writeMoveFolder(std::string_view folder);
// The folder chosen last in "Ordner hinzufügen...", kept alike; empty at first.
std::string readAddFolder();
void writeAddFolder(std::string_view folder);

}  // namespace platform

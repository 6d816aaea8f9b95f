#pragma once

#include "platform/settings.h"

#include <string>
#include <string_view>

namespace platform {

class Profile;

// How the rename pattern turns tag texts into a file name (CnvSonder,
// CnvUml, CnvAmp, CnvSpace, ID2DatNam).
struct NamingRules {
    bool dropSpecial = true;  // drop ' , . and their kind
    bool spellUmlauts = true;  // "Ae" for "Ä", and so on
    bool ampersandAsN = true;  // "n" for "&" and "and"
    bool underscores = true;  // words joined by "_", not by blanks
    std::string pattern = "$Artist-$Title";  // UTF-8

    friend bool operator==(const NamingRules&, const NamingRules&) = default;
};

// The three presets of the rename settings (TypMBX).
enum class RenamePreset {
    TypM = 0,  // "$Track - $Artist - $Title", no conversions
    TypB = 1,  // "$Artist-$Title", every conversion
    Own = 2,  // the user's pattern and conversions
};

// What the repairs are asked to do, read from the store once for a command
// and handed down to loading, marking and rewriting. Its defaults are the
// store's. Where a stored value other than 0 and 1 means something, the
// field says which reading it is.
struct RepairSettings {
    bool cutFront = true;  // DelFront
    bool clearCopyright = true;  // DelCopy
    bool setOriginal = true;  // SetOrig
    bool cutBack = true;  // DelBack
    bool markTagDue = true;  // SetID3 other than 0: a repair marks the ID3v1 tag due
    bool appendTag = true;  // SetID3 exactly 1: a rewrite appends the fresh ID3v1 tag
    bool writeId3v2 = true;  // SetID3V2
    bool scanAll = true;  // ChkAll: walk every frame when loading
    bool forceNames = false;  // ForceGet exactly 1: names from the file name replace any tag text
    bool rename = true;  // Rename
    RenamePreset preset = RenamePreset::TypB;  // TypMBX
    NamingRules naming;

    friend bool operator==(const RepairSettings&, const RepairSettings&) = default;
};

// Whether the setting is one of the repairs' (the keeping of originals is not).
bool isRepairSetting(Setting setting);
// Puts a stored value of a repair setting into the struct, read as the store
// reads it; the text setting takes the pattern.
void applySetting(RepairSettings& settings, Setting setting, int value);
void applyPattern(RepairSettings& settings, std::string_view pattern);

// The repair settings as the store holds them now.
RepairSettings readRepairSettings(Profile& profile);
// The same from the installed profile.
RepairSettings readRepairSettings();

}  // namespace platform

#pragma once

#include "platform/repair_settings.h"
#include "platform/settings.h"

#include <array>
#include <string>
#include <vector>

namespace platform {

class Profile;

// The settings the options dialog shows together: every switch (a setting
// that takes 0 or 1), the rename preset and the pattern.
struct OptionValues {
    std::array<bool, kSettingCount> switches{};  // by Setting; only the switches count
    int typMbx = 1;
    std::string pattern;  // UTF-8

    bool on(Setting setting) const;
    void setOn(Setting setting, bool on);

    friend bool operator==(const OptionValues&, const OptionValues&) = default;
};

bool isSwitch(Setting setting);

// Makes the others follow one setting that was just changed in the value,
// one level deep: a setting a rule changes does not in turn apply its own
// rule. A switch's rule is the options dialog's; TypMBX 0 or 1 takes its
// preset; a conversion or the pattern of the user's own leaves a preset for
// TypMBX 2, since the preset would be put back over it. The other settings
// have no rule.
void applyRule(OptionValues& values, Setting changed);
// The four conversions and the pattern of a preset; the user's own (Own)
// keeps them as they are.
void applyPreset(OptionValues& values, RenamePreset preset);

// The value as the store holds it now (a switch other than 0 counts as on).
OptionValues readOptionValues(Profile& profile);
// Applies the rule of a setting already stored to the others in the store
// and writes those it changes. Returns them in the order of the settings table.
std::vector<Setting> storeFollowers(Profile& profile, Setting changed);

}  // namespace platform

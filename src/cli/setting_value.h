#pragma once

#include "platform/profile.h"
#include "platform/repair_settings.h"
#include "platform/settings.h"

#include <string>
#include <string_view>

namespace cli {

// One setting with a value checked against its type.
struct SettingValue {
    const platform::SettingInfo* info = nullptr;
    int number = 0;  // integer settings
    std::string text;  // the text setting (ID2DatNam)
};

// Throws UsageError for an unknown key, a value that is not an integer
// where the setting takes one, or a value the setting may not be given
// (naming what it takes).
SettingValue parseSettingValue(std::string_view key, std::string_view value);

void writeSetting(platform::Profile& profile, const SettingValue& value);

// A value given for one run: a repair setting goes into the run's settings,
// the keeping of originals into the profile the journal reads for the run.
void applyOverride(platform::RepairSettings& settings, platform::Profile& runProfile, const SettingValue& value);

// The value as the profile holds it, the default when it holds none.
std::string readSettingText(platform::Profile& profile, const platform::SettingInfo& info);

}  // namespace cli

#pragma once

#include "cli/setting_value.h"

#include <optional>
#include <ostream>

namespace cli {

// Stores the one setting given, or else prints every setting as a
// KEY=VALUE line in the order of the settings table. Returns the exit status.
int runSettings(platform::Profile& profile, const std::optional<SettingValue>& store, std::ostream& out);

}  // namespace cli

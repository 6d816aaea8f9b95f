#pragma once

#include "cli/setting_value.h"

#include <optional>
#include <ostream>

namespace cli {

// Stores the one setting given and the settings that follow it by the
// options dialog's rules, printing each follower that changed as a KEY=VALUE
// line; or else prints every setting so, in the order of the settings table.
// Returns the exit status.
int runSettings(platform::Profile& profile, const std::optional<SettingValue>& store, std::ostream& out);

}  // namespace cli

#include "cli/settings_command.h"

#include "cli/usage.h"

namespace cli {

int runSettings(platform::Profile& profile, const std::optional<SettingValue>& store, std::ostream& out)
{
    if (store) {
        writeSetting(profile, *store);
        return kExitOk;
    }
    for (const platform::SettingInfo& info : platform::settingsTable())
        out << info.key << '=' << readSettingText(profile, info) << '\n';
    return kExitOk;
}

}  // namespace cli

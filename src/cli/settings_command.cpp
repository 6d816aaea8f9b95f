#include "cli/settings_command.h"

#include "cli/usage.h"
#include "platform/setting_rules.h"

namespace cli {

int runSettings(platform::Profile& profile, const std::optional<SettingValue>& store, std::ostream& out)
{
    if (store) {
        writeSetting(profile, *store);
        // The others follow as the options dialog makes them; a script sees which.
        for (const platform::Setting follower : platform::storeFollowers(profile, store->info->setting)) {
            const platform::SettingInfo& info = platform::settingInfo(follower);
            out << info.key << '=' << readSettingText(profile, info) << '\n';
        }
        return kExitOk;
    }
    for (const platform::SettingInfo& info : platform::settingsTable())
        out << info.key << '=' << readSettingText(profile, info) << '\n';
    return kExitOk;
}

}  // namespace cli

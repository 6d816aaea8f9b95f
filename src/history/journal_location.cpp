#include "history/journal_location.h"

#include "platform/settings.h"

#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace history {

namespace {

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return "/tmp";
}

}  // namespace

std::string dataDirectory()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // Only an absolute path counts, as the XDG rules say.
    const std::string base = dataHome && *dataHome == '/' ? std::string(dataHome) : homeDirectory() + "/.local/share";
    return base + "/liedkram";
}

bool keepingIsOn()
{
    return platform::isOn(platform::Setting::KeepOrig);
}

int keptDays()
{
    // A value stored out of range (by hand, or by an older program) must not
    // make every new change set purge all earlier ones.
    const auto& info = platform::settingInfo(platform::Setting::KeepDays);
    return std::clamp(platform::readSetting(platform::Setting::KeepDays), info.lowest, info.highest);
}

}  // namespace history

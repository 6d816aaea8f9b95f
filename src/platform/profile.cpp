#include "platform/profile.h"

#include <cassert>

namespace platform {

namespace {
Profile* installedProfile = nullptr;
}

int MemoryProfile::getInt(std::string_view key, int defaultValue)
{
    const auto found = ints_.find(key);
    return found == ints_.end() ? defaultValue : found->second;
}

void MemoryProfile::writeInt(std::string_view key, int value)
{
    ints_.insert_or_assign(std::string(key), value);
}

std::string MemoryProfile::getString(std::string_view key, std::string_view defaultValue)
{
    const auto found = strings_.find(key);
    return found == strings_.end() ? std::string(defaultValue) : found->second;
}

void MemoryProfile::writeString(std::string_view key, std::string_view value)
{
    strings_.insert_or_assign(std::string(key), std::string(value));
}

Profile& profile()
{
    assert(installedProfile && "no profile installed");
    return *installedProfile;
}

Profile* installProfile(Profile* profile)
{
    Profile* previous = installedProfile;
    installedProfile = profile;
    return previous;
}

}  // namespace platform

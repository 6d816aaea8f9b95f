#include "cli/override_profile.h"

namespace cli {

OverrideProfile::OverrideProfile(platform::Profile& below) : below_(below) {}

int OverrideProfile::getInt(std::string_view key, int defaultValue)
{
    const auto found = ints_.find(key);
    return found == ints_.end() ? below_.getInt(key, defaultValue) : found->second;
}

void OverrideProfile::writeInt(std::string_view key, int value)
{
    ints_.insert_or_assign(std::string(key), value);
}

std::string OverrideProfile::getString(std::string_view key, std::string_view defaultValue)
{
    const auto found = strings_.find(key);
    return found == strings_.end() ? below_.getString(key, defaultValue) : found->second;
}

void OverrideProfile::writeString(std::string_view key, std::string_view value)
{
    strings_.insert_or_assign(std::string(key), std::string(value));
}

}  // namespace cli

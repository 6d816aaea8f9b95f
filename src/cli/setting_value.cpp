#include "cli/setting_value.h"

#include "cli/usage.h"

#include <charconv>

namespace cli {

namespace {

bool isTextSetting(const platform::SettingInfo& info)
{
    return info.defaultText != nullptr;
}

}  // namespace

SettingValue parseSettingValue(std::string_view key, std::string_view value)
{
    const platform::SettingInfo* info = platform::findSetting(key);
    if (!info)
        throw UsageError("unknown setting '" + std::string(key) + "'");
    SettingValue result;
    result.info = info;
    if (isTextSetting(*info)) {
        result.text = value;
        return result;
    }
    const auto notAnInteger = [&] {
        return UsageError("setting " + std::string(key) + " takes an integer, not '" + std::string(value) + "'");
    };
    if (value.empty())
        throw notAnInteger();
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, result.number);
    if (error != std::errc() || stop != end)
        throw notAnInteger();
    return result;
}

void writeSetting(platform::Profile& profile, const SettingValue& value)
{
    if (isTextSetting(*value.info))
        profile.writeString(value.info->key, value.text);
    else
        profile.writeInt(value.info->key, value.number);
}

std::string readSettingText(platform::Profile& profile, const platform::SettingInfo& info)
{
    if (isTextSetting(info))
        return profile.getString(info.key, info.defaultText);
    return std::to_string(profile.getInt(info.key, info.defaultValue));
}

}  // namespace cli

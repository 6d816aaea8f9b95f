#include "cli/setting_value.h"

#include "autoedit/auto_edit.h"
#include "cli/usage.h"

#include <charconv>

namespace cli {

namespace {

bool isTextSetting(const platform::SettingInfo& info)
{
    return info.defaultText != nullptr;
}

std::string rangeText(const platform::SettingInfo& info)
{
    const std::string lowest = std::to_string(info.lowest);
    const std::string highest = std::to_string(info.highest);
    if (info.highest == info.lowest + 1)
        return lowest + " or " + highest;
    return lowest + " to " + highest;
}

// The rename pattern is held to the rule the options dialog keeps.
void checkPattern(std::string_view key, std::string_view pattern)
{
    const autoedit::PatternCheck check = autoedit::CheckPattern(pattern);
    const std::string named = "setting " + std::string(key) + ": the pattern '" + std::string(pattern) + "' ";
    switch (check.fault) {
    case autoedit::PatternFault::None:
        return;
    case autoedit::PatternFault::FolderSeparator:
        throw UsageError(named + "holds '" + check.word + "': a file name cannot name a folder");
    case autoedit::PatternFault::UnknownWord:
        throw UsageError(named + "holds the unknown word '" + check.word +
                         "' (known: $Artist, $Title, $Album, $Genre, $Comment, $Track)");
    }
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
        if (platform::checkSetting(*info, value) != platform::SettingFit::Fits)
            throw UsageError("setting " + std::string(key) + " takes at most " + std::to_string(info->highest) +
                             " characters, not " + std::to_string(platform::characterCount(value)));
        if (info->setting == platform::Setting::ID2DatNam)
            checkPattern(key, value);
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
    if (platform::checkSetting(*info, result.number) != platform::SettingFit::Fits)
        throw UsageError("setting " + std::string(key) + " takes " + rangeText(*info) + ", not '" + std::string(value) +
                         "'");
    return result;
}

void writeSetting(platform::Profile& profile, const SettingValue& value)
{
    if (isTextSetting(*value.info))
        profile.writeString(value.info->key, value.text);
    else
        profile.writeInt(value.info->key, value.number);
}

void applyOverride(platform::RepairSettings& settings, platform::Profile& runProfile, const SettingValue& value)
{
    if (!platform::isRepairSetting(value.info->setting))
        writeSetting(runProfile, value);
    else if (isTextSetting(*value.info))
        platform::applyPattern(settings, value.text);
    else
        platform::applySetting(settings, value.info->setting, value.number);
}

std::string readSettingText(platform::Profile& profile, const platform::SettingInfo& info)
{
    if (isTextSetting(info))
        return profile.getString(info.key, info.defaultText);
    return std::to_string(profile.getInt(info.key, info.defaultValue));
}

}  // namespace cli

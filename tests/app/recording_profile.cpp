#include "recording_profile.h"

namespace dialogtest {

int RecordingProfile::getInt(std::string_view key, int defaultValue)
{
    reads.emplace_back(key);
    return MemoryProfile::getInt(key, defaultValue);
}

void RecordingProfile::writeInt(std::string_view key, int value)
{
    writes.emplace_back(key);
    MemoryProfile::writeInt(key, value);
}

std::string RecordingProfile::getString(std::string_view key, std::string_view defaultValue)
{
    reads.emplace_back(key);
    return MemoryProfile::getString(key, defaultValue);
}

void RecordingProfile::writeString(std::string_view key, std::string_view value)
{
    writes.emplace_back(key);
    MemoryProfile::writeString(key, value);
}

void RecordingProfile::forget()
{
    reads.clear();
    writes.clear();
}

ScopedProfile::ScopedProfile() : previous_(platform::installProfile(&profile)) {}

ScopedProfile::~ScopedProfile()
{
    platform::installProfile(previous_);
}

}  // namespace dialogtest

#pragma once

#include "platform/profile.h"

#include <map>
#include <string>

namespace cli {

// Layers values held in memory over another profile: a value written here
// hides the one below, reads of anything else go through. Writes never reach
// the profile below, so a run can change settings without storing them.
class OverrideProfile : public platform::Profile {
public:
    explicit OverrideProfile(platform::Profile& below);

    int getInt(std::string_view key, int defaultValue) override;
    void writeInt(std::string_view key, int value) override;
    std::string getString(std::string_view key, std::string_view defaultValue) override;
    void writeString(std::string_view key, std::string_view value) override;

private:
    platform::Profile& below_;
    std::map<std::string, int, std::less<>> ints_;
    std::map<std::string, std::string, std::less<>> strings_;
};

}  // namespace cli

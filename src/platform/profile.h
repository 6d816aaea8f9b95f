#pragma once

#include <string>
#include <string_view>

namespace platform {

// The per-user store of named settings. A missing value yields the default
// the caller gives; nothing is cached, every read goes to the store. Texts
// are UTF-8.
class Profile {
public:
    virtual ~Profile() = default;
    virtual int getInt(std::string_view key, int defaultValue) = 0;
    virtual void writeInt(std::string_view key, int value) = 0;
    virtual std::string getString(std::string_view key, std::string_view defaultValue) = 0;
    virtual void writeString(std::string_view key, std::string_view value) = 0;
};

// The process-wide profile, installed by each front's main() (and by tests).
Profile& profile();
// Installs a profile and returns the one it replaces (may be null).
Profile* installProfile(Profile* profile);

}  // namespace platform

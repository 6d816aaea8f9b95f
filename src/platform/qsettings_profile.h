#pragma once

#include "platform/profile.h"

#include <memory>

class QSettings;

namespace platform {

// The user's profile in the system's settings store: on Linux
// $XDG_CONFIG_HOME/CD_Cover erstellen/Liedkram.conf, on Windows the registry
// key software\CD_Cover erstellen\Liedkram. Integers are stored as integers,
// texts as texts; a missing or unreadable value gives the default.
class QSettingsProfile : public Profile {
public:
    QSettingsProfile();
    ~QSettingsProfile() override;

    int getInt(std::string_view key, int defaultValue) override;
    void writeInt(std::string_view key, int value) override;
    std::string getString(std::string_view key, std::string_view defaultValue) override;
    void writeString(std::string_view key, std::string_view value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace platform

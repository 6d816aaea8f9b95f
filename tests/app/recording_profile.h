#pragma once

#include "platform/profile.h"
#include "support/test_doubles.h"

#include <string>
#include <vector>

namespace dialogtest {

// An in-memory profile that notes the key of every read and write, in order.
class RecordingProfile : public testsupport::MemoryProfile {
public:
    int getInt(std::string_view key, int defaultValue) override;
    void writeInt(std::string_view key, int value) override;
    std::string getString(std::string_view key, std::string_view defaultValue) override;
    void writeString(std::string_view key, std::string_view value) override;

    void forget();

    std::vector<std::string> reads;
    std::vector<std::string> writes;
};

// Installs a fresh recording profile for one test and puts back the one before.
class ScopedProfile {
public:
    ScopedProfile();
    ~ScopedProfile();
    ScopedProfile(const ScopedProfile&) = delete;
    ScopedProfile& operator=(const ScopedProfile&) = delete;

    RecordingProfile profile;

private:
    platform::Profile* previous_;
};

}  // namespace dialogtest

#pragma once

#include "platform/profile.h"
#include "platform/prompter.h"

#include <gtest/gtest.h>

namespace testsupport {

// Installs an in-memory profile and a scripted prompter for one scope and
// puts back whatever was installed before.
class ScopedSeams {
public:
    ScopedSeams();
    ~ScopedSeams();
    ScopedSeams(const ScopedSeams&) = delete;
    ScopedSeams& operator=(const ScopedSeams&) = delete;

    platform::MemoryProfile profile;
    platform::ScriptedPrompter prompter;

private:
    platform::Profile* previousProfile_;
    platform::Prompter* previousPrompter_;
};

// A test whose core code reads settings and asks the user.
class SeamTest : public ::testing::Test {
protected:
    platform::MemoryProfile& profile() { return seams_.profile; }
    platform::ScriptedPrompter& prompter() { return seams_.prompter; }

private:
    ScopedSeams seams_;
};

}  // namespace testsupport

#pragma once

#include "support/test_doubles.h"

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

    testsupport::MemoryProfile profile;
    testsupport::ScriptedPrompter prompter;

private:
    platform::Profile* previousProfile_;
    platform::Prompter* previousPrompter_;
};

// A test whose core code reads settings and asks the user.
class SeamTest : public ::testing::Test {
protected:
    testsupport::MemoryProfile& profile() { return seams_.profile; }
    testsupport::ScriptedPrompter& prompter() { return seams_.prompter; }

private:
    ScopedSeams seams_;
};

}  // namespace testsupport

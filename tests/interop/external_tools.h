#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace interop {

// Debian's python3-mutagen is installed for the system interpreter; another
// python3 earlier on PATH (a pyenv shim, say) would not see it.
inline constexpr const char* kPython = "/usr/bin/python3";

struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error
};

// Runs a program with arguments through the shell, each word quoted.
CommandResult runProgram(const std::vector<std::string>& words);

// A message naming what is missing of lame and python3-mutagen; empty when
// both can be used.
std::string missingTools();

}  // namespace interop

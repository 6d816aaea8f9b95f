#pragma once

#include <map>
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

// The "key value" lines a probe script prints, by key.
std::map<std::string, std::string> keyValueLines(const std::string& output);

// A message naming what is missing of lame and python3-mutagen; empty when
// both can be used.
std::string missingTools();
// The same for the further programs the real-file tests use: twolame, ffmpeg and mpg123.
std::string missingStreamTools();
// The same for the taggers the real-file tests tag with: eyeD3 and id3v2.
std::string missingTaggers();

}  // namespace interop

#include "interop/external_tools.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace interop {

namespace {

std::string shellQuoted(std::string_view word)
{
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

}  // namespace

CommandResult runProgram(const std::vector<std::string>& words)
{
    std::string command;
    for (const auto& word : words)
        command += shellQuoted(word) + " ";
    command += "2>&1";

    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        result.output = "cannot start: " + command;
        return result;
    }
    std::array<char, 4096> chunk{};
    std::size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        result.output.append(chunk.data(), got);
    const int status = ::pclose(pipe);
    result.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    return result;
}

std::map<std::string, std::string> keyValueLines(const std::string& output)
{
    std::map<std::string, std::string> lines;
    std::size_t begin = 0;
    while (begin < output.size()) {
        std::size_t end = output.find('\n', begin);
        if (end == std::string::npos)
            end = output.size();
        const std::string line = output.substr(begin, end - begin);
        const auto blank = line.find(' ');
        if (blank != std::string::npos)
            lines[line.substr(0, blank)] = line.substr(blank + 1);
        begin = end + 1;
    }
    return lines;
}

std::string missingStreamTools()
{
    std::string missing;
    if (runProgram({"twolame", "--help"}).exitCode != 0 && runProgram({"which", "twolame"}).exitCode != 0)
        missing += "twolame is missing (Debian package twolame). ";
    if (runProgram({"ffmpeg", "-version"}).exitCode != 0)
        missing += "ffmpeg is missing (Debian package ffmpeg). ";
    if (runProgram({"mpg123", "--version"}).exitCode != 0)
        missing += "mpg123 is missing (Debian package mpg123). ";
    if (!missing.empty())
        missing += "scripts/install-packages.sh installs them.";
    return missing;
}

std::string missingTaggers()
{
    std::string missing;
    if (runProgram({"eyeD3", "--version"}).exitCode != 0)
        missing += "eyeD3 is missing (Debian package eyed3). ";
    if (runProgram({"id3v2", "--version"}).exitCode != 0)
        missing += "id3v2 is missing (Debian package id3v2). ";
    if (!missing.empty())
        missing += "scripts/install-packages.sh installs them.";
    return missing;
}

std::string missingTools()
{
    std::string missing;
    if (runProgram({"lame", "--version"}).exitCode != 0)
        missing += "lame is missing (Debian package lame). ";
    if (runProgram({kPython, "-c", "import mutagen"}).exitCode != 0)
        missing += std::string("mutagen cannot be imported by ") + kPython + " (Debian package python3-mutagen). ";
    if (!missing.empty())
        missing += "scripts/install-packages.sh installs both.";
    return missing;
}

}  // namespace interop

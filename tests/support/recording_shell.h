#pragma once

#include "platform/shell_open.h"

#include <string>
#include <vector>

namespace testsupport {

// Opens nothing; remembers what it was asked to open, and where, and
// answers as told.
class RecordingShell : public platform::ShellOpener {
public:
    bool open(const std::string& path, const std::string& workingDirectory) override
    {
        opened.push_back(path);
        directories.push_back(workingDirectory);
        return succeeds;
    }

    bool succeeds = true;

    std::vector<std::string> opened;
    std::vector<std::string> directories;
};

}  // namespace testsupport

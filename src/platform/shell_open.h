#pragma once

#include <string>

namespace platform {

// Opens a file with the desktop's default program for its type.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // Returns false when no program could be started for it.
    virtual bool open(const std::string& path, const std::string& workingDirectory) = 0;
};

}  // namespace platform

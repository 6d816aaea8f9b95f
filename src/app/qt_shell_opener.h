#pragma once

#include "platform/shell_open.h"

// Opens files with the desktop's default program.
class QtShellOpener : public platform::ShellOpener {
public:
    bool open(const std::string& path, const std::string& workingDirectory) override;
};

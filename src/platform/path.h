#pragma once

#include <string>
#include <string_view>

namespace platform {

inline constexpr char kSeparator = '/';

struct SplitPath {
    std::string directory;  // without the trailing separator; "" for the root directory
    std::string name;
};

// Splits at the last separator. A path without one has no directory part.
SplitPath splitPath(std::string_view fullPath);

// A directory part as splitPath gives it, as a path: "" is the root.
std::string directoryPath(std::string_view directory);

// Directory and name joined by one separator; "" as directory is the root.
std::string joinPath(std::string_view directory, std::string_view name);

// Absolute, without "." parts or doubled separators, but with ".." kept:
// resolving it by text would be wrong behind a link. A path that cannot be
// made absolute comes back as it is.
std::string absolutePath(const std::string& path);

}  // namespace platform

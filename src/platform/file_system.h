#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A second name for a file: both name the same content; throws FileError
// (an existing target fails with AccessDenied).
void linkFile(const std::string& from, const std::string& to);
// Copies the file's content to a new file (which must not exist yet) and
// makes it durable; the copy gets the file's permission bits and times.
void copyFileDurably(const std::string& from, const std::string& to);
// The directory and the folders above it that do not exist yet, each made
// with the given permissions; throws FileError.
void makeDirectories(const std::string& path, unsigned permissions);
// Makes the directory's entries (a rename, a new name) durable.
void syncDirectory(const std::string& directory);
// The top directory of the file system that holds path: the last folder
// above it on the same device.
std::string mountTopOf(const std::string& path);
// The device the file system holding path is on.
std::uint64_t deviceOf(const std::string& path);
// Removes a file or a directory with everything in it; what is not there is
// no error. Returns the bytes of the regular files it removed.
std::uint64_t removeTree(const std::string& path);

}  // namespace platform

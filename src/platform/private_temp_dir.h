#pragma once

#include <string>

namespace platform {

// A directory only this user can read, made below the system's temporary
// directory on first use and removed with its content when the object goes.
class PrivateTempDir {
public:
    PrivateTempDir() = default;
    ~PrivateTempDir();
    PrivateTempDir(const PrivateTempDir&) = delete;
    PrivateTempDir& operator=(const PrivateTempDir&) = delete;

    // The directory's path; creates the directory when needed. Throws
    // FileError when it cannot be created.
    const std::string& path();
    // The path of a file of the directory, creating the directory as path() does.
    std::string file(const std::string& name);
    // Removes the directory and everything in it.
    void clear();

private:
    std::string path_;
};

}  // namespace platform

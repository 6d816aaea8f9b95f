#pragma once

#include "support/mp3_builder.h"

#include <string>

namespace testsupport {

// A fresh directory below the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes the bytes to a file of the directory and returns its path.
    std::string write(const std::string& name, const Bytes& bytes) const;

private:
    std::string path_;
};

Bytes readFile(const std::string& path);

}  // namespace testsupport

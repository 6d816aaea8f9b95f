#pragma once

#include "support/temp_dir.h"

#include <string>

namespace testsupport {

// A folder on another file system than the temporary folders: a tmpfs
// mounted for the test where that may be done (as root), else a folder in
// /dev/shm when that is another file system. Removed with everything in it
// when the object goes.
class OtherFileSystem {
public:
    OtherFileSystem();
    ~OtherFileSystem();
    OtherFileSystem(const OtherFileSystem&) = delete;
    OtherFileSystem& operator=(const OtherFileSystem&) = delete;

    // False when neither could be had; why() then says what was tried.
    bool available() const { return !path_.empty(); }
    const std::string& why() const { return why_; }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    TempDir mountPoint_;
    bool mounted_ = false;
    std::string path_;
    std::string why_;
};

}  // namespace testsupport

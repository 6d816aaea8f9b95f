#pragma once

#include "support/temp_dir.h"

#include <string>

namespace testsupport {

// A file system of its own for one test: a tmpfs of the given size ("64k",
// "4m") mounted on a fresh folder where that may be done (as root);
// unmounted when the object goes.
class TmpfsMount {
public:
    explicit TmpfsMount(const std::string& size);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& path() const { return point_.path(); }
    std::string file(const std::string& name) const { return point_.file(name); }
    std::string write(const std::string& name, const Bytes& bytes) const { return point_.write(name, bytes); }
    // Fills the file system up to the last free blocks bytes (rounded to pages).
    void fillLeaving(std::size_t bytes) const;

private:
    TempDir point_;
    bool mounted_ = false;
};

}  // namespace testsupport

#include "support/other_file_system.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>

namespace testsupport {

namespace {

constexpr const char* kSharedMemory = "/dev/shm";

bool onAnotherDevice(const std::string& path, const std::string& than)
{
    struct stat a {};
    struct stat b {};
    return ::stat(path.c_str(), &a) == 0 && ::stat(than.c_str(), &b) == 0 && a.st_dev != b.st_dev;
}

}  // namespace

OtherFileSystem::OtherFileSystem()
{
    const std::string temporary = std::filesystem::temp_directory_path().string();
    if (::mount("none", mountPoint_.path().c_str(), "tmpfs", 0, "size=64m") == 0) {
        mounted_ = true;
        path_ = mountPoint_.path();
        return;
    }
    why_ = std::string("mounting a tmpfs failed (") + std::strerror(errno) + ")";
    if (!onAnotherDevice(kSharedMemory, temporary)) {
        why_ += ", and /dev/shm is no other file system than " + temporary;
        return;
    }
    std::string pattern = std::string(kSharedMemory) + "/liedkram-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        why_ += ", and no folder can be made in /dev/shm";
        return;
    }
    path_ = pattern;
}

OtherFileSystem::~OtherFileSystem()
{
    if (mounted_) {
        ::umount(mountPoint_.path().c_str());
        return;
    }
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

}  // namespace testsupport

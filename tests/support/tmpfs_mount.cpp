#include "support/tmpfs_mount.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace testsupport {

TmpfsMount::TmpfsMount(const std::string& size)
    : mounted_(::mount("none", point_.path().c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0)
{
}

TmpfsMount::~TmpfsMount()
{
    if (mounted_)
        ::umount2(point_.path().c_str(), MNT_DETACH);
}

void TmpfsMount::fillLeaving(std::size_t bytes) const
{
    struct statvfs space {};
    ::statvfs(path().c_str(), &space);
    const std::size_t page = space.f_bsize;
    const std::size_t keep = (bytes + page - 1) / page;
    if (space.f_bavail <= keep)
        return;
    const int fd = ::open(file(".filler").c_str(), O_WRONLY | O_CREAT, 0600);
    ::posix_fallocate(fd, 0, static_cast<off_t>((space.f_bavail - keep) * page));
    ::close(fd);
}

}  // namespace testsupport

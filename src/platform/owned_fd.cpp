#include "platform/owned_fd.h"

#include <unistd.h>
#include <utility>

namespace platform {

OwnedFd::~OwnedFd()
{
    reset();
}

OwnedFd::OwnedFd(OwnedFd&& other) noexcept : fd_(other.release()) {}

OwnedFd& OwnedFd::operator=(OwnedFd&& other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

void OwnedFd::reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

int OwnedFd::release()
{
    return std::exchange(fd_, -1);
}

}  // namespace platform

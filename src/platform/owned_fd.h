#pragma once

namespace platform {

// A file descriptor closed with its owner; a move hands it on.
class OwnedFd {
public:
    OwnedFd() = default;
    explicit OwnedFd(int fd) : fd_(fd) {}
    ~OwnedFd();
    OwnedFd(OwnedFd&& other) noexcept;
    OwnedFd& operator=(OwnedFd&& other) noexcept;
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;

    int get() const { return fd_; }
    // Closes the descriptor held, ignoring a failure, and holds the new one.
    void reset(int fd = -1);
    // Gives up the descriptor without closing it.
    int release();

private:
    int fd_ = -1;
};

}  // namespace platform

#include "platform/file.h"

#include "platform/file_error.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

FileStamp stampOf(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

int openFlags(File::Mode mode)
{
    switch (mode) {
    case File::Mode::Read:
        return O_RDONLY;
    case File::Mode::ReadWrite:
        return O_RDWR;
    case File::Mode::CreateTruncate:
        return O_RDWR | O_CREAT | O_TRUNC;
    case File::Mode::CreateExclusive:
        return O_RDWR | O_CREAT | O_EXCL;
    }
    return O_RDONLY;
}

}  // namespace

File::File(const std::string& path, Mode mode, unsigned permissions) : path_(path)
{
    fd_ = ::open(path.c_str(), openFlags(mode) | O_CLOEXEC, permissions);
    if (fd_ < 0)
        throw FileError::fromErrno(errno, path, "cannot open");
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw FileError::fromErrno(EISDIR, path, "cannot open");
    }
}

File::~File()
{
    if (fd_ >= 0)
        ::close(fd_);
}

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

std::size_t File::fill(std::span<std::uint8_t> buffer,
                       const std::function<ssize_t(std::span<std::uint8_t>, std::size_t)>& readPart)
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = readPart(buffer.subspan(done), done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw FileError::fromErrno(errno, path_, "cannot read");
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t File::read(std::span<std::uint8_t> buffer)
{
    return fill(buffer,
                [this](std::span<std::uint8_t> rest, std::size_t) { return ::read(fd_, rest.data(), rest.size()); });
}

std::size_t File::readAt(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    return fill(buffer, [this, offset](std::span<std::uint8_t> rest, std::size_t done) {
        return ::pread(fd_, rest.data(), rest.size(), static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    });
}

void File::readExact(std::span<std::uint8_t> buffer)
{
    if (read(buffer) != buffer.size())
        throw FileError(FileCause::EndOfFile, path_, "unexpected end of '" + path_ + "'");
}

void File::write(std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            throw FileError::fromErrno(errno, path_, "cannot write");
        }
        done += static_cast<std::size_t>(put);
    }
}

void File::seek(std::int64_t offset)
{
    if (::lseek(fd_, offset, SEEK_SET) < 0)
        throw FileError::fromErrno(errno, path_, "cannot seek in");
}

std::int64_t File::length() const
{
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot measure");
    return info.st_size;
}

std::uint64_t File::linkCount() const
{
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot examine");
    return info.st_nlink;
}

FileStamp File::stamp() const
{
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot examine");
    return stampOf(info);
}

FileStamp fileStamp(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw FileError::fromErrno(errno, path, "cannot examine");
    return stampOf(info);
}

std::optional<FileStamp> findFileStamp(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

void File::setLength(std::int64_t length)
{
    if (::ftruncate(fd_, length) != 0)
        throw FileError::fromErrno(errno, path_, "cannot set the length of");
}

void File::sync()
{
    if (::fsync(fd_) != 0)
        throw FileError::fromErrno(errno, path_, "cannot flush");
}

void File::close()
{
    if (fd_ < 0)
        return;
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        throw FileError::fromErrno(errno, path_, "cannot close");
}

void renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        throw FileError::fromErrno(errno, to, "cannot rename '" + from + "' to");
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing target.
    if (::link(from.c_str(), to.c_str()) == 0) {
        if (::unlink(from.c_str()) != 0)
            throw FileError::fromErrno(errno, from, "cannot remove");
        return;
    }
    if (errno != EPERM && errno != ENOTSUP)
        throw FileError::fromErrno(errno, to, "cannot rename '" + from + "' to");
    // Neither is supported (FAT and the like): check, then rename.
    if (fileExists(to))
        throw FileError::fromErrno(EEXIST, to, "cannot rename '" + from + "' to");
    if (std::rename(from.c_str(), to.c_str()) != 0)
        throw FileError::fromErrno(errno, to, "cannot rename '" + from + "' to");
}

void removeFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        throw FileError::fromErrno(errno, path, "cannot remove");
}

bool fileExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

unsigned filePermissions(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw FileError::fromErrno(errno, path, "cannot read the permissions of");
    return info.st_mode & 07777;
}

void setFilePermissions(const std::string& path, unsigned permissions)
{
    if (::chmod(path.c_str(), permissions) != 0)
        throw FileError::fromErrno(errno, path, "cannot set the permissions of");
}

}  // namespace platform

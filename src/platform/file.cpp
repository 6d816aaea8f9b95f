#include "platform/file.h"

#include "platform/byte_reader.h"
#include "platform/directory.h"
#include "platform/file_error.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

FileStamp stampOf(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

namespace {

constexpr std::int64_t kNanoseconds = 1000000000;

// A lease break is told by a signal whose default would end the program;
// the lease's state is asked for instead.
void ignoreLeaseSignal()
{
    struct sigaction current {};
    if (::sigaction(SIGIO, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGIO, &ignore, nullptr);
    }
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
    case File::Mode::CreateOpen:
        return O_RDWR | O_CREAT;
    }
    return O_RDONLY;
}

}  // namespace

File::File(const std::string& path, Mode mode, unsigned permissions) : path_(path)
{
    fd_.reset(::open(path.c_str(), openFlags(mode) | O_CLOEXEC, permissions));
    if (fd() < 0)
        throw FileError::fromErrno(errno, path, "cannot open");
    struct stat info {};
    if (::fstat(fd(), &info) == 0 && S_ISDIR(info.st_mode)) {
        fd_.reset();
        throw FileError::fromErrno(EISDIR, path, "cannot open");
    }
}

File::File(const Directory& folder, const std::string& name, Mode mode, unsigned permissions)
    : path_(folder.pathOf(name))
{
    fd_.reset(::openat(folder.fd(), name.c_str(), openFlags(mode) | O_CLOEXEC | O_NOFOLLOW, permissions));
    if (fd() < 0)
        throw FileError::fromErrno(errno, path_, "cannot open");
    struct stat info {};
    if (::fstat(fd(), &info) == 0 && !S_ISREG(info.st_mode)) {
        fd_.reset();
        throw NotRegular(path_);
    }
}

std::optional<File> File::unnamedIn(const Directory& folder, unsigned permissions)
{
    const int fd = ::openat(folder.fd(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, permissions);
    if (fd >= 0)
        return File(fd, folder.path());
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOENT)
        return std::nullopt;
    throw FileError::fromErrno(errno, folder.path(), "cannot create a file in");
}

File File::openRegular(const std::string& path)
{
    // Without blocking: opening a FIFO would wait for a writer forever.
    File file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), path);
    if (file.fd() < 0)
        throw FileError::fromErrno(errno, path, "cannot open");
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0)
        throw FileError::fromErrno(errno, path, "cannot examine");
    if (!S_ISREG(info.st_mode))
        throw NotRegular(path);
    const int flags = ::fcntl(file.fd(), F_GETFL);
    if (flags < 0 || ::fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw FileError::fromErrno(errno, path, "cannot open");
    return file;
}

File::NotRegular::NotRegular(const std::string& path)
    : FileError(FileCause::AccessDenied, path, "'" + path + "' is not a regular file", "Not a regular file")
{
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
                [this](std::span<std::uint8_t> rest, std::size_t) { return ::read(fd(), rest.data(), rest.size()); });
}

std::size_t File::readAt(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    return fill(buffer, [this, offset](std::span<std::uint8_t> rest, std::size_t done) {
        return ::pread(fd(), rest.data(), rest.size(), static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    });
}

void File::readExactAt(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    const std::size_t got = readAt(offset, buffer);
    if (got != buffer.size()) {
        const auto at = static_cast<std::uint64_t>(offset);
        throw OutOfBytes(at, buffer.size(), at + got);
    }
}

void File::write(std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd(), bytes.data() + done, bytes.size() - done);
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
    if (::lseek(fd(), offset, SEEK_SET) < 0)
        throw FileError::fromErrno(errno, path_, "cannot seek in");
}

std::int64_t File::length() const
{
    struct stat info {};
    if (::fstat(fd(), &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot measure");
    return info.st_size;
}

std::uint64_t File::linkCount() const
{
    struct stat info {};
    if (::fstat(fd(), &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot examine");
    return info.st_nlink;
}

FileStamp File::stamp() const
{
    struct stat info {};
    if (::fstat(fd(), &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot examine");
    return stampOf(info);
}

FileOwner File::owner() const
{
    struct stat info {};
    if (::fstat(fd(), &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot examine");
    return {info.st_uid, info.st_gid, info.st_mode & 07777u};
}

void File::setPermissions(unsigned permissions)
{
    if (::fchmod(fd(), permissions) != 0)
        throw FileError::fromErrno(errno, path_, "cannot set the permissions of");
}

bool File::setOwner(std::uint32_t user, std::uint32_t group)
{
    if (::fchown(fd(), user, group) == 0)
        return true;
    if (errno != EPERM)
        throw FileError::fromErrno(errno, path_, "cannot set the owner of");
    // Another owner is root's to give; a group of the user's own is not.
    const FileOwner now = owner();
    if (now.group != group && ::fchown(fd(), static_cast<uid_t>(-1), group) != 0 && errno != EPERM)
        throw FileError::fromErrno(errno, path_, "cannot set the group of");
    const FileOwner after = owner();
    return after.user == user && after.group == group;
}

void File::setModified(const FileStamp& like)
{
    const struct timespec times[2] = {
        {0, UTIME_NOW},
        {static_cast<time_t>(like.modifiedNs / kNanoseconds), static_cast<long>(like.modifiedNs % kNanoseconds)}};
    if (::futimens(fd(), times) != 0)
        throw FileError::fromErrno(errno, path_, "cannot set the time of");
}

Lease File::takeReadLease()
{
    ignoreLeaseSignal();
    if (::fcntl(fd(), F_SETLEASE, F_RDLCK) == 0)
        return Lease::Taken;
    return errno == EAGAIN ? Lease::InUse : Lease::Unavailable;
}

bool File::leaseBroken() const
{
    // A writer's open turns a pending break into a request for no lease at all.
    return ::fcntl(fd(), F_GETLEASE) != F_RDLCK;
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
    if (::ftruncate(fd(), length) != 0)
        throw FileError::fromErrno(errno, path_, "cannot set the length of");
}

void File::sync()
{
    if (::fsync(fd()) != 0)
        throw FileError::fromErrno(errno, path_, "cannot flush");
}

void File::close()
{
    if (!isOpen())
        return;
    const int fd = fd_.release();
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

bool fileExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace platform

#include "platform/directory.h"

#include "platform/file_error.h"
#include "platform/path.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

std::vector<std::string> namesIn(int fd, const std::string& path)
{
    const int copy = ::dup(fd);
    if (copy < 0)
        throw FileError::fromErrno(errno, path, "cannot read the folder");
    DIR* folder = ::fdopendir(copy);
    if (!folder) {
        ::close(copy);
        throw FileError::fromErrno(errno, path, "cannot read the folder");
    }
    ::rewinddir(folder);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(folder);
    return names;
}

}  // namespace

Directory::Directory(const std::string& path) : path_(path)
{
    fd_.reset(::open(path.empty() ? "/" : path.c_str(), kFolderFlags));
    if (fd() < 0)
        throw FileError::fromErrno(errno, path, "cannot open the folder");
}

std::string Directory::pathOf(const std::string& name) const
{
    return joinPath(path_ == "/" ? std::string() : path_, name);
}

FileStamp Directory::stamp() const
{
    struct stat info {};
    if (::fstat(fd(), &info) != 0)
        throw FileError::fromErrno(errno, path_, "cannot examine");
    return stampOf(info);
}

bool Directory::isPrivate() const
{
    struct stat info {};
    return ::fstat(fd(), &info) == 0 && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

bool Directory::isOwnAndUnshared() const
{
    struct stat info {};
    return ::fstat(fd(), &info) == 0 && info.st_uid == ::geteuid() && (info.st_mode & 022) == 0;
}

std::optional<FileStamp> Directory::find(const std::string& name) const
{
    struct stat info {};
    if (::fstatat(fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return stampOf(info);
}

bool Directory::isDirectory(const std::string& name) const
{
    struct stat info {};
    return ::fstatat(fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

Directory Directory::child(const std::string& name) const
{
    const int opened = ::openat(fd(), name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (opened < 0)
        throw FileError::fromErrno(errno == ELOOP ? ENOTDIR : errno, pathOf(name), "cannot open the folder");
    return Directory(opened, pathOf(name));
}

void Directory::makeChild(const std::string& name, unsigned permissions) const
{
    if (::mkdirat(fd(), name.c_str(), permissions) != 0 && errno != EEXIST)
        throw FileError::fromErrno(errno, pathOf(name), "cannot create the directory");
}

File Directory::open(const std::string& name, File::Mode mode, unsigned permissions) const
{
    return File(*this, name, mode, permissions);
}

void Directory::renameNoReplace(const std::string& from, const Directory& to, const std::string& toName) const
{
    if (::renameat2(fd(), from.c_str(), to.fd(), toName.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        throw FileError::fromErrno(errno, to.pathOf(toName), "cannot rename '" + pathOf(from) + "' to");
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing target.
    if (::linkat(fd(), from.c_str(), to.fd(), toName.c_str(), 0) == 0) {
        if (::unlinkat(fd(), from.c_str(), 0) != 0)
            throw FileError::fromErrno(errno, pathOf(from), "cannot remove");
        return;
    }
    if (errno != EPERM && errno != ENOTSUP)
        throw FileError::fromErrno(errno, to.pathOf(toName), "cannot rename '" + pathOf(from) + "' to");
    // Neither is supported (FAT and the like): check, then rename.
    if (to.find(toName))
        throw FileError::fromErrno(EEXIST, to.pathOf(toName), "cannot rename '" + pathOf(from) + "' to");
    if (::renameat(fd(), from.c_str(), to.fd(), toName.c_str()) != 0)
        throw FileError::fromErrno(errno, to.pathOf(toName), "cannot rename '" + pathOf(from) + "' to");
}

void Directory::replace(const std::string& from, const Directory& to, const std::string& toName) const
{
    if (::renameat(fd(), from.c_str(), to.fd(), toName.c_str()) != 0)
        throw FileError::fromErrno(errno, to.pathOf(toName), "cannot replace");
}

std::vector<std::string> Directory::names() const
{
    return namesIn(fd(), path_);
}

void Directory::remove(const std::string& name) const
{
    if (::unlinkat(fd(), name.c_str(), 0) != 0)
        throw FileError::fromErrno(errno, pathOf(name), "cannot remove");
}

std::uint64_t Directory::removeTree(const std::string& name) const
{
    struct stat info {};
    if (::fstatat(fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return 0;
        throw FileError::fromErrno(errno, pathOf(name), "cannot examine");
    }
    if (!S_ISDIR(info.st_mode)) {
        remove(name);
        return S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
    }
    std::uint64_t bytes = 0;
    {
        const Directory folder = child(name);
        for (const std::string& inside : namesIn(folder.fd(), folder.path_))
            bytes += folder.removeTree(inside);
    }
    if (::unlinkat(fd(), name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT)
        throw FileError::fromErrno(errno, pathOf(name), "cannot remove");
    return bytes;
}

void Directory::sync() const
{
    ::fsync(fd());
}

namespace {

FileError swapped(const std::string& path)
{
    return FileError(FileCause::AccessDenied, path, "'" + path + "' was swapped", "Changed meanwhile");
}

}  // namespace

void renameOpenFile(const File& file, const std::string& from, const std::string& to)
{
    const auto fromSplit = splitPath(from);
    const auto toSplit = splitPath(to);
    const Directory fromFolder(directoryPath(fromSplit.directory));
    const Directory toFolder(directoryPath(toSplit.directory));
    const FileStamp open = file.stamp();
    const auto name = fromFolder.find(fromSplit.name);
    if (!name)
        throw FileError::fromErrno(ENOENT, from, "cannot rename");
    struct stat followed {};
    if (!name->sameFile(open) &&
        (::fstatat(fromFolder.fd(), fromSplit.name.c_str(), &followed, 0) != 0 || !stampOf(followed).sameFile(open)))
        throw swapped(from);
    fromFolder.renameNoReplace(fromSplit.name, toFolder, toSplit.name);
    const auto renamed = toFolder.find(toSplit.name);
    if (!renamed || !renamed->sameFile(*name)) {
        toFolder.renameNoReplace(toSplit.name, fromFolder, fromSplit.name);
        throw swapped(from);
    }
}

void linkOpenFile(const File& file, const Directory& folder, const std::string& name)
{
    // The file's entry in /proc names the open file itself, not a path to it.
    const std::string self = "/proc/self/fd/" + std::to_string(file.fd());
    if (::linkat(AT_FDCWD, self.c_str(), folder.fd(), name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return;
    if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0)
        throw FileError::fromErrno(errno, folder.pathOf(name), "cannot link '" + file.path() + "' as");
    // Without /proc: the path, and a check that it led to the open file.
    if (::linkat(AT_FDCWD, file.path().c_str(), folder.fd(), name.c_str(), 0) != 0)
        throw FileError::fromErrno(errno, folder.pathOf(name), "cannot link '" + file.path() + "' as");
    const auto linked = folder.find(name);
    const FileStamp open = file.stamp();
    if (!linked || linked->device != open.device || linked->inode != open.inode) {
        ::unlinkat(folder.fd(), name.c_str(), 0);
        throw FileError(FileCause::AccessDenied, file.path(), "'" + file.path() + "' was swapped", "Changed meanwhile");
    }
}

}  // namespace platform

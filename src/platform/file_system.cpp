#include "platform/file_system.h"

#include "platform/directory.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/path.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

struct stat statOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw FileError::fromErrno(errno, path, "cannot examine");
    return info;
}

}  // namespace

void copyContent(File& from, File& to)
{
    std::vector<std::uint8_t> block(kCopyBlock);
    std::int64_t at = 0;
    for (std::size_t got; (got = from.readAt(at, block)) > 0; at += static_cast<std::int64_t>(got))
        to.write(std::span(block).first(got));
}

FileStamp copyInto(File& from, const Directory& folder, const std::string& name)
{
    File out = folder.open(name, File::Mode::CreateExclusive, 0600);
    try {
        copyContent(from, out);
        out.setPermissions(from.owner().permissions);
        out.setModified(from.stamp());
        out.sync();
        return out.stamp();
    } catch (...) {
        ::unlinkat(folder.fd(), name.c_str(), 0);
        throw;
    }
}

void makeDirectories(const std::string& path, unsigned permissions)
{
    if (path.empty() || ::mkdir(path.c_str(), permissions) == 0 || errno == EEXIST)
        return;
    if (errno != ENOENT)
        throw FileError::fromErrno(errno, path, "cannot create the directory");
    makeDirectories(splitPath(path).directory, permissions);
    if (::mkdir(path.c_str(), permissions) != 0 && errno != EEXIST)
        throw FileError::fromErrno(errno, path, "cannot create the directory");
}

void syncDirectory(const std::string& directory)
{
    const int fd = ::open(directory.empty() ? "/" : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::string mountTopOf(const std::string& path)
{
    std::error_code failed;
    std::filesystem::path at = std::filesystem::canonical(path, failed);
    if (failed)
        throw FileError::fromErrno(failed.value(), path, "cannot resolve");
    const dev_t device = statOf(at.string()).st_dev;
    while (at.has_parent_path() && at.parent_path() != at) {
        struct stat info {};
        if (::stat(at.parent_path().c_str(), &info) != 0 || info.st_dev != device)
            break;
        at = at.parent_path();
    }
    return at.string();
}

}  // namespace platform

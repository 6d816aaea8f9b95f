#include "platform/file_system.h"

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

void linkFile(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) != 0)
        throw FileError::fromErrno(errno, to, "cannot link '" + from + "' as");
}

void copyFileDurably(const std::string& from, const std::string& to)
{
    const struct stat info = statOf(from);
    File in(from, File::Mode::Read);
    File out(to, File::Mode::CreateExclusive, 0600);
    try {
        std::vector<std::uint8_t> block(kCopyBlock);
        for (std::size_t got; (got = in.read(block)) > 0;)
            out.write(std::span(block).first(got));
        out.sync();
        out.close();
        setFilePermissions(to, info.st_mode & 07777);
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::utimensat(AT_FDCWD, to.c_str(), times, 0);
    } catch (...) {
        ::unlink(to.c_str());
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

std::uint64_t deviceOf(const std::string& path)
{
    return static_cast<std::uint64_t>(statOf(path).st_dev);
}

std::uint64_t removeTree(const std::string& path)
{
    std::uint64_t bytes = 0;
    std::error_code failed;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path, failed))) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path, failed)) {
            if (entry.is_regular_file(failed))
                bytes += entry.file_size(failed);
        }
    } else if (std::filesystem::is_regular_file(std::filesystem::symlink_status(path, failed))) {
        bytes = std::filesystem::file_size(path, failed);
    }
    std::filesystem::remove_all(path, failed);
    return bytes;
}

}  // namespace platform

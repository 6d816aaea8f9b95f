#include "platform/replacement_file.h"

#include "platform/file_error.h"
#include "platform/path.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A short name derived from the target's, so it fits any name length.
std::string hashOf(std::string_view name)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string temporaryNameFor(std::string_view name)
{
    return ".liedkram-" + hashOf(name) + ".tmp";
}

// The file a link points to is the one to replace, not the link; a relative
// name is made absolute so the temporary file lands beside the target.
std::string resolvedTarget(const std::string& target)
{
    std::error_code error;
    const auto real = std::filesystem::canonical(target, error);
    if (!error)
        return real.string();
    const auto absolute = std::filesystem::absolute(target, error);
    return error ? target : absolute.string();
}

std::optional<FileOwner> ownerOf(const Directory& folder, const std::string& name)
{
    struct stat info {};
    if (::fstatat(folder.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw FileError::fromErrno(errno, folder.pathOf(name), "cannot read the permissions of");
    }
    if (!S_ISREG(info.st_mode))
        return std::nullopt;
    return FileOwner{info.st_uid, info.st_gid, info.st_mode & 07777u};
}

}  // namespace

std::string ReplacementFile::temporaryPathFor(const std::string& target)
{
    const auto split = splitPath(target);
    return joinPath(split.directory, temporaryNameFor(split.name));
}

void removeLeftover(const Directory& folder, const std::string& name)
{
    struct stat info {};
    if (::fstatat(folder.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
        info.st_uid == ::geteuid())
        ::unlinkat(folder.fd(), name.c_str(), 0);
}

ReplacementFile::ReplacementFile(const std::string& target) : target_(resolvedTarget(target))
{
    const auto split = splitPath(target_);
    folder_ = Directory(directoryPath(split.directory));
    name_ = split.name;
    temporaryName_ = temporaryNameFor(name_);
    removeLeftover(folder_, temporaryName_);
    if (auto unnamed = File::unnamedIn(folder_, 0600)) {
        file_ = std::move(*unnamed);
        return;
    }
    file_ = folder_.open(temporaryName_, File::Mode::CreateExclusive, 0600);
    named_ = true;
}

ReplacementFile::~ReplacementFile()
{
    if (!committed_ && named_ && temporaryIsOurs())
        ::unlinkat(folder_.fd(), temporaryName_.c_str(), 0);
}

bool ReplacementFile::temporaryIsOurs() const
{
    const auto there = folder_.find(temporaryName_);
    return there && file_.isOpen() && there->sameFile(file_.stamp());
}

void ReplacementFile::prepare()
{
    prepareWith(ownerOf(folder_, name_));
}

void ReplacementFile::prepareLike(const File& original)
{
    prepareWith(original.owner());
}

void ReplacementFile::prepareWith(const std::optional<FileOwner>& original)
{
    file_.sync();
    if (original) {
        file_.setPermissions(original->permissions);
        // Keeps the owner where we may (as root) and the group where it is the user's.
        if (file_.owner().user != original->user || file_.owner().group != original->group)
            keepsOwnership_ = file_.setOwner(original->user, original->group);
    } else {
        // A new file gets the permissions any new file of the user gets.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        file_.setPermissions(0666 & ~mask);
    }
    prepared_ = true;
}

bool ReplacementFile::commit(const std::optional<FileStamp>& expected)
{
    if (!prepared_)
        prepare();
    if (!named_) {
        // A leftover of a crash may have the name since the start.
        removeLeftover(folder_, temporaryName_);
        linkOpenFile(file_, folder_, temporaryName_);
        named_ = true;
    }
    if (!temporaryIsOurs())
        throw FileError(FileCause::AccessDenied, temporaryPath(), "'" + temporaryPath() + "' was swapped",
                        "Changed meanwhile");
    if (expected && folder_.find(name_) != expected) {
        ::unlinkat(folder_.fd(), temporaryName_.c_str(), 0);
        named_ = false;
        return false;
    }
    folder_.replace(temporaryName_, folder_, name_);
    committed_ = true;
    folder_.sync();
    file_.close();
    return true;
}

namespace {

// Root may write anything; a file without any write permission still counts
// as one not to be overwritten.
bool mayWrite(const std::string& path, const struct stat& info)
{
    if (::geteuid() == 0)
        return (info.st_mode & 0222) != 0;
    return ::access(path.c_str(), W_OK) == 0;
}

void writeInPlace(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const auto split = splitPath(path);
    File file = Directory(directoryPath(split.directory)).open(split.name, File::Mode::ReadWrite);
    file.setLength(0);
    file.write(bytes);
    file.sync();
}

}  // namespace

void requireReplaceable(const std::string& path, const std::function<bool(const std::string&)>& mustKeep)
{
    if (path.empty())
        throw FileError(FileCause::BadPath, path, "no file name");
    const std::string target = resolvedTarget(path);
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return;
    if (S_ISDIR(info.st_mode))
        throw FileError::fromErrno(EISDIR, path, "cannot replace");
    if (!S_ISREG(info.st_mode))
        throw FileError(FileCause::AccessDenied, path, "'" + path + "' is not a regular file", "Not a regular file");
    if (mustKeep(target))
        throw FileError(FileCause::AccessDenied, path, "'" + path + "' is an MP3 file", "Is an MP3 file");
    if (!mayWrite(target, info))
        throw FileError::fromErrno(EACCES, path, "cannot write");
}

void replaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      const std::function<bool(const std::string&)>& mustKeep)
{
    requireReplaceable(path, mustKeep);
    ReplacementFile replacement(path);
    replacement.file().write(bytes);
    replacement.prepare();
    if (replacement.keepsOwnership())
        replacement.commit();
    else
        writeInPlace(replacement.target(), bytes);
}

}  // namespace platform

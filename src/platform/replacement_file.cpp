#include "platform/replacement_file.h"

#include "platform/file_error.h"
#include "platform/file_system.h"
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

}  // namespace

std::string ReplacementFile::temporaryPathFor(const std::string& target)
{
    const auto split = splitPath(target);
    return joinPath(split.directory, ".liedkram-" + hashOf(split.name) + ".tmp");
}

namespace {

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

}  // namespace

ReplacementFile::ReplacementFile(const std::string& target)
    : target_(resolvedTarget(target)), temporary_(temporaryPathFor(target_))
{
    ::unlink(temporary_.c_str());
    file_ = File(temporary_, File::Mode::CreateExclusive, 0600);
}

ReplacementFile::~ReplacementFile()
{
    if (!committed_) {
        file_ = File();
        ::unlink(temporary_.c_str());
    }
}

void ReplacementFile::prepare()
{
    file_.sync();
    struct stat original {};
    if (::stat(target_.c_str(), &original) == 0) {
        setFilePermissions(temporary_, original.st_mode & 07777);
        // Keeps the owner where we may (as root); others keep their own files anyway.
        if (::chown(temporary_.c_str(), original.st_uid, original.st_gid) != 0) {
            if (errno != EPERM)
                throw FileError::fromErrno(errno, temporary_, "cannot set the owner of");
            struct stat made {};
            keepsOwnership_ = ::stat(temporary_.c_str(), &made) == 0 && made.st_uid == original.st_uid &&
                              made.st_gid == original.st_gid;
        }
    } else if (errno == ENOENT) {
        // A new file gets the permissions any new file of the user gets.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        setFilePermissions(temporary_, 0666 & ~mask);
    } else {
        throw FileError::fromErrno(errno, target_, "cannot read the permissions of");
    }
    file_.close();
    prepared_ = true;
}

void ReplacementFile::commit()
{
    if (!prepared_)
        prepare();
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw FileError::fromErrno(errno, target_, "cannot replace");
    committed_ = true;
    syncDirectory(splitPath(target_).directory);
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
    File file(path, File::Mode::ReadWrite);
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
    if (mustKeep(target))
        throw FileError(FileCause::AccessDenied, path, "'" + path + "' is an MP3 file", "Is an MP3 file");
    if (!mayWrite(target, info))
        throw FileError::fromErrno(EACCES, path, "cannot write");
}

void replaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      const std::function<bool(const std::string&)>& mustKeep)
{
    requireReplaceable(path, mustKeep);
    const std::string target = resolvedTarget(path);
    ReplacementFile replacement(target);
    replacement.file().write(bytes);
    replacement.prepare();
    if (replacement.keepsOwnership())
        replacement.commit();
    else
        writeInPlace(target, bytes);
}

}  // namespace platform

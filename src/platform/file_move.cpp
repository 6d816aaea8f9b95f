#include "platform/file_move.h"

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/replacement_file.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string folderOf(const std::string& path)
{
    return directoryPath(splitPath(path).directory);
}

// Keeps the owner where we may (as root); others own their copies anyway.
void keepOwner(const std::string& from, const std::string& copy)
{
    struct stat original {};
    if (::stat(from.c_str(), &original) != 0)
        throw FileError::fromErrno(errno, from, "cannot examine");
    if (::chown(copy.c_str(), original.st_uid, original.st_gid) != 0 && errno != EPERM)
        throw FileError::fromErrno(errno, copy, "cannot set the owner of");
}

}  // namespace

FileMove::FileMove(std::string from, std::string to) : from_(std::move(from)), to_(std::move(to))
{
    before_ = fileStamp(from_);
    after_ = before_;
    if (fileExists(to_))
        throw FileError::fromErrno(EEXIST, to_, "cannot move '" + from_ + "' to");
    if (deviceOf(folderOf(to_)) == before_.device)
        return;
    // The old name goes only once the copy is in place, so it must be removable.
    if (::access(folderOf(from_).c_str(), W_OK) != 0)
        throw FileError::fromErrno(errno, from_, "cannot remove");
    temporary_ = ReplacementFile::temporaryPathFor(to_);
    ::unlink(temporary_.c_str());
    copyFileDurably(from_, temporary_);
    keepOwner(from_, temporary_);
    after_ = fileStamp(temporary_);
}

FileMove::~FileMove()
{
    if (!committed_ && !temporary_.empty())
        ::unlink(temporary_.c_str());
}

void FileMove::commit()
{
    const std::string source = copies() ? temporary_ : from_;
    renameNoReplace(source, to_);
    committed_ = true;
    syncDirectory(folderOf(to_));
    if (copies() && ::unlink(from_.c_str()) != 0 && errno != ENOENT) {
        // The file must not end up in both places: the copy goes again.
        const int error = errno;
        ::unlink(to_.c_str());
        syncDirectory(folderOf(to_));
        throw FileError::fromErrno(error, from_, "cannot remove");
    }
    if (folderOf(from_) != folderOf(to_))
        syncDirectory(folderOf(from_));
}

}  // namespace platform

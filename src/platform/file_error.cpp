#include "platform/file_error.h"

#include <cerrno>
#include <cstring>

namespace platform {

FileCause causeFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case 0:
        return FileCause::None;
    case ENOENT:
        return FileCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
    case EXDEV:
        return FileCause::BadPath;
    case EMFILE:
    case ENFILE:
        return FileCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR:
        return FileCause::AccessDenied;
    case EBADF:
        return FileCause::InvalidFile;
    case EBUSY:
        return FileCause::RemoveCurrentDir;
    case ENOTEMPTY:
    case EMLINK:
        return FileCause::DirectoryFull;
    case ESPIPE:
    case EOVERFLOW:
        return FileCause::BadSeek;
    case EIO:
        return FileCause::HardIO;
    case ETXTBSY:
        return FileCause::SharingViolation;
    case ENOLCK:
    case EDEADLK:
        return FileCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileCause::DiskFull;
    default:
        return FileCause::Generic;
    }
}

namespace {

const char* causeReason(FileCause cause)
{
    switch (cause) {
    case FileCause::None:
        return "No error";
    case FileCause::Generic:
        return "Unknown error";
    case FileCause::FileNotFound:
        return "File not found";
    case FileCause::BadPath:
        return "Invalid file name";
    case FileCause::TooManyOpenFiles:
        return "Too many open files";
    case FileCause::AccessDenied:
        return "Access denied";
    case FileCause::InvalidFile:
        return "Invalid file";
    case FileCause::RemoveCurrentDir:
        return "Device or resource busy";
    case FileCause::DirectoryFull:
        return "Directory full";
    case FileCause::BadSeek:
        return "Bad seek";
    case FileCause::HardIO:
        return "Input/output error";
    case FileCause::SharingViolation:
        return "Sharing violation";
    case FileCause::LockViolation:
        return "Lock violation";
    case FileCause::DiskFull:
        return "No space left on device";
    case FileCause::EndOfFile:
        return "Unexpected end of file";
    }
    return "Unknown error";
}

}  // namespace

std::string causeText(FileCause cause)
{
    return std::to_string(static_cast<int>(cause)) + " (" + causeReason(cause) + ")";
}

FileError::FileError(FileCause cause, std::string path, const std::string& what, std::string reason)
    : std::runtime_error(what), cause_(cause), path_(std::move(path)), reason_(std::move(reason))
{
    if (reason_.empty())
        reason_ = causeReason(cause_);
}

std::string FileError::causeText() const
{
    return std::to_string(causeNumber()) + " (" + reason_ + ")";
}

FileError FileError::fromErrno(int errnoValue, const std::string& path, const std::string& operation)
{
    std::string what = operation;
    what.append(" '").append(path).append("': ").append(std::strerror(errnoValue));
    return FileError(causeFromErrno(errnoValue), path, what, std::strerror(errnoValue));
}

}  // namespace platform

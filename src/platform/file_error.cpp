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

FileError::FileError(FileCause cause, std::string path, const std::string& what)
    : std::runtime_error(what), cause_(cause), path_(std::move(path))
{
}

FileError FileError::fromErrno(int errnoValue, const std::string& path, const std::string& operation)
{
    std::string what = operation;
    what.append(" '").append(path).append("': ").append(std::strerror(errnoValue));
    return FileError(causeFromErrno(errnoValue), path, what);
}

}  // namespace platform

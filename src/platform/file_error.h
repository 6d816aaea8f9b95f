#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The cause numbers the application framework reports for file failures;
// messages shown to users quote them ("cause: N").
enum class FileCause : int {
    None = 0,
    Generic = 1,
    FileNotFound = 2,
    BadPath = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidFile = 6,
    RemoveCurrentDir = 7,
    DirectoryFull = 8,
    BadSeek = 9,
    HardIO = 10,
    SharingViolation = 11,
    LockViolation = 12,
    DiskFull = 13,
    EndOfFile = 14,
};

FileCause causeFromErrno(int errnoValue);

// A failed file operation: what was attempted on which path, and why.
class FileError : public std::runtime_error {
public:
    FileError(FileCause cause, std::string path, const std::string& what);

    FileCause cause() const { return cause_; }
    int causeNumber() const { return static_cast<int>(cause_); }
    const std::string& path() const { return path_; }

    // Builds the error for the errno value of a failed system call.
    static FileError fromErrno(int errnoValue, const std::string& path, const std::string& operation);

private:
    FileCause cause_;
    std::string path_;
};

}  // namespace platform

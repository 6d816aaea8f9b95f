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
    // The reason is the system's text for the failure; empty gives the
    // cause's own text.
    FileError(FileCause cause, std::string path, const std::string& what, std::string reason = {});

    FileCause cause() const { return cause_; }
    int causeNumber() const { return static_cast<int>(cause_); }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }
    // The cause number with the reason in brackets, as messages show it:
    // "13 (No space left on device)".
    std::string causeText() const;

    // Builds the error for the errno value of a failed system call.
    static FileError fromErrno(int errnoValue, const std::string& path, const std::string& operation);

private:
    FileCause cause_;
    std::string path_;
    std::string reason_;
};

// The cause number with the reason in brackets, for failures that have no
// FileError (a refused name, say).
std::string causeText(FileCause cause);

}  // namespace platform

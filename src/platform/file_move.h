#pragma once

#include "platform/file.h"

#include <string>

namespace platform {

// A file on its way to another name, perhaps on another file system. It
// never replaces a file and never loses one: within one file system it is a
// rename; across file systems the content is first copied beside the new
// name under a temporary name and made durable, then put in place, and only
// then the old name goes. Until commit() nothing but that copy exists; a
// move that is not committed removes it. A copy left by a crash has a name
// known from the new name's and is removed by the next move there.
class FileMove {
public:
    // Copies the file when it goes to another file system. Throws
    // FileError: the file or the new folder is not there, the new name is
    // taken (AccessDenied), the old name could not be removed once copied,
    // the copy failed.
    FileMove(std::string from, std::string to);
    ~FileMove();
    FileMove(const FileMove&) = delete;
    FileMove& operator=(const FileMove&) = delete;

    // The file in its old place, and as it will be in its new place (another
    // file, when it is copied).
    const FileStamp& before() const { return before_; }
    const FileStamp& after() const { return after_; }
    bool copies() const { return !temporary_.empty(); }

    // Puts the file in its new place; throws FileError when that fails (a
    // name taken meanwhile: AccessDenied), and the file is where it was.
    void commit();

private:
    std::string from_;
    std::string to_;
    std::string temporary_;
    FileStamp before_;
    FileStamp after_;
    bool committed_ = false;
};

}  // namespace platform

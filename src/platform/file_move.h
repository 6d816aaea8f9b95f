#pragma once

#include "platform/directory.h"
#include "platform/file.h"

#include <optional>
#include <string>

namespace platform {

// A file on its way to another name, perhaps on another file system. It
// never replaces a file and never loses one: within one file system it is a
// rename; across file systems the content is first copied into the new
// folder through the open file and made durable, then given the new name,
// and only then the old name goes, and only while it still names the file
// that was copied, unchanged. Until commit() nothing but that copy exists,
// without a name where the file system allows; a move that is not committed
// removes it. The folders are held open, so a folder swapped meanwhile
// changes nothing.
class FileMove {
public:
    // source is the file at from, opened (and checked) by the caller. The
    // name from must be the file itself, not a link to it. Throws
    // FileError: the new folder is not there, the new name is taken
    // (AccessDenied), the old name could not be removed once copied, the
    // copy failed, from names another file than source.
    FileMove(File& source, std::string from, std::string to);
    ~FileMove();
    FileMove(const FileMove&) = delete;
    FileMove& operator=(const FileMove&) = delete;

    // The file in its old place, and as it will be in its new place (another
    // file, when it is copied).
    const FileStamp& before() const { return before_; }
    const FileStamp& after() const { return after_; }
    bool copies() const { return copy_.has_value(); }
    // Where a copy lies for a moment before it gets the new name; empty when
    // it gets the name at once.
    std::string temporaryPath() const;

    // Puts the file in its new place; throws FileError when that fails (a
    // name taken meanwhile: AccessDenied; the file changed meanwhile), and
    // the file is where it was.
    void commit();

private:
    void copyAcross(File& source);
    // The old name still names the file as it was before.
    void requireUnchanged() const;

    std::string from_;
    std::string to_;
    Directory fromFolder_;
    Directory toFolder_;
    std::string fromName_;
    std::string toName_;
    std::optional<File> copy_;
    std::string temporaryName_;  // the copy's name until commit; empty while it has none
    FileStamp before_;
    FileStamp after_;
    bool committed_ = false;
};

}  // namespace platform

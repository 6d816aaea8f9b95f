#pragma once

#include "platform/directory.h"
#include "platform/file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace platform {

// New content for a file, written beside it and put in its place in one
// step, so that the file is at every moment either wholly old or wholly
// new. The content has no name until commit() where the file system allows
// (else a name known from the target's); it is handled only through its
// handle, and the target's folder only through an open folder, so nobody
// can swap a name to make it act on another file. A replacement that is
// not committed leaves nothing. A temporary file left by a crash is removed
// by the next replacement of that file. A symbolic link is followed: the
// file it points to gets the new content.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::string& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    File& file() { return file_; }
    // The file that gets the new content: the target, a symbolic link followed.
    const std::string& target() const { return target_; }
    // Where the content lies for a moment before it takes the target's place.
    std::string temporaryPath() const { return folder_.pathOf(temporaryName_); }
    // Makes the content durable and gives it the permission bits, owner and
    // group of the file it replaces (as it is now, or the original given;
    // a new file's usual bits when there is none), so that commit() is only
    // the step that puts it in place.
    void prepare();
    void prepareLike(const File& original);
    // Puts the content in the target's place; with expected, only while
    // the target is still that file, unchanged: false, and nothing done,
    // when it is not.
    bool commit(const std::optional<FileStamp>& expected = std::nullopt);

    static std::string temporaryPathFor(const std::string& target);
    // After prepare(): whether the new content has the replaced file's owner
    // and group (always, when there is none).
    bool keepsOwnership() const { return keepsOwnership_; }
    // After prepare(): the stamp the target will have once committed.
    FileStamp stamp() const { return file_.stamp(); }

private:
    void prepareWith(const std::optional<FileOwner>& original);
    // The content's name is its own, not something put there meanwhile.
    bool temporaryIsOurs() const;

    std::string target_;
    Directory folder_;
    std::string name_;
    std::string temporaryName_;
    File file_;
    bool named_ = false;
    bool prepared_ = false;
    bool committed_ = false;
    bool keepsOwnership_ = true;
};

// Removes a temporary file of ours left at name by a crash: only a regular
// file of this user, never what a link points to.
void removeLeftover(const Directory& folder, const std::string& name);

// Puts the bytes in place of the file at path, as a list, an export or a
// picture is saved. A symbolic link is followed. A file the user may not
// write, or one that mustKeep (given the file's own path) says is not to be
// replaced, stays as it is: FileError with AccessDenied. The replaced file
// keeps its permission bits, owner and group; where a new file cannot be
// given them, the content is written into the file itself. Throws FileError.
void replaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      const std::function<bool(const std::string&)>& mustKeep);
// Throws the FileError replaceWholeFile would throw before writing anything
// for a target it may not replace.
void requireReplaceable(const std::string& path, const std::function<bool(const std::string&)>& mustKeep);

}  // namespace platform

#pragma once

#include "platform/file.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace platform {

// New content for a file, written beside it and put in its place
// in one step, so that the file is at every moment either wholly old or
// wholly new. Until commit() the target is untouched; a replacement that is
// not committed is removed. A temporary file left by a crash has a name known
// from the target's and is removed by the next replacement of that file. A
// symbolic link is followed: the file it points to gets the new content.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::string& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    File& file() { return file_; }
    // The file that gets the new content: the target, a symbolic link followed.
    const std::string& target() const { return target_; }
    // Makes the content durable and gives it the target's permission bits
    // (a new file's usual ones when there is no target yet), so that commit()
    // is only the step that puts it in place.
    void prepare();
    // Prepares the content if that was not done and puts it in the target's place.
    void commit();

    static std::string temporaryPathFor(const std::string& target);
    // After prepare(): whether the new content has the target's owner and
    // group (always, when there is no target yet).
    bool keepsOwnership() const { return keepsOwnership_; }
    // After prepare(): the stamp the target will have once committed.
    FileStamp stamp() const { return fileStamp(temporary_); }

private:
    std::string target_;
    std::string temporary_;
    File file_;
    bool prepared_ = false;
    bool committed_ = false;
    bool keepsOwnership_ = true;
};

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

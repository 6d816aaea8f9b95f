#pragma once

#include "platform/file.h"

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
    // Makes the content durable and gives it the target's permission bits
    // (a new file's usual ones when there is no target yet), so that commit()
    // is only the step that puts it in place.
    void prepare();
    // Prepares the content if that was not done and puts it in the target's place.
    void commit();

    static std::string temporaryPathFor(const std::string& target);

private:
    std::string target_;
    std::string temporary_;
    File file_;
    bool prepared_ = false;
    bool committed_ = false;
};

}  // namespace platform

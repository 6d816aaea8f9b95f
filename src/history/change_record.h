#pragma once

#include "platform/file.h"

#include <optional>
#include <string>
#include <string_view>

namespace history {

enum class ChangeKind {
    Replaced,  // the file's content was replaced
    Renamed,  // the file got another name (in the same folder or another)
    Withdrawn,  // the change recorded last for the file was not made after all
};

// One change to one file, as the journal keeps it.
struct Change {
    ChangeKind kind = ChangeKind::Replaced;
    std::string path;  // the file; for a rename its path before
    std::string newPath;  // for a rename its path after
    std::string kept;  // for a replacement: where the old content is kept, empty when it is not
    platform::FileStamp before;  // the file before the change
    platform::FileStamp after;  // the file as the change left it
};

// One line of the journal, ending in a line break; texts are escaped so
// that any path fits.
std::string formatChange(const Change& change);
// The change a whole line of the journal holds; nothing for any other line.
std::optional<Change> parseChange(std::string_view line);

}  // namespace history

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
    // Where the new content lies for a moment before it takes the file's
    // place (a killed run may leave it there); empty when nowhere.
    std::string temporary;
    platform::FileStamp before;  // the file before the change
    platform::FileStamp after;  // the file as the change left it
    // The kept original as it was kept. Records of the first journal layout
    // did not hold it: there it has only the size and time of before.
    platform::FileStamp keptStamp;
};

// Whether the file found at the kept place is the original that was kept.
bool isKeptOriginal(const Change& change, const platform::FileStamp& found);

// One line of the journal, ending in a line break; texts are escaped so
// that any path fits.
std::string formatChange(const Change& change);
// The change a whole line of the journal holds; nothing for any other line.
std::optional<Change> parseChange(std::string_view line);

}  // namespace history

#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CLiedkramDoc;

namespace history {
class ChangeSet;
}

namespace document {

struct MovedFile {
    std::string from;
    std::string to;
};

struct MoveReport {
    std::vector<MovedFile> moved;
    std::size_t leftAlone = 0;  // files reported and left where they are
    bool stopped = false;  // ended early: asked to, or the journal could not be written

    bool allDone() const { return leftAlone == 0 && !stopped; }
};

// A folder as entries name theirs: absolute, without a separator at the
// end, "" for the root.
std::string EntryFolder(const std::string& folder);

// Moves the files of the entries at rows, in that order, into folder under
// their own names; the entries follow their files, and the list counts as
// changed. A file is never put in place of another: a name taken in the
// folder, a file that is gone and a failed move are reported and the file
// stays where it is. Each move is recorded in changes before it is made.
// A file already in the folder stays as it is. progress is told after each
// row (done, total); false stops the run there.
MoveReport MoveEntryFiles(CLiedkramDoc& doc, const std::vector<std::size_t>& rows, const std::string& folder,
                          history::ChangeSet* changes,
                          const std::function<bool(std::size_t, std::size_t)>& progress = nullptr);

}  // namespace document

#pragma once

#include "history/journal.h"

#include <string>
#include <vector>

namespace history {

class ChangeSet;

// A file the undo gave back: where it was before and where it is now.
struct Restored {
    std::string was;
    std::string now;
};

struct UndoResult {
    std::vector<Restored> restored;
    std::size_t leftAlone = 0;  // files reported and left as they are
};

// Gives the files of the change set back their old content and names, the
// newest change first. A file changed since (its stamp is not the one the
// change left), a name taken meanwhile and an original that was not kept
// are reported and left as they are; a change that never reached the file
// (the program was killed before) needs nothing. The undo records itself in
// undo, a change set of its own, so it can be undone in turn.
UndoResult undoChangeSet(const std::string& dataDirectory, const ChangeSetRecord& set, ChangeSet& undo);

// The files of the set that are no longer as the set left them (changed,
// replaced or gone since), under the names the set gave them: an undo
// would leave them alone.
std::vector<std::string> filesChangedSince(const ChangeSetRecord& set);

}  // namespace history

#pragma once

#include "history/journal.h"

#include <map>
#include <optional>
#include <vector>

namespace history {

// Which change sets of the journal are undone. An undo is a change set that
// names the set it undid, so undoing an undo redoes that set: a set is
// undone while an undo of it is in force, that is, not undone itself.
class UndoState {
public:
    // The sets as readJournal gives them; sets without a change count for nothing.
    explicit UndoState(const std::vector<ChangeSetRecord>& sets);

    bool isUndone(int number) const;
    // The undo in force of a set that is undone: undoing it redoes the set.
    std::optional<int> undoOf(int number) const;
    // The newest set of a command's own changes (no undo) that is not undone.
    std::optional<int> newestToUndo() const { return newestToUndo_; }
    // The set of a command's own changes undone last, and undone still.
    std::optional<int> newestToRedo() const { return newestToRedo_; }

private:
    std::map<int, int> undoInForce_;
    std::optional<int> newestToUndo_;
    std::optional<int> newestToRedo_;
};

}  // namespace history

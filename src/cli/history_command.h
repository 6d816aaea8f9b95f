#pragma once

#include <optional>
#include <ostream>

namespace cli {

// Prints the change sets of the journal: number, time, command, files
// changed, the bytes their kept originals take and whether the set is
// undone, then the total. With
// purge, removes the change sets older than days (the KeepDays setting when
// none is given) with their originals instead.
int runHistory(bool purge, std::optional<int> days, std::ostream& out);

// Undoes a change set (when none is named, the newest one of a command's own
// changes that is not undone, so each undo goes one set further back):
// prints "restored WAS -> NOW" for each file given back. Exit 1 when a file
// was left alone, the set is undone already or there is nothing to undo.
int runUndo(std::optional<int> number, bool keepOriginals, std::ostream& out);
// Gives an undone change set back (when none is named, the one undone last)
// by undoing its undo; prints as runUndo does. Exit 1 when a file was left
// alone, the set is not undone or there is nothing to redo.
int runRedo(std::optional<int> number, bool keepOriginals, std::ostream& out);

}  // namespace cli

#pragma once

#include <optional>
#include <ostream>

namespace cli {

// Prints the change sets of the journal: number, time, command, files
// changed and the bytes their kept originals take, then the total. With
// purge, removes the change sets older than days (the KeepDays setting when
// none is given) with their originals instead.
int runHistory(bool purge, std::optional<int> days, std::ostream& out);

// Undoes a change set (the latest when none is named): prints
// "restored WAS -> NOW" for each file given back. Exit 1 when a file was
// left alone or there is nothing to undo.
int runUndo(std::optional<int> number, bool keepOriginals, std::ostream& out);

}  // namespace cli

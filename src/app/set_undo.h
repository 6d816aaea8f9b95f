#pragma once

#include "history/undo.h"

#include <optional>
#include <string>
#include <vector>

class CLiedkramDoc;

// What undoing a change set of the journal came to.
struct SetUndo {
    std::optional<int> undoSet;  // the change set of the undo; none when it changed nothing
    std::vector<history::Restored> restored;
};

// Undoes change set number as a change set of its own, named command, that
// names the set it undoes (so undoing it redoes). Under the change lock;
// only the user's own sets are read. A file that cannot be given back is
// reported and the others are restored.
SetUndo undoJournalSet(int number, const std::string& command);

// The entries of the files given back follow them: loaded again from them.
void reloadRestored(CLiedkramDoc& doc, const std::vector<history::Restored>& restored);

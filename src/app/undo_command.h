#pragma once

#include <optional>
#include <string>

class CLiedkramDoc;

// The command of the latest change set that can be undone ("Automatisch
// bearbeiten", "fix", ...); none when the journal holds nothing to undo.
std::optional<std::string> latestUndoableCommand();

// "Rückgängig": undoes the latest change set. Files changed since or whose
// names are taken are reported and left alone; the list's entries of the
// files given back are loaded again from them, which marks the list changed.
void runUndo(CLiedkramDoc& doc);

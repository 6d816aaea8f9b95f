#pragma once

class CLiedkramEntry;

namespace history {
class ChangeSet;
}

namespace autoedit {

// Renames the entry's file to m_strNewName in the same directory, never
// replacing another file; a failure is reported with its cause and leaves the
// entry as it was. Returns whether the file has its new name. With a change
// set, the rename is recorded there before it is made.
bool renameEntryFile(CLiedkramEntry& entry, history::ChangeSet* changes = nullptr);

}  // namespace autoedit

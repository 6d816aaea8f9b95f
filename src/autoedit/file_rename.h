#pragma once

class CLiedkramEntry;

namespace autoedit {

// Renames the entry's file to m_strNewName in the same directory, never
// replacing another file; a failure is reported with its cause and leaves the
// entry as it was.
void renameEntryFile(CLiedkramEntry& entry);

}  // namespace autoedit

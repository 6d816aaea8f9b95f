#pragma once

class CLiedkramEntry;

namespace autoedit {

// Renames the entry's file to m_strNewName in the same directory, never
// replacing another file; a failure is reported with its cause and leaves the
// entry as it was. Returns whether the file has its new name.
bool renameEntryFile(CLiedkramEntry& entry);

}  // namespace autoedit

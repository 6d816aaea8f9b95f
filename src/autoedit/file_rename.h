#pragma once

#include <string_view>

class CLiedkramEntry;

namespace history {
class ChangeSet;
}

namespace autoedit {

// Whether a file may be given the name: one that would leave its folder or
// not fit the entry moves nothing.
bool isAllowedName(std::string_view name);

// Renames the entry's file to m_strNewName in the same directory, never
// replacing another file; a failure is reported with its cause and leaves the
// entry as it was. Returns whether the file has its new name. With a change
// set, the rename is recorded there before it is made.
bool renameEntryFile(CLiedkramEntry& entry, history::ChangeSet* changes = nullptr);

}  // namespace autoedit

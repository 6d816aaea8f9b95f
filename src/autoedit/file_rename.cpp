#include "autoedit/file_rename.h"

#include "entry/entry_file.h"
#include "entry/liedkram_entry.h"
#include "entry/text_field.h"
#include "history/change_set.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/path.h"
#include "platform/prompter.h"

#include <cerrno>

namespace autoedit {

bool isAllowedName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.size() <= TextField::kMaxLength &&
           name.find(platform::kSeparator) == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

bool renameEntryFile(CLiedkramEntry& entry, history::ChangeSet* changes)
{
    std::string cause;
    if (!isAllowedName(entry.m_strNewName)) {
        cause = platform::causeText(platform::FileCause::BadPath);
    } else if (entry.m_strNewName != entry.m_szFileName.view()) {
        try {
            const std::string from = entry.GetFullPath();
            const std::string to = platform::joinPath(entry.m_szPath.view(), entry.m_strNewName);
            // Only the MP3 file the entry names is renamed, whatever stands there now.
            const platform::File file = entry::openEntryFile(entry);
            // A name that is taken fails here, before anything is recorded.
            if (platform::fileExists(to))
                throw platform::FileError::fromErrno(EEXIST, to, "cannot rename '" + from + "' to");
            if (changes)
                changes->recordRename(from, to, file.stamp());
            platform::renameOpenFile(file, from, to);
        } catch (const platform::FileError& error) {
            cause = error.causeText();
        }
    }
    if (!cause.empty()) {
        platform::prompter().showMessage("Unable to rename " + entry.m_szFileName.str() + " cause: " + cause);
        return false;
    }
    entry.m_szFileName = entry.m_strNewName;
    entry.m_nFlags &= ~ENTRY_RENAME;
    return true;
}

}  // namespace autoedit

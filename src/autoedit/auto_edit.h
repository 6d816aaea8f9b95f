#pragma once

#include "platform/repair_settings.h"

#include <string>
#include <string_view>

class CLiedkramEntry;

namespace history {
class ChangeSet;
}

namespace autoedit {

// How the edit of one entry ended.
enum class EditStep {
    Done,  // everything asked for was done (or, when only marking, marked)
    // A stream that is listed but never repaired, or a rewrite or rename that
    // was refused; reported on the way.
    Incomplete,
    // A file error in the middle of the rewrite (reported, the file as it
    // was), or, in a run, an error thrown while editing.
    Failed,
    Cancelled,  // the user cancelled the rename question
};

// The new file name the rename pattern of the rules gives for the entry,
// with ".mp3" appended; UTF-8 like every file name.
std::string ExpandPattern(const CLiedkramEntry& entry, const platform::NamingRules& rules);

// What keeps a rename pattern from making plain file names.
enum class PatternFault {
    None,
    FolderSeparator,  // a name cannot name a folder
    UnknownWord,  // "$" and letters that are no placeholder, a typing error as a rule
};

struct PatternCheck {
    PatternFault fault = PatternFault::None;
    std::string word;  // the separator or the unknown word, as written
};

// Checks a rename pattern (UTF-8) before it is stored.
PatternCheck CheckPattern(std::string_view pattern);

// The first placeholder of the rename pattern (UTF-8) whose field the entry
// lacks (an empty text, no genre, no track), or empty when it lacks none. A
// name built without it is no name the user wants: "Artist-.mp3".
std::string MissingField(const CLiedkramEntry& entry, std::string_view pattern);

// Proposes the new name (asking the user through the progress question) and
// marks the repairs the settings ask for, without touching the file. A name
// that lacks a field of the pattern is not proposed: the file keeps its name.
// Returns Cancelled when the user cancelled the question, Incomplete for a
// stream that is listed but never repaired, else Done.
EditStep MarkRepairs(CLiedkramEntry& entry, const platform::RepairSettings& settings);

// Marks the repairs as MarkRepairs does and has the file rewritten and
// renamed. After a cancelled question the entry is left as it was but for
// the proposed name. With a change set, the changes are recorded there (see
// RewriteFile). Errors are thrown.
EditStep EditEntry(CLiedkramEntry& entry, const platform::RepairSettings& settings,
                   history::ChangeSet* changes = nullptr);

}  // namespace autoedit

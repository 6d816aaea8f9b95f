#pragma once

#include "platform/repair_settings.h"

class CLiedkramEntry;

namespace history {
class ChangeSet;
}

namespace autoedit {

enum class RewriteOutcome {
    Done,  // everything the flags asked for was done
    NotDone,  // some of it was refused or could not start; reported, the file as it was
    Failed,  // a file error in the middle of the rewrite; reported, the file as it was, nothing renamed
};

// Carries out on disk what the entry's flags ask for: cuts the junk before
// and behind the audio, puts the entry's original and copyright bits into
// every frame header (and recomputes the CRC of protected frames), appends a
// fresh ID3v1 tag and renames the file. Audio is cut or changed only where a
// scan verified it and the file still is as it was listed; unverified
// entries have only a recognised ID3v1 tag or trailer cut behind the audio.
// The new content replaces the file in one step; a file that changes while
// it is being rewritten is left alone. Afterwards the entry describes the
// file as it is, and the bits whose work was done are cleared. A content
// rewrite that was refused or failed renames nothing. With a change set,
// every change is recorded there before it is made, the original content
// kept (where it cannot be, the user is asked whether to go on). The
// settings say whether an ID3v1 tag is appended and an ID3v2 tag written.
RewriteOutcome RewriteFile(CLiedkramEntry& entry, const platform::RepairSettings& settings,
                           history::ChangeSet* changes = nullptr);

}  // namespace autoedit

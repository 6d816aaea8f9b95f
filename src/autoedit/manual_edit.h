#pragma once

#include "entry/file_presence.h"
#include "platform/repair_settings.h"
#include "tags/id3v1.h"

#include <cstdint>
#include <string>

class CLiedkramEntry;

namespace history {
class ChangeSet;
}

namespace autoedit {

// What the user set by hand for one entry. Texts are as the entry stores
// them (Windows-1252 bytes), already cut to what the edit fields hold; the
// new name is file-system bytes with ".mp3".
struct ManualEdit {
    std::string title;
    std::string artist;
    std::string album;
    std::string comment;
    int year = tags::kNoYear;
    int genre = -1;
    std::uint8_t track = 0;
    std::string newName;
    bool original = false;
    bool copyright = false;
    // The entry's pending work when the edit began, plus the bits of what the
    // user changed; ENTRY_RENAME only when the name was changed.
    std::uint32_t changeFlags = 0;
};

enum class ManualEditOutcome {
    NothingToSave,  // no change flags: neither entry nor file touched
    Saved,  // the rewrite ran; what it refused it reported itself
    NotPresent,  // the file is gone or changed since it was listed: neither entry nor file touched
    Failed,  // a file error in the middle of the rewrite; reported, the file as it was
};

struct ManualEditResult {
    ManualEditOutcome outcome = ManualEditOutcome::NothingToSave;
    entry::FilePresence presence = entry::FilePresence::Present;  // why NotPresent
};

// Puts the edit into the entry and has its file rewritten: the change flags
// with the cuts the settings ask for, the fields, the original and copyright
// bits, then RewriteFile with the change set. Errors the rewrite throws come
// through; the entry then holds the edit its file did not get.
ManualEditResult ApplyManualEdit(CLiedkramEntry& entry, const ManualEdit& edit,
                                 const platform::RepairSettings& settings, history::ChangeSet* changes = nullptr);

}  // namespace autoedit

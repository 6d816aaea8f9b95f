#pragma once

#include "autoedit/auto_edit.h"
#include "platform/repair_settings.h"

#include <cstddef>
#include <exception>
#include <span>

class CLiedkramEntry;

namespace history {
class ChangeSet;
}

namespace autoedit {

// How a whole run ended.
enum class EditRunOutcome {
    Finished,  // every entry had its turn
    Cancelled,  // the user ended it, at a question or between two entries
    Stopped,  // a failed entry ended it, where the run stops at one
};

struct EditRunOptions {
    bool dryRun = false;  // only propose the names and mark the work (MarkRepairs); no file is touched
    bool stopAtFailure = false;
};

struct EditRunResult {
    EditRunOutcome outcome = EditRunOutcome::Finished;
    bool allDone = true;  // finished, and every entry Done
};

// What a front shows and asks while a run goes over its entries.
class EditRunFront {
public:
    virtual ~EditRunFront() = default;
    // Asked before each entry; true ends the run there as cancelled.
    virtual bool stopRequested() { return false; }
    // The run turns to the entry at this position.
    virtual void starting(std::size_t position) { (void)position; }
    // The entry's edit ended. error is what was thrown while editing it
    // (the step is then Failed), else null.
    virtual void edited(std::size_t position, CLiedkramEntry& entry, EditStep step, const std::exception* error) = 0;
};

// Edits one entry as a run with these options does; errors are thrown.
EditStep EditEntryAs(CLiedkramEntry& entry, const platform::RepairSettings& settings, history::ChangeSet* changes,
                     const EditRunOptions& options);

// Edits the entries in the order given, one after the other, and tells the
// front about each. An error thrown for one entry is handed to the front;
// the run goes on unless it stops at a failure. A cancelled question ends it.
EditRunResult RunEdits(std::span<CLiedkramEntry* const> entries, const platform::RepairSettings& settings,
                       history::ChangeSet* changes, const EditRunOptions& options, EditRunFront& front);

}  // namespace autoedit

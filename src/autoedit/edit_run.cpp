#include "autoedit/edit_run.h"

namespace autoedit {

EditStep EditEntryAs(CLiedkramEntry& entry, const platform::RepairSettings& settings, history::ChangeSet* changes,
                     const EditRunOptions& options)
{
    return options.dryRun ? MarkRepairs(entry, settings) : EditEntry(entry, settings, changes);
}

EditRunResult RunEdits(std::span<CLiedkramEntry* const> entries, const platform::RepairSettings& settings,
                       history::ChangeSet* changes, const EditRunOptions& options, EditRunFront& front)
{
    EditRunResult result;
    for (std::size_t position = 0; position < entries.size(); ++position) {
        if (front.stopRequested()) {
            result.outcome = EditRunOutcome::Cancelled;
            break;
        }
        front.starting(position);
        CLiedkramEntry& entry = *entries[position];
        EditStep step = EditStep::Failed;
        bool thrown = false;
        try {
            step = EditEntryAs(entry, settings, changes, options);
        } catch (const std::exception& error) {
            thrown = true;
            front.edited(position, entry, step, &error);
        }
        if (!thrown)
            front.edited(position, entry, step, nullptr);
        result.allDone = result.allDone && step == EditStep::Done;
        if (step == EditStep::Cancelled) {
            result.outcome = EditRunOutcome::Cancelled;
            break;
        }
        if (step == EditStep::Failed && options.stopAtFailure) {
            result.outcome = EditRunOutcome::Stopped;
            break;
        }
    }
    if (result.outcome != EditRunOutcome::Finished)
        result.allDone = false;
    return result;
}

}  // namespace autoedit

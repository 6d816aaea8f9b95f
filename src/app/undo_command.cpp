#include "app/undo_command.h"

#include "app/recorded_changes.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "history/change_lock.h"
#include "history/journal.h"
#include "history/journal_location.h"
#include "history/undo.h"
#include "platform/file_error.h"
#include "platform/prompter.h"

#include <utility>

namespace {

std::optional<history::ChangeSetRecord> latestUndoable(std::vector<std::string>* notOwned = nullptr)
{
    auto sets = history::readJournal(history::dataDirectory(), notOwned);
    for (auto set = sets.rbegin(); set != sets.rend(); ++set) {
        if (!set->changes.empty())
            return std::move(*set);
    }
    return std::nullopt;
}

// The entries of a file given back follow it: loaded again under its name.
void reloadEntries(CLiedkramDoc& doc, const history::Restored& restored)
{
    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        if (std::as_const(doc).GetEntry(row).GetFullPath() != restored.was)
            continue;
        CLiedkramEntry fresh(restored.now);
        if (fresh.m_dwHeader == 0)
            continue;
        doc.GetEntry(row) = fresh;
        doc.RefreshRow(row);
        doc.SetChanged();
    }
}

}  // namespace

std::optional<std::string> latestUndoableCommand()
{
    if (const auto set = latestUndoable())
        return set->command;
    return std::nullopt;
}

void runUndo(CLiedkramDoc& doc)
{
    // Nothing changes the journal or the files while the undo reads and acts.
    std::optional<history::ChangeLock> lock;
    try {
        lock.emplace(history::dataDirectory());
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot access '" + error.path() + "' cause: " + error.causeText());
        return;
    }
    std::vector<std::string> notOwned;
    const auto set = latestUndoable(&notOwned);
    for (const std::string& path : notOwned)
        platform::prompter().showMessage(history::notOwnedMessage(path));
    if (!set)
        return;
    RecordedChanges undo(doc, "Rückgängig");
    history::UndoResult result;
    try {
        result = history::undoChangeSet(history::dataDirectory(), *set, undo.changes());
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot save '" + error.path() + "' cause: " + error.causeText());
    }
    for (const auto& restored : result.restored)
        reloadEntries(doc, restored);
}

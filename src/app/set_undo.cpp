#include "app/set_undo.h"

#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "history/change_lock.h"
#include "history/change_set.h"
#include "history/journal.h"
#include "history/journal_location.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"

#include <utility>

SetUndo undoJournalSet(int number, const std::string& command)
{
    SetUndo outcome;
    const std::string directory = history::dataDirectory();
    // Nothing changes the journal or the files while the undo reads and acts.
    const auto lock = history::takeChangeLock(directory);
    if (!lock)
        return outcome;
    const auto set = history::readChangeSet(directory, number);
    if (!set) {
        platform::prompter().showMessage("Die \xC3\x84nderungen Nr. " + std::to_string(number) +
                                         " sind nicht mehr im Verlauf -> nichts r\xC3\xBC"
                                         "ckg\xC3\xA4ngig gemacht.");
        return outcome;
    }
    history::ChangeSet undo(directory, command, history::keepingIsOn(), number);
    try {
        outcome.restored = history::undoChangeSet(directory, *set, undo).restored;
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot save '" + error.path() + "' cause: " + error.causeText());
    }
    if (undo.number() > 0)
        outcome.undoSet = undo.number();
    return outcome;
}

void reloadRestored(CLiedkramDoc& doc, const std::vector<history::Restored>& restored)
{
    const platform::RepairSettings settings = platform::readRepairSettings();
    for (const history::Restored& file : restored) {
        for (std::size_t row = 0; row < doc.GetCount(); ++row) {
            if (std::as_const(doc).GetEntry(row).GetFullPath() != file.was)
                continue;
            CLiedkramEntry fresh(file.now, settings);
            if (!fresh.IsListable())
                continue;
            doc.GetEntry(row) = fresh;
            doc.RefreshRow(row);
            doc.SetChanged();
        }
    }
}

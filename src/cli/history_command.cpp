#include "cli/history_command.h"

#include "cli/scan_table.h"
#include "cli/usage.h"
#include "history/change_lock.h"
#include "history/change_set.h"
#include "history/journal.h"
#include "history/journal_location.h"
#include "history/undo.h"
#include "platform/file_error.h"
#include "platform/prompter.h"

#include <ctime>

namespace cli {

namespace {

std::string localTime(std::int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    ::localtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

// Change sets that never got a change (a command that stopped at once) are
// not worth a line.
// Folders and sets that are not the user's alone are named, not read.
std::vector<history::ChangeSetRecord> setsWithChanges(const std::string& directory)
{
    std::vector<history::ChangeSetRecord> sets;
    std::vector<std::string> notOwned;
    auto journal = history::readJournal(directory, &notOwned);
    for (const std::string& path : notOwned)
        platform::prompter().showMessage(history::notOwnedMessage(path));
    for (auto& set : journal) {
        if (!set.changes.empty())
            sets.push_back(std::move(set));
    }
    return sets;
}

}  // namespace

int runHistory(bool purge, std::optional<int> days, std::ostream& out)
{
    const std::string directory = history::dataDirectory();
    if (purge) {
        const auto purged = history::purgeJournal(directory, days.value_or(history::keptDays()),
                                                  static_cast<std::int64_t>(std::time(nullptr)));
        out << "purged " << purged.sets << " change sets, " << purged.bytes << " bytes\n";
        return kExitOk;
    }
    out << "Set\tTime\tCommand\tFiles\tBytesKept\n";
    std::size_t files = 0;
    std::uint64_t bytes = 0;
    for (const auto& set : setsWithChanges(directory)) {
        const std::size_t changed = history::filesChanged(set);
        const std::uint64_t kept = history::bytesKept(set);
        out << set.number << '\t' << localTime(set.time) << '\t' << escapeField(set.command) << '\t' << changed << '\t'
            << kept << '\n';
        files += changed;
        bytes += kept;
    }
    out << "total\t\t\t" << files << '\t' << bytes << '\n';
    return kExitOk;
}

int runUndo(std::optional<int> number, bool keepOriginals, std::ostream& out)
{
    const std::string directory = history::dataDirectory();
    // Nothing changes the journal or the files while the undo reads and acts.
    std::optional<history::ChangeLock> lock;
    try {
        lock.emplace(directory);
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot access '" + error.path() + "' cause: " + error.causeText());
        return kExitSkipped;
    }
    const auto sets = setsWithChanges(directory);
    const history::ChangeSetRecord* chosen = nullptr;
    for (const auto& set : sets) {
        if (!number || set.number == *number)
            chosen = &set;
    }
    if (!chosen) {
        platform::prompter().showMessage(number ? "No change set " + std::to_string(*number) + " to undo."
                                                : std::string("Nothing to undo."));
        return kExitSkipped;
    }
    history::ChangeSet undo(directory, "undo " + std::to_string(chosen->number), keepOriginals);
    history::UndoResult result;
    try {
        result = history::undoChangeSet(directory, *chosen, undo);
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot record the undo in '" + error.path() +
                                         "' cause: " + error.causeText());
        return kExitSkipped;
    }
    for (const auto& restored : result.restored)
        out << "restored " << escapeField(restored.was) << " -> " << escapeField(restored.now) << '\n';
    return result.leftAlone == 0 ? kExitOk : kExitSkipped;
}

}  // namespace cli

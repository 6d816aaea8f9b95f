#include "cli/history_command.h"

#include "cli/scan_table.h"
#include "cli/usage.h"
#include "history/change_lock.h"
#include "history/change_set.h"
#include "history/journal.h"
#include "history/journal_location.h"
#include "history/undo.h"
#include "history/undo_state.h"
#include "platform/file_error.h"
#include "platform/prompter.h"

#include <algorithm>
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

enum class Step { Undo, Redo };

// The set to undo for the step: for an undo the set itself, for a redo the
// undo in force of it. None (reported) when the step cannot be taken.
std::optional<int> setToUndo(Step step, std::optional<int> number, const std::vector<history::ChangeSetRecord>& sets)
{
    const history::UndoState state(sets);
    const std::string word = step == Step::Undo ? "undo" : "redo";
    if (!number) {
        number = step == Step::Undo ? state.newestToUndo() : state.newestToRedo();
        if (!number) {
            platform::prompter().showMessage(step == Step::Undo ? "Nothing to undo." : "Nothing to redo.");
            return std::nullopt;
        }
    } else if (std::none_of(sets.begin(), sets.end(), [&](const auto& set) { return set.number == *number; })) {
        platform::prompter().showMessage("No change set " + std::to_string(*number) + " to " + word + ".");
        return std::nullopt;
    }
    const std::string set = "Change set " + std::to_string(*number);
    if (step == Step::Undo) {
        if (state.isUndone(*number)) {
            platform::prompter().showMessage(set + " is undone already; redo " + std::to_string(*number) +
                                             " gives it back.");
            return std::nullopt;
        }
        return number;
    }
    const auto undo = state.undoOf(*number);
    if (!undo)
        platform::prompter().showMessage(set + " is not undone.");
    return undo;
}

int runUndoOrRedo(Step step, std::optional<int> number, bool keepOriginals, std::ostream& out)
{
    const std::string directory = history::dataDirectory();
    // Nothing changes the journal or the files while the undo reads and acts.
    const auto lock = history::takeChangeLock(directory);
    if (!lock)
        return kExitSkipped;
    const auto sets = setsWithChanges(directory);
    const auto target = setToUndo(step, number, sets);
    if (!target)
        return kExitSkipped;
    const auto chosen = std::find_if(sets.begin(), sets.end(), [&](const auto& set) { return set.number == *target; });
    // The set a redo gives back is named, not the undo it undoes.
    const int named = step == Step::Undo ? *target : chosen->undoes;
    history::ChangeSet undo(directory, (step == Step::Undo ? "undo " : "redo ") + std::to_string(named), keepOriginals,
                            *target);
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
    const auto sets = setsWithChanges(directory);
    const history::UndoState state(sets);
    out << "Set\tTime\tCommand\tFiles\tBytesKept\tUndone\n";
    std::size_t files = 0;
    std::uint64_t bytes = 0;
    for (const auto& set : sets) {
        const std::size_t changed = history::filesChanged(set);
        const std::uint64_t kept = history::bytesKept(set);
        out << set.number << '\t' << localTime(set.time) << '\t' << escapeField(set.command) << '\t' << changed << '\t'
            << kept << '\t' << (state.isUndone(set.number) ? "yes" : "no") << '\n';
        files += changed;
        bytes += kept;
    }
    out << "total\t\t\t" << files << '\t' << bytes << "\t\n";
    return kExitOk;
}

int runUndo(std::optional<int> number, bool keepOriginals, std::ostream& out)
{
    return runUndoOrRedo(Step::Undo, number, keepOriginals, out);
}

int runRedo(std::optional<int> number, bool keepOriginals, std::ostream& out)
{
    return runUndoOrRedo(Step::Redo, number, keepOriginals, out);
}

}  // namespace cli

#include "cli/fix_command.h"

#include "autoedit/auto_edit.h"
#include "autoedit/rewrite_file.h"
#include "cli/entry_walk.h"
#include "cli/list_command.h"
#include "cli/progress_line.h"
#include "cli/scan_table.h"
#include "cli/usage.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "history/journal_location.h"
#include "platform/prompter.h"

#include <exception>
#include <optional>

namespace cli {

namespace {

// Failed: the file did not get all its repairs (a stream that is listed but
// never repaired, a refused or failed rewrite or rename), reported on the way.
Visit fixEntry(const platform::RepairSettings& settings, CLiedkramEntry& entry, history::ChangeSet* changes,
               std::ostream& out)
{
    if (autoedit::MarkRepairs(entry, settings) == autoedit::AutoEditOutcome::Cancelled)
        return Visit::Stop;
    bool done = !(entry.m_nFlags & ENTRY_SCAN_ERROR);
    // A dry run has no change set: it changes nothing.
    if (changes)
        done = autoedit::RewriteFile(entry, settings, changes) == autoedit::RewriteOutcome::Done && done;
    // Each line as soon as its file is done, so what was printed is what was changed.
    out << fixRow(entry) << std::flush;
    return done ? Visit::Kept : Visit::Failed;
}

std::optional<history::ChangeSet> changeSetFor(const std::string& command, const FixOptions& options)
{
    if (options.dryRun)
        return std::nullopt;
    return std::make_optional<history::ChangeSet>(history::dataDirectory(), command,
                                                  options.keepOriginals && history::keepingIsOn());
}

history::ChangeSet* pointerTo(std::optional<history::ChangeSet>& changes)
{
    return changes ? &*changes : nullptr;
}

}  // namespace

int runFix(const platform::RepairSettings& settings, const std::vector<std::string>& paths, const FixOptions& options,
           std::ostream& out, ProgressLine& progress)
{
    auto changes = changeSetFor("fix", options);
    out << fixHeader() << std::flush;
    return walkEntries(settings, paths, progress,
                       [&](CLiedkramEntry& entry) { return fixEntry(settings, entry, pointerTo(changes), out); });
}

int runFixList(const platform::RepairSettings& settings, const std::string& listPath, const FixOptions& options,
               std::ostream& out, ProgressLine& progress)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    // Files repaired under names a list cannot keep would no longer match it.
    if (!options.dryRun && !doc.CanSaveTo(listPath))
        return kExitSkipped;
    auto changes = changeSetFor("fix --list", options);
    out << fixHeader() << std::flush;
    bool allDone = true;
    progress.start(doc.GetCount());
    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        CLiedkramEntry& entry = doc.GetEntry(row);
        Visit outcome = Visit::Failed;
        try {
            outcome = fixEntry(settings, entry, pointerTo(changes), out);
        } catch (const std::exception& error) {
            platform::prompter().showMessage("'" + entry.GetFullPath() + "': " + error.what() + " -> skipped.");
        }
        allDone = allDone && outcome == Visit::Kept;
        if (outcome == Visit::Stop)
            break;
        progress.update(row + 1);
    }
    progress.finish();
    // A dry run leaves every file as it was, the list file too.
    if (!options.dryRun && !saveList(doc, listPath))
        return kExitSkipped;
    return allDone ? kExitOk : kExitSkipped;
}

}  // namespace cli

#include "cli/fix_command.h"

#include "autoedit/auto_edit.h"
#include "autoedit/edit_run.h"
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
Visit visitOf(autoedit::EditStep step)
{
    switch (step) {
    case autoedit::EditStep::Done:
        return Visit::Kept;
    case autoedit::EditStep::Cancelled:
        return Visit::Stop;
    case autoedit::EditStep::Incomplete:
    case autoedit::EditStep::Failed:
        break;
    }
    return Visit::Failed;
}

// Each line as soon as its file is done, so what was printed is what was changed.
void printRow(const CLiedkramEntry& entry, autoedit::EditStep step, std::ostream& out)
{
    if (step != autoedit::EditStep::Cancelled)
        out << fixRow(entry) << std::flush;
}

// The run over a list's entries prints each one's line and tells an error
// naming the file; it goes on with the next.
class ListRunFront : public autoedit::EditRunFront {
public:
    ListRunFront(std::ostream& out, ProgressLine& progress) : out_(out), progress_(progress) {}

    void edited(std::size_t position, CLiedkramEntry& entry, autoedit::EditStep step,
                const std::exception* error) override
    {
        if (error)
            platform::prompter().showMessage("'" + entry.GetFullPath() + "': " + error->what() + " -> skipped.");
        else
            printRow(entry, step, out_);
        if (step != autoedit::EditStep::Cancelled)
            progress_.update(position + 1);
    }

private:
    std::ostream& out_;
    ProgressLine& progress_;
};

// A dry run has no change set: it changes nothing.
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
    return walkEntries(settings, paths, progress, [&](CLiedkramEntry& entry) {
        const autoedit::EditStep step =
            autoedit::EditEntryAs(entry, settings, pointerTo(changes), {.dryRun = options.dryRun});
        printRow(entry, step, out);
        return visitOf(step);
    });
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
    std::vector<CLiedkramEntry*> entries;
    entries.reserve(doc.GetCount());
    for (std::size_t row = 0; row < doc.GetCount(); ++row)
        entries.push_back(&doc.GetEntry(row));
    progress.start(entries.size());
    ListRunFront front(out, progress);
    const autoedit::EditRunResult result =
        autoedit::RunEdits(entries, settings, pointerTo(changes), {.dryRun = options.dryRun}, front);
    progress.finish();
    // A dry run leaves every file as it was, the list file too.
    if (!options.dryRun && !saveList(doc, listPath))
        return kExitSkipped;
    return result.allDone ? kExitOk : kExitSkipped;
}

}  // namespace cli

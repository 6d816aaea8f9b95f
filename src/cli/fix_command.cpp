#include "cli/fix_command.h"

#include "autoedit/auto_edit.h"
#include "cli/entry_walk.h"
#include "cli/list_command.h"
#include "cli/progress_line.h"
#include "cli/scan_table.h"
#include "cli/usage.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

#include <exception>

namespace cli {

namespace {

enum class Outcome { Done, Failed, Stop };

Outcome fixEntry(CLiedkramEntry& entry, bool dryRun, std::ostream& out)
{
    const int result = dryRun ? autoedit::MarkRepairs(entry) : autoedit::AutoEdit(entry);
    if (result == autoedit::kAutoEditCancelled)
        return Outcome::Stop;
    // Each line as soon as its file is done, so what was printed is what was changed.
    out << fixRow(entry) << std::flush;
    return Outcome::Done;
}

}  // namespace

int runFix(const std::vector<std::string>& paths, bool dryRun, std::ostream& out, ProgressLine& progress)
{
    out << fixHeader() << std::flush;
    return walkEntries(paths, progress, [&](CLiedkramEntry& entry) {
        return fixEntry(entry, dryRun, out) == Outcome::Done;
    });
}

int runFixList(const std::string& listPath, bool dryRun, std::ostream& out, ProgressLine& progress)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath))
        return kExitSkipped;
    out << fixHeader() << std::flush;
    bool allDone = true;
    progress.start(doc.GetCount());
    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        CLiedkramEntry& entry = doc.GetEntry(row);
        Outcome outcome = Outcome::Failed;
        try {
            outcome = fixEntry(entry, dryRun, out);
        } catch (const std::exception& error) {
            platform::prompter().showMessage("'" + entry.GetFullPath() + "': " + error.what() + " -> skipped.");
        }
        if (outcome == Outcome::Stop)
            break;
        allDone = allDone && outcome == Outcome::Done;
        progress.update(row + 1);
    }
    progress.finish();
    // A dry run leaves every file as it was, the list file too.
    if (!dryRun && !saveList(doc, listPath))
        return kExitSkipped;
    return allDone ? kExitOk : kExitSkipped;
}

}  // namespace cli

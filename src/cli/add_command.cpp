#include "cli/add_command.h"

#include "cli/list_changes.h"
#include "cli/list_command.h"
#include "cli/path_collection.h"
#include "cli/usage.h"
#include "document/liedkram_doc.h"
#include "history/change_set.h"
#include "history/journal_location.h"
#include "platform/file.h"
#include "platform/prompter.h"

#include <exception>
#include <utility>

namespace cli {

namespace {

using DocCommand = PathsReport (CLiedkramDoc::*)(const std::vector<std::string>&, const platform::RepairSettings&);

// Messages that only inform (a stream listed but never repaired, say) do not
// count; a file skipped, a ".cop" name not given or a run cancelled do.
int runChange(const platform::RepairSettings& settings, CLiedkramDoc& doc, const std::string& listPath,
              const std::vector<std::string>& paths, DocCommand command, std::string removedVerb, std::ostream& out)
{
    const CollectedPaths collected = collectPaths(paths);
    for (const std::string& problem : collected.problems)
        platform::prompter().showMessage(problem);
    bool allDone = collected.problems.empty();
    // The ".cop" names of declined files are one change set.
    history::ChangeSet changes(history::dataDirectory(), "add", history::keepingIsOn());
    doc.changes = &changes;
    {
        ListChangeRecorder recorder(doc, out, std::move(removedVerb));
        try {
            allDone = (doc.*command)(collected.files, settings).allDone() && allDone;
        } catch (const std::exception& error) {
            // What the command did before stays and is saved below.
            platform::prompter().showMessage(std::string("Stopped: ") + error.what());
            allDone = false;
        }
    }
    doc.changes = nullptr;
    if (doc.m_bChanged && !saveList(doc, listPath))
        return kExitSkipped;
    return allDone ? kExitOk : kExitSkipped;
}

}  // namespace

int runAdd(const platform::RepairSettings& settings, const std::string& listPath, const std::vector<std::string>& paths,
           std::ostream& out)
{
    CLiedkramDoc doc;
    // A list that is not there yet starts empty and is written once something is added.
    if (platform::fileExists(listPath) && !doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    return runChange(settings, doc, listPath, paths, &CLiedkramDoc::OnAddMp3s, "replaced", out);
}

int runSubtract(const platform::RepairSettings& settings, const std::string& listPath,
                const std::vector<std::string>& paths, std::ostream& out)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    return runChange(settings, doc, listPath, paths, &CLiedkramDoc::OnSubtractMp3s, "removed", out);
}

}  // namespace cli

#include "cli/entry_walk.h"

#include "cli/path_collection.h"
#include "cli/progress_line.h"
#include "cli/usage.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

#include <exception>

namespace cli {

namespace {

// Loading reports its own failures and leaves the header word 0; anything
// thrown past it is reported here, so one bad file never ends the run.
Visit loadAndVisit(const platform::RepairSettings& settings, const std::string& path, const EntryVisit& visit)
{
    try {
        CLiedkramEntry entry(path, settings);
        if (!entry.IsListable())
            return Visit::Failed;
        return visit(entry);
    } catch (const std::exception& error) {
        platform::prompter().showMessage("'" + path + "': " + error.what() + " -> skipped.");
        return Visit::Failed;
    }
}

}  // namespace

int walkEntries(const platform::RepairSettings& settings, const std::vector<std::string>& paths, ProgressLine& progress,
                const EntryVisit& visit)
{
    const CollectedPaths collected = collectPaths(paths);
    for (const std::string& problem : collected.problems)
        platform::prompter().showMessage(problem);
    bool allKept = collected.problems.empty();

    progress.start(collected.files.size());
    std::size_t done = 0;
    for (const std::string& file : collected.files) {
        const Visit outcome = loadAndVisit(settings, file, visit);
        if (outcome != Visit::Kept)
            allKept = false;
        if (outcome == Visit::Stop)
            break;
        progress.update(++done);
    }
    progress.finish();
    return allKept ? kExitOk : kExitSkipped;
}

}  // namespace cli

#include "cli/entry_walk.h"

#include "cli/path_collection.h"
#include "cli/progress_line.h"
#include "cli/usage.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

#include <exception>

namespace cli {

namespace {

enum class Outcome { Kept, Skipped, Stop };

// Loading reports its own failures and leaves the header word 0; anything
// thrown past it is reported here, so one bad file never ends the run.
Outcome loadAndVisit(const std::string& path, const EntryVisit& visit)
{
    try {
        CLiedkramEntry entry(path);
        if (entry.m_dwHeader == 0)
            return Outcome::Skipped;
        return visit(entry) ? Outcome::Kept : Outcome::Stop;
    } catch (const std::exception& error) {
        platform::prompter().showMessage("'" + path + "': " + error.what() + " -> skipped.");
        return Outcome::Skipped;
    }
}

}  // namespace

int walkEntries(const std::vector<std::string>& paths, ProgressLine& progress, const EntryVisit& visit)
{
    const CollectedPaths collected = collectPaths(paths);
    for (const std::string& problem : collected.problems)
        platform::prompter().showMessage(problem);
    bool allKept = collected.problems.empty();

    progress.start(collected.files.size());
    std::size_t done = 0;
    for (const std::string& file : collected.files) {
        const Outcome outcome = loadAndVisit(file, visit);
        if (outcome == Outcome::Stop)
            break;
        if (outcome == Outcome::Skipped)
            allKept = false;
        progress.update(++done);
    }
    progress.finish();
    return allKept ? kExitOk : kExitSkipped;
}

}  // namespace cli

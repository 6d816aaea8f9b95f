#include "cli/scan_command.h"

#include "cli/path_collection.h"
#include "cli/progress_line.h"
#include "cli/scan_table.h"
#include "cli/usage.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

#include <exception>

namespace cli {

namespace {

// Loading reports its own failures and leaves the header word 0; anything
// thrown past it is reported here, so one bad file never ends the run.
bool loadAndPrint(const std::string& path, std::ostream& out)
{
    try {
        const CLiedkramEntry entry(path);
        if (entry.m_dwHeader == 0)
            return false;
        out << scanRow(entry);
        return true;
    } catch (const std::exception& error) {
        platform::prompter().showMessage("'" + path + "': " + error.what() + " -> skipped.");
        return false;
    }
}

}  // namespace

int runScan(const std::vector<std::string>& paths, std::ostream& out, ProgressLine& progress)
{
    const CollectedPaths collected = collectPaths(paths);
    for (const std::string& problem : collected.problems)
        platform::prompter().showMessage(problem);
    bool allKept = collected.problems.empty();

    out << scanHeader();
    progress.start(collected.files.size());
    std::size_t done = 0;
    for (const std::string& file : collected.files) {
        if (!loadAndPrint(file, out))
            allKept = false;
        progress.update(++done);
    }
    progress.finish();
    out << std::flush;
    return allKept ? kExitOk : kExitSkipped;
}

}  // namespace cli

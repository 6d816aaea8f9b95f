#include "cli/fix_command.h"

#include "autoedit/auto_edit.h"
#include "cli/entry_walk.h"
#include "cli/scan_table.h"

namespace cli {

int runFix(const std::vector<std::string>& paths, bool dryRun, std::ostream& out, ProgressLine& progress)
{
    out << fixHeader() << std::flush;
    return walkEntries(paths, progress, [&](CLiedkramEntry& entry) {
        const int result = dryRun ? autoedit::MarkRepairs(entry) : autoedit::AutoEdit(entry);
        if (result == autoedit::kAutoEditCancelled)
            return false;
        // Each line as soon as its file is done, so what was printed is what was changed.
        out << fixRow(entry) << std::flush;
        return true;
    });
}

}  // namespace cli

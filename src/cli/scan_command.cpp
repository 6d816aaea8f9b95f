#include "cli/scan_command.h"

#include "cli/entry_walk.h"
#include "cli/scan_table.h"

namespace cli {

int runScan(const platform::RepairSettings& settings, const std::vector<std::string>& paths, std::ostream& out,
            ProgressLine& progress)
{
    out << scanHeader();
    const int status = walkEntries(settings, paths, progress, [&out](CLiedkramEntry& entry) {
        out << scanRow(entry);
        return Visit::Kept;
    });
    out << std::flush;
    return status;
}

}  // namespace cli

#include "cli/stats_command.h"

#include "cli/chosen_entries.h"
#include "cli/usage.h"
#include "view/list_statistics.h"

namespace cli {

int runStats(const platform::RepairSettings& settings, const std::string& listPath,
             const std::vector<std::string>& paths, std::ostream& out, ProgressLine& progress)
{
    const auto chosen = chooseEntries(settings, listPath, paths, progress);
    if (!chosen)
        return kExitSkipped;
    out << view::statisticsText(view::sumStatistics(chosen->selection())) << '\n' << std::flush;
    return chosen->status;
}

}  // namespace cli

#pragma once

#include "platform/repair_settings.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

class ProgressLine;

// stats: writes the statistics text of the entries (see chooseEntries), all
// of them, and a newline to out. Messages go through the installed
// prompter. Returns kExitSkipped when the list could not be read (nothing
// written then) or a path or file was skipped.
int runStats(const platform::RepairSettings& settings, const std::string& listPath,
             const std::vector<std::string>& paths, std::ostream& out, ProgressLine& progress);

}  // namespace cli

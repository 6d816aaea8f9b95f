#pragma once

#include "platform/repair_settings.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

class ProgressLine;

// Loads the files the paths name and writes the table of the kept ones to
// out. Messages go through the installed prompter. Returns the exit status:
// kExitSkipped when a path or a file had to be skipped.
int runScan(const platform::RepairSettings& settings, const std::vector<std::string>& paths, std::ostream& out,
            ProgressLine& progress);

}  // namespace cli

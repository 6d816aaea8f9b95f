#pragma once

#include "platform/repair_settings.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// find: reads the list file alone and writes the scan table of the entries
// in which every word occurs in a column text, compared as the desktop
// program's search compares (case, accents and umlauts folded). Returns
// kExitSkipped when the list could not be read (nothing written then).
int runFind(const platform::RepairSettings& settings, const std::string& listPath,
            const std::vector<std::string>& words, std::ostream& out);

}  // namespace cli

#pragma once

#include "platform/repair_settings.h"

#include <ostream>
#include <string>

namespace cli {

// similar: reads the list file alone and writes the scan table of the
// entries that have a similar entry in the list, group by group, an empty
// line between two groups. Returns kExitSkipped when the list could not be
// read (nothing written then).
int runSimilar(const platform::RepairSettings& settings, const std::string& listPath, std::ostream& out);

}  // namespace cli

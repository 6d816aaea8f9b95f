#pragma once

#include "platform/repair_settings.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// move: moves the files of the list's entries that the paths name (all of
// them with all) into folder, as the desktop program's "mp3's verschieben"
// does, as one change set of the journal; saves the list with the new
// places and writes "moved OLD -> NEW" per file. Nothing is moved when the
// list cannot be read or saved. Returns kExitSkipped when a file could not
// be moved, a path names no entry, or the list could not be read or saved.
int runMove(const platform::RepairSettings& settings, const std::string& listPath, const std::string& folder,
            const std::vector<std::string>& paths, bool all, std::ostream& out);

}  // namespace cli

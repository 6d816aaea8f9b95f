#pragma once

#include "platform/repair_settings.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// add: reads the list (a list file that does not exist yet is an empty
// list), hands the files the paths name to the document's add command and
// saves the list when that changed it. Folders give their ".mp3" files as
// for scan; a named list file is read by the command itself. Writes a line
// per change (see ListChangeRecorder), "replaced PATH" for a listed entry
// that gave way. Messages and the duplicate question go through the
// installed prompter. Returns kExitSkipped when anything was reported (a
// path skipped, a file or list unreadable or damaged; what was added is
// saved all the same) or the list could not be read or saved.
int runAdd(const platform::RepairSettings& settings, const std::string& listPath, const std::vector<std::string>& paths,
           std::ostream& out);

// subtract: the same for the document's subtract command, on a list file
// that must exist; writes "removed PATH" for every entry it removed.
int runSubtract(const platform::RepairSettings& settings, const std::string& listPath,
                const std::vector<std::string>& paths, std::ostream& out);

}  // namespace cli

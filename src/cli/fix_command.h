#pragma once

#include "platform/repair_settings.h"

#include <ostream>
#include <string>
#include <vector>

namespace cli {

class ProgressLine;

struct FixOptions {
    bool dryRun = false;  // only mark the work and propose the names
    // Keep the originals of the changed files for undo (the KeepOrig setting
    // may still say no); the changes are recorded in the journal either way.
    bool keepOriginals = true;
};

// Loads the files the paths name like scan, repairs and renames each kept
// one as the settings ask (a dry run only marks the work and proposes the
// name) and writes its table line after the edit, with the proposed name as
// the last column. The changes are one change set of the journal. A cancelled rename question ends the run before that
// file's line. Messages go through the installed prompter. Returns the exit
// status as runScan does.
int runFix(const platform::RepairSettings& settings, const std::vector<std::string>& paths, const FixOptions& options,
           std::ostream& out, ProgressLine& progress);

// The same over the entries of a list file, in list order, as they are
// stored (the MP3 files are not loaded again); the list is saved afterwards
// with the entries' new names, sizes and flags, also after a cancelled
// rename question, but not in a dry run. Returns kExitSkipped when the list
// could not be read or saved, or an entry could not be handled.
int runFixList(const platform::RepairSettings& settings, const std::string& listPath, const FixOptions& options,
               std::ostream& out, ProgressLine& progress);

}  // namespace cli

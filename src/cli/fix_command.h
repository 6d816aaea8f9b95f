#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

class ProgressLine;

// Loads the files the paths name like scan, repairs and renames each kept
// one as the settings ask (with dryRun only marks the work and proposes the
// name) and writes its table line after the edit, with the proposed name as
// the last column. A cancelled rename question ends the run before that
// file's line. Messages go through the installed prompter. Returns the exit
// status as runScan does.
int runFix(const std::vector<std::string>& paths, bool dryRun, std::ostream& out, ProgressLine& progress);

// The same over the entries of a list file, in list order, as they are
// stored (the MP3 files are not loaded again); the list is saved afterwards
// with the entries' new names, sizes and flags, also after a cancelled
// rename question, but not with dryRun. Returns kExitSkipped when the list
// could not be read or saved, or an entry could not be handled.
int runFixList(const std::string& listPath, bool dryRun, std::ostream& out, ProgressLine& progress);

}  // namespace cli

#pragma once

#include <functional>
#include <string>
#include <vector>

class CLiedkramEntry;

namespace cli {

class ProgressLine;

// What a command does with one loaded entry; false ends the walk there.
using EntryVisit = std::function<bool(CLiedkramEntry& entry)>;

// Collects the files the paths name, loads them one after the other and
// hands every one that is kept to visit. Problems go through the installed
// prompter. Returns the exit status: kExitSkipped when a path or a file had
// to be skipped up to where the walk ended.
int walkEntries(const std::vector<std::string>& paths, ProgressLine& progress, const EntryVisit& visit);

}  // namespace cli

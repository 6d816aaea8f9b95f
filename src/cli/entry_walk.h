#pragma once

#include "platform/repair_settings.h"

#include <functional>
#include <string>
#include <vector>

class CLiedkramEntry;

namespace cli {

class ProgressLine;

enum class Visit {
    Kept,  // the entry got what the command does
    Failed,  // the command could not do all of it for this entry (reported)
    Stop,  // the user ended the walk here
};

// What a command does with one loaded entry.
using EntryVisit = std::function<Visit(CLiedkramEntry& entry)>;

// Collects the files the paths name, loads them one after the other and
// hands every one that is kept to visit. Problems go through the installed
// prompter. Returns the exit status: kExitSkipped when a path or a file had
// to be skipped, a visit failed, or the user ended the walk early.
int walkEntries(const platform::RepairSettings& settings, const std::vector<std::string>& paths, ProgressLine& progress,
                const EntryVisit& visit);

}  // namespace cli

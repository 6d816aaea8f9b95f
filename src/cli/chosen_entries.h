#pragma once

#include "platform/repair_settings.h"

#include "cli/usage.h"
#include "entry/liedkram_entry.h"
#include "view/selection.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace cli {

class ProgressLine;

// The entries export, stats and cover work on, all of them selected.
struct ChosenEntries {
    // A deque, so the addresses a selection holds stay put while it grows.
    std::deque<CLiedkramEntry> entries;
    // kExitSkipped when a path or a file had to be skipped, else kExitOk.
    int status = kExitOk;

    // Every entry, in list order.
    view::Selection selection() const;
};

// With a list path, the entries of the list file, read from it alone (no
// MP3 file is opened); otherwise the files the paths name, loaded as scan
// loads them. Problems go through the installed prompter. None when the
// list file could not be read.
std::optional<ChosenEntries> chooseEntries(const platform::RepairSettings& settings, const std::string& listPath,
                                           const std::vector<std::string>& paths, ProgressLine& progress);

}  // namespace cli

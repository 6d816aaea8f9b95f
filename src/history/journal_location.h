#pragma once

#include <string>

namespace history {

// Where the journal and the kept originals live: $XDG_DATA_HOME/liedkram,
// else ~/.local/share/liedkram.
std::string dataDirectory();

// The settings for keeping originals, read at the moment of use like every
// setting: KeepOrig (1: keep them, 0: do not) and KeepDays (how long).
bool keepingIsOn();
int keptDays();

}  // namespace history

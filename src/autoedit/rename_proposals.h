#pragma once

#include "platform/prompter.h"
#include "platform/repair_settings.h"

#include <vector>

class CLiedkramEntry;

namespace autoedit {

// The names the rename pattern of the rules proposes for the entries of a run, in the
// order given, for the files whose name it would change. A name another file
// has, or an earlier entry of the run gets, is marked taken; one the file
// system cannot take is not allowed; one lacking a field of the pattern is
// not offered. Only offered names come ticked.
std::vector<platform::RenameProposal> ProposeRenames(const std::vector<const CLiedkramEntry*>& entries,
                                                     const platform::NamingRules& rules);

}  // namespace autoedit

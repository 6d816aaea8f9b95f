#pragma once

#include <vector>

class CLiedkramEntry;

namespace view {

// The selected rows' entries, top to bottom, as the commands of the list
// view take them.
using Selection = std::vector<const CLiedkramEntry*>;

}  // namespace view

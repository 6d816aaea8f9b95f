#pragma once

#include <set>
#include <string>

namespace history {

// Clears away what runs killed before their end left behind: the new
// content of a change that never took its file's place, a copy on its way
// to another file system, a kept name of an original that was never
// replaced. Each such change is withdrawn from its set, and the set is
// closed. Sets in open (written by this program) are left alone. Call it
// under the change lock.
void recoverUnfinished(const std::string& dataDirectory, const std::set<int>& open);

}  // namespace history

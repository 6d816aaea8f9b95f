#pragma once

#include "view/selection.h"

#include <cstdint>
#include <string>

namespace view {

// The four sums over the selected entries.
struct ListStatistics {
    std::int64_t titles = 0;
    std::int64_t bytes = 0;
    std::int64_t milliseconds = 0;
    // Each entry's bitrate times its length, truncated to whole bits before it is added.
    std::int64_t bits = 0;
};

ListStatistics sumStatistics(const Selection& entries);

// The text of the statistics box (UTF-8): count, total size and length, the
// average size and length per title and the length-weighted average bitrate.
// Averages that would divide by zero show as 0.
std::string statisticsText(const ListStatistics& sums);

// Shows the statistics of the entries in a message.
void showStatistics(const Selection& entries);

}  // namespace view

#pragma once

#include "view/selection.h"

#include <cstdint>
#include <vector>

namespace view {

// The playlist: each entry's full path (directory, separator, file name)
// on a line of its own, ended by CR LF.
std::vector<std::uint8_t> playlistBytes(const Selection& entries);

// The name list: each entry's file name on a line of its own, ended by CR LF.
std::vector<std::uint8_t> nameListBytes(const Selection& entries);

}  // namespace view

#include "view/cover_canvas.h"

#include <algorithm>
#include <limits>

namespace view {

int clampToInt(std::int64_t value)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace view

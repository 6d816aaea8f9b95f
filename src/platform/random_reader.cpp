#include "platform/random_reader.h"

#include <algorithm>

namespace platform {

std::size_t MemoryReader::readAt(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= bytes_.size())
        return 0;
    const auto available = bytes_.subspan(static_cast<std::size_t>(offset));
    const std::size_t count = std::min(available.size(), buffer.size());
    std::copy_n(available.begin(), count, buffer.begin());
    return count;
}

}  // namespace platform

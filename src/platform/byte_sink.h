#pragma once

#include <cstdint>
#include <span>

namespace platform {

// Where bytes are written in order: an open file, or anything that looks at
// them on their way.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace platform

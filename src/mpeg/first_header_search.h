#pragma once

#include "mpeg/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mpeg {

// How much of a file the search for the first frame header reads.
inline constexpr std::size_t kHeaderSearchBytes = 131072;
// Positions from here on are not tried.
inline constexpr std::size_t kHeaderSearchLimit = 131070;

struct FoundHeader {
    std::size_t position;
    HeaderWord word;
};

// The first accepted header at or after start within the bytes read from
// the start of a file whose frame is followed by the next one (or reaches
// past the bytes read).
std::optional<FoundHeader> findFirstHeader(std::span<const std::uint8_t> firstBytes, std::size_t start);

}  // namespace mpeg

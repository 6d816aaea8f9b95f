#pragma once

#include "view/cover_canvas.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace view {

// A 54-byte header, 1407 rows of 5400 bytes and two closing zero bytes.
inline constexpr std::size_t kCoverBitmapSize = 7597856;

// The 24-bit bitmap file of the cover from its pixels as a canvas reads
// them (rows from the top, red, green, blue): rows from the bottom, blue,
// green, red. Throws std::invalid_argument when the pixels are not those of
// a whole cover.
std::vector<std::uint8_t> coverBitmapBytes(std::span<const std::uint8_t> rgbRows);

// Writes the canvas's picture as the bitmap file at path; a file that cannot
// be created is reported. Returns whether the file was written.
bool writeCoverBitmap(const CoverCanvas& canvas, const std::string& path);

}  // namespace view

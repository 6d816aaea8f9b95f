#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tags {

// How much of the file the picture is taken from.
inline constexpr std::size_t kPictureProbeSize = 16384;
// First frames of this size or more are not shown.
inline constexpr std::size_t kMaxPictureFrameSize = 16300;

// The picture of a tag whose first frame is a picture with a nine-character
// MIME type and no description: its data starts at offset 33. Nothing when
// the frame is too large; never more bytes than were read.
std::optional<std::span<const std::uint8_t>> id3v2PictureBytes(std::span<const std::uint8_t> firstBytes);

}  // namespace tags

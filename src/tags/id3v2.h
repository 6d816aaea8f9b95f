#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tags {

inline constexpr std::size_t kId3v2HeaderSize = 10;

// The size of the whole ID3v2 tag (version 2.2, 2.3 or 2.4) whose header the
// bytes begin with: the header, the declared size and, for version 2.4 when
// flagged, the footer. Nothing when they begin with no well-formed header.
std::optional<std::uint64_t> id3v2TagSize(std::span<const std::uint8_t> header);

// Whether every frame of the whole tag (header to footer) lies within it:
// the extended header and each frame header's size, walked up to the
// padding (a zero byte or anything that is no frame name), never run past
// the tag's end. Only the sizes are looked at; a
// version 2.4 tag may give them syncsafe or, as some taggers wrongly write
// them, plain.
bool id3v2FramesFit(std::span<const std::uint8_t> tag);

// The whole tag without its picture frames, for reading the other frames
// without copying pictures: the same header (without the footer flag, the
// size of what is left), extended header and frames, no padding. Nothing
// when it holds no picture or its frames cannot be told apart by their
// sizes alone (a version 2.3 tag unsynchronised whole, frames that run over).
std::optional<std::vector<std::uint8_t>> withoutPictures(std::span<const std::uint8_t> tag);

// Only ID3v2.3 tags are recognised: "ID3" and major version 3.
bool startsWithId3v23(std::span<const std::uint8_t> firstBytes);

// The content size of the tag's first frame (its low 16 bits).
std::size_t id3v2FirstFrameSize(std::span<const std::uint8_t> firstBytes);

// Where the search for the first frame header begins when the tag's declared
// size cannot be trusted: behind the first frame of an ID3v2.3 tag, else at 0.
std::size_t headerSearchStart(std::span<const std::uint8_t> firstBytes);

}  // namespace tags

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tags {

// Only ID3v2.3 tags are recognised: "ID3" and major version 3.
bool startsWithId3v23(std::span<const std::uint8_t> firstBytes);

// The content size of the tag's first frame (its low 16 bits).
std::size_t id3v2FirstFrameSize(std::span<const std::uint8_t> firstBytes);

// Where the search for the first frame header begins: behind the tag's first
// frame for an ID3v2.3 tag, else at 0. Later frames of the tag are passed
// over by the search itself.
std::size_t headerSearchStart(std::span<const std::uint8_t> firstBytes);

}  // namespace tags

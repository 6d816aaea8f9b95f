#pragma once

#include "mpeg/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace mpeg {

// The shortest and the longest frame an accepted header gives: MPEG-2
// Layer III at 8 kbit/s and 24000 Hz, MPEG-1 Layer II at 384 kbit/s and
// 32000 Hz with padding.
inline constexpr int kMinFrameLength = 24;
inline constexpr int kMaxFrameLength = 1729;
// Some encoders write a frame two bytes longer than its header says: the
// next header then lies two bytes behind the frame's end.
inline constexpr int kFrameSlip = 2;
// Bytes behind a position that always hold a whole frame, the slip and the
// next header: what a walk must see to follow the chain from there.
inline constexpr std::size_t kFollowBytes = kMaxFrameLength + kFrameSlip + 4;

// The length of the frame an accepted header starts, the one definition the
// scan, the rewrite and every chain check follow; 0 for four bytes that are
// no accepted header.
int acceptedFrameLength(HeaderWord word);

// Where the frame behind the one of `length` bytes at `at` begins: at its end
// or, after a slip, two bytes on. Nothing when neither holds an accepted
// header of the same stream as `word`, or the bytes do not reach that far.
std::optional<std::size_t> nextFrameAt(std::span<const std::uint8_t> bytes, std::size_t at, HeaderWord word,
                                       int length);

// Whether an accepted header at `at` begins a frame of the stream: its frame
// ends at the end of the bytes (endIsFinal: where the audio ends), or the
// next frame follows it. Only this lets a walk take up the chain again
// behind damage, since a header-like pair of bytes is common in other data.
bool beginsFollowedFrame(std::span<const std::uint8_t> bytes, std::size_t at, bool endIsFinal);

// The first position at or after from where a followed frame begins.
std::optional<std::size_t> findFollowedFrame(std::span<const std::uint8_t> bytes, std::size_t from, bool endIsFinal);

}  // namespace mpeg

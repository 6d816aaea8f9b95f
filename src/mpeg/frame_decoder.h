#pragma once

#include <cstdint>
#include <optional>
#include <span>

struct mpg123_handle_struct;

namespace mpeg {

// Samples this close to zero (of 32767) cannot be heard: about -60 dBFS.
inline constexpr int kInaudibleAmplitude = 32;

// Decodes frames as a player does (libmpg123, no gapless trimming), one
// whole frame at a time in stream order, so that a frame's data in the bytes
// of the frames before it and the overlap of the frame before are heard.
class FrameDecoder {
public:
    // Throws std::runtime_error when no decoder can be made.
    FrameDecoder();
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // Forgets every frame fed: the next one starts a stream.
    void restart();
    // The largest distance from zero of the samples the frame decodes to;
    // nothing when it gives no samples.
    std::optional<int> loudestSample(std::span<const std::uint8_t> frame);

private:
    mpg123_handle_struct* handle_ = nullptr;
};

}  // namespace mpeg

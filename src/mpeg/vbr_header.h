#pragma once

#include "mpeg/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mpeg {

// The first frame of most files is no audio but a header that players read
// the stream's length and seek table from: Xing (variable bitrate), Info
// (constant bitrate, the same layout), or VBRI (Fraunhofer). Decoders skip
// it; it must stay the first frame and tell the truth about the frames
// behind it.
enum class VbrKind { Xing, Info, Vbri };

struct VbrHeader {
    VbrKind kind = VbrKind::Xing;
    // Offsets within the frame; 0 where the field is missing.
    std::size_t framesAt = 0;
    std::size_t bytesAt = 0;
    std::size_t tocAt = 0;
    std::size_t lameAt = 0;  // the LAME tag behind a Xing or Info header
    std::uint32_t frames = 0;  // the audio frames behind this one
    std::uint32_t bytes = 0;  // this frame and the audio frames behind it
    // VBRI's table: entries, each the bytes of framesPerEntry frames divided by scale.
    int tocEntries = 0;
    int tocScale = 0;
    int tocEntrySize = 0;
    int framesPerEntry = 0;
};

// The header a whole frame carries, if any.
std::optional<VbrHeader> findVbrHeader(std::span<const std::uint8_t> frame);

// What the stream behind the header frame is once a repair has cut frames.
struct KeptStream {
    std::vector<std::uint32_t> frameOffsets;  // of every audio frame, from the header frame's start
    std::uint32_t bytes = 0;  // header frame and audio frames
    std::uint32_t framesCutBefore = 0;  // frames that stood between the header frame and the first kept one
    std::uint32_t framesCutBehind = 0;  // frames cut behind the last kept one
};

// Writes the kept stream's frame count, byte count and seek table into the
// header frame, and takes the samples of cut frames off the encoder delay
// and padding of its LAME tag.
void describeKeptStream(std::span<std::uint8_t> frame, const VbrHeader& header, const KeptStream& kept);

// The LAME tag's check word over the frame's bytes in front of it: whether
// it is right, and making it right after the frame's bytes changed.
bool hasValidLameCheck(std::span<const std::uint8_t> frame, const VbrHeader& header);
void sealLameTag(std::span<std::uint8_t> frame, const VbrHeader& header);

}  // namespace mpeg

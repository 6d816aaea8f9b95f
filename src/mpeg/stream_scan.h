#pragma once

#include "mpeg/frame_damage.h"

#include <optional>

namespace platform {
class RandomReader;
}

namespace mpeg {

inline constexpr int kScanBlockSize = 16384;
// Silence and music are judged in the first and the last this many bytes.
inline constexpr int kJudgedRegion = 150000;
// Damage within this many bytes of the start, before the music, moves the
// audio start behind it.
inline constexpr int kFrontDamageLimit = 65536;

// How frames are found silent. The filler bytes of a frame are a cheap first
// look; only a decoder hears the data a frame keeps in the frames before it.
enum class SilenceRule {
    Decoded,  // the bytes propose, the decoder decides
    BytesOnly,  // the first look alone (for comparing the cost)
};

enum class ScanOutcome {
    Music,
    Damaged,  // music, but frames could not be followed in the middle
    NoMusic,  // no three music frames in a row, or nothing left of them
};

struct ScanResult {
    ScanOutcome outcome = ScanOutcome::NoMusic;
    // Damage in the middle, also where it left no music.
    std::optional<FrameDamage> damage;
    int audioStart = 0;
    int audioEnd = 0;
    // Of the audio frames between audioStart and audioEnd; a Xing, Info or
    // VBRI frame is no audio frame.
    int lengthMs = 0;
    int bitrate = 0;  // duration-weighted average, bit/s
    int frames = 0;
};

// Walks every frame between audioStart and audioEnd in blocks: follows the
// frame chain across damaged spots, moves the start behind leading silence
// and damage in front of the music, the end before trailing silence and
// behind the last good frame, and sums length and bitrate over the frames
// of the audio that remains.
ScanResult scanBlocks(platform::RandomReader& file, int audioStart, int audioEnd,
                      SilenceRule rule = SilenceRule::Decoded);

}  // namespace mpeg

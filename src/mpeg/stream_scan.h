#pragma once

#include <string>
#include <string_view>

namespace platform {
class RandomReader;
}

namespace mpeg {

inline constexpr int kScanBlockSize = 16384;
// Bytes read behind each block so that a header starting in its last three
// bytes is seen whole.
inline constexpr int kScanLookAhead = 3;
// Silence and music are judged in the first and the last this many bytes.
inline constexpr int kJudgedRegion = 150000;
// Damage within this many bytes of the start moves the audio start behind it.
inline constexpr int kFrontDamageLimit = 65536;

struct ScanResult {
    int audioStart = 0;
    int audioEnd = 0;
    int lengthMs = 0;
    int bitrate = 0;  // duration-weighted average, bit/s
    int frames = 0;
    bool started = false;  // three music frames in a row were found
    bool damaged = false;  // frames could not be followed in the middle
    std::string damageMessage;
};

// Walks every frame between audioStart and audioEnd in blocks: follows the
// frame chain across damaged spots, moves the start behind leading silence
// and damage near the start, the end before trailing silence and damage near
// the end, and sums length and bitrate over the counted frames. fileName
// goes into the damage message.
ScanResult scanBlocks(platform::RandomReader& file, int audioStart, int audioEnd, std::string_view fileName);

}  // namespace mpeg

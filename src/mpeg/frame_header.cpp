#include "mpeg/frame_header.h"

namespace mpeg {

namespace {

using Row = std::array<int, 16>;

// kbit/s by bitrate index; index 0 is free format, 15 is forbidden.
// clang-format off
constexpr Row kMpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0};
constexpr Row kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
constexpr Row kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr Row kMpeg2Layer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0};
constexpr Row kMpeg2Layer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};

// Hz by version (rows) and sample-rate index (columns).
constexpr std::array<std::array<int, 4>, 4> kSampleRates = {{
    {11025, 12000, 8000, -1},
    {-1, -1, -1, -1},
    {22050, 24000, 16000, -1},
    {44100, 48000, 32000, -1},
}};

constexpr std::array<const char*, 4> kVersionTexts = {"mpeg-2.5 ", "?? ", "mpeg-2.0 ", "mpeg-1.0 "};
constexpr std::array<const char*, 4> kLayerTexts = {"??", "layer-3", "layer-2", "layer-1"};
constexpr std::array<const char*, 4> kModeTexts = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
constexpr std::array<const char*, 4> kEmphasisTexts = {"no emphasis", "50/15 ms", "??", "CITT j.17"};
// clang-format on

constexpr HeaderWord kCopyrightMask = 1u << 27;
constexpr HeaderWord kOriginalMask = 1u << 26;

}  // namespace

HeaderWord headerWordFromBytes(std::span<const std::uint8_t, 4> bytes)
{
    return static_cast<HeaderWord>(bytes[0]) | static_cast<HeaderWord>(bytes[1]) << 8 |
           static_cast<HeaderWord>(bytes[2]) << 16 | static_cast<HeaderWord>(bytes[3]) << 24;
}

std::array<std::uint8_t, 4> headerBytes(HeaderWord word)
{
    return {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
            static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
}

bool isAcceptedHeader(HeaderWord word)
{
    const auto b0 = static_cast<unsigned>(word & 0xFF);
    const auto b1 = static_cast<unsigned>((word >> 8) & 0xFF);
    const auto b2 = static_cast<unsigned>((word >> 16) & 0xFF);
    const auto b3 = static_cast<unsigned>(word >> 24);
    if (b0 != 0xFF)
        return false;
    if (!((b1 >= 0xFA || b1 == 0xF3) && b1 != 0xFE && b1 != 0xFC))
        return false;
    if (((b2 >> 2) & 3) == 3)
        return false;
    if (b2 < 0x10)
        return false;
    // Index 15 is forbidden by the standard and has no bitrate.
    if ((b2 >> 4) == 15)
        return false;
    if (b3 == 0xFF)
        return false;
    return (b3 & 3) != 2;
}

bool isMpegHeader(HeaderWord word)
{
    if ((word & 0xE0FFu) != 0xE0FFu)
        return false;
    return versionField(word) != 1 && layerField(word) != 0 && bitrateIndex(word) != 15 && sampleRateIndex(word) != 3 &&
           emphasisField(word) != 2;
}

bool isSameStreamKind(HeaderWord a, HeaderWord b)
{
    // Byte 1 holds sync, version, layer and protection; byte 2 bits 2-3 the sample rate.
    constexpr HeaderWord kKindMask = 0x000CFF00u;
    return (a & kKindMask) == (b & kKindMask) && (bitrateIndex(a) == 0) == (bitrateIndex(b) == 0);
}

int bitrateKbps(HeaderWord word)
{
    const int version = versionField(word);
    const int index = bitrateIndex(word);
    if (version == 1)
        return 0;
    switch (layerField(word)) {
    case kLayer1:
        return version == kVersion1 ? kMpeg1Layer1[index] : kMpeg2Layer1[index];
    case kLayer2:
        return version == kVersion1 ? kMpeg1Layer2[index] : kMpeg2Layer23[index];
    case kLayer3:
        return version == kVersion1 ? kMpeg1Layer3[index] : kMpeg2Layer23[index];
    default:
        return 0;
    }
}

int sampleRate(HeaderWord word)
{
    return kSampleRates[versionField(word)][sampleRateIndex(word)];
}

int coefficientK(HeaderWord word)
{
    switch (layerField(word)) {
    case kLayer1:
        return 48000;
    case kLayer2:
        return 144000;
    case kLayer3:
        return versionField(word) == kVersion1 ? 144000 : 72000;
    default:
        return 0;
    }
}

int frameLength(HeaderWord word)
{
    const int kbps = bitrateKbps(word);
    const int rate = sampleRate(word);
    const int k = coefficientK(word);
    if (kbps == 0 || rate <= 0 || k == 0)
        return 0;
    if (layerField(word) == kLayer1)
        return 4 * (kbps * 12000 / rate + paddingBit(word));
    return kbps * k / rate + paddingBit(word);
}

double frameDurationMs(HeaderWord word)
{
    const int rate = sampleRate(word);
    if (rate <= 0)
        return 0.0;
    return static_cast<double>(coefficientK(word)) * 8.0 / rate;
}

const char* versionText(int version)
{
    return kVersionTexts[version & 3];
}
const char* layerText(int layer)
{
    return kLayerTexts[layer & 3];
}
const char* channelModeText(int mode)
{
    return kModeTexts[mode & 3];
}
const char* emphasisText(int emphasis)
{
    return kEmphasisTexts[emphasis & 3];
}

HeaderWord withCopyrightBit(HeaderWord word, bool set)
{
    return set ? (word | kCopyrightMask) : (word & ~kCopyrightMask);
}

HeaderWord withOriginalBit(HeaderWord word, bool set)
{
    return set ? (word | kOriginalMask) : (word & ~kOriginalMask);
}

}  // namespace mpeg

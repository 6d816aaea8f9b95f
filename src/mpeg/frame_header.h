#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace mpeg {

// The four bytes of a frame header as a little-endian word: file byte 0 in
// bits 0-7, byte 1 in bits 8-15, byte 2 in bits 16-23, byte 3 in bits 24-31.
using HeaderWord = std::uint32_t;

inline constexpr int kVersion25 = 0;
inline constexpr int kVersion2 = 2;
inline constexpr int kVersion1 = 3;
inline constexpr int kLayer3 = 1;
inline constexpr int kLayer2 = 2;
inline constexpr int kLayer1 = 3;
inline constexpr int kMono = 3;  // the channel mode of a single channel

HeaderWord headerWordFromBytes(std::span<const std::uint8_t, 4> bytes);
std::array<std::uint8_t, 4> headerBytes(HeaderWord word);

// Whether four bytes are a frame header the program accepts: MPEG-1 Layer III
// (with or without CRC), MPEG-1 Layer II and Layer I and MPEG-2 Layer III
// without CRC; no free format, no reserved sample rate or emphasis.
bool isAcceptedHeader(HeaderWord word);
// Whether four bytes are a frame header of any MPEG audio stream: every
// version and layer, with or without CRC, free format included. The
// program recognises such streams but processes only the accepted ones.
bool isMpegHeader(HeaderWord word);
// Whether two headers belong to frames of one stream: same version, layer,
// protection and sample rate, both free format or neither.
bool isSameStreamKind(HeaderWord a, HeaderWord b);

// The header's fields, inline: the walk takes them for every frame.
inline int headerField(HeaderWord word, int shift, int width)
{
    return static_cast<int>((word >> shift) & ((1u << width) - 1));
}
inline int versionField(HeaderWord word)
{
    return headerField(word, 11, 2);
}
inline int layerField(HeaderWord word)
{
    return headerField(word, 9, 2);
}
inline int protectionBit(HeaderWord word)
{
    return headerField(word, 8, 1);
}
inline int bitrateIndex(HeaderWord word)
{
    return headerField(word, 20, 4);
}
inline int sampleRateIndex(HeaderWord word)
{
    return headerField(word, 18, 2);
}
inline int paddingBit(HeaderWord word)
{
    return headerField(word, 17, 1);
}
inline int channelMode(HeaderWord word)
{
    return headerField(word, 30, 2);
}
inline int copyrightBit(HeaderWord word)
{
    return headerField(word, 27, 1);
}
inline int originalBit(HeaderWord word)
{
    return headerField(word, 26, 1);
}
inline int emphasisField(HeaderWord word)
{
    return headerField(word, 24, 2);
}

// kbit/s from the standard's tables; 0 for free format, index 15 and
// reserved versions or layers.
int bitrateKbps(HeaderWord word);
// Hz; -1 for the reserved version or sample-rate index.
int sampleRate(HeaderWord word);
// Samples per frame times 125; 0 for a reserved layer.
int coefficientK(HeaderWord word);
// Bytes, Layer I in 4-byte slots; 0 where bitrate or sample rate is missing.
int frameLength(HeaderWord word);
// Milliseconds; 0.0 where the sample rate is missing.
double frameDurationMs(HeaderWord word);

const char* versionText(int version);
const char* layerText(int layer);
const char* channelModeText(int mode);
const char* emphasisText(int emphasis);

HeaderWord withCopyrightBit(HeaderWord word, bool set);
HeaderWord withOriginalBit(HeaderWord word, bool set);

}  // namespace mpeg

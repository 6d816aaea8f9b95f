#pragma once

#include "mpeg/frame_header.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

// The fields of a frame header; the defaults give FF FB 90 44
// (MPEG-1 Layer III, no CRC, 128 kbit/s, 44100 Hz, joint stereo, original).
struct HeaderSpec {
    int version = mpeg::kVersion1;
    int layer = mpeg::kLayer3;
    bool crc = false;
    int bitrateIndex = 9;
    int sampleRateIndex = 0;
    bool padding = false;
    bool privateBit = false;
    int mode = 1;
    int modeExtension = 0;
    bool copyright = false;
    bool original = true;
    int emphasis = 0;
};

std::array<std::uint8_t, 4> headerBytes(const HeaderSpec& kind);
mpeg::HeaderWord headerWord(const HeaderSpec& kind);

// Music has no filler bytes (0x00, 0xFF, 0x55, 0xAA) at all; silence is
// made of one filler byte.
enum class Payload { Music, Silence };

// One whole frame: the header, then payload bytes up to the frame length.
Bytes frame(const HeaderSpec& kind, Payload payload = Payload::Music, std::uint8_t filler = 0x00);
// Music-like bytes that contain no filler byte (and so no sync byte).
Bytes musicBytes(std::size_t count, std::uint32_t seed = 1);
// count frames in a row; music frames differ from each other.
Bytes frames(const HeaderSpec& kind, int count, Payload payload = Payload::Music, std::uint8_t filler = 0x00);

// An ID3v2 tag header (major version as given) whose first frame has
// contentSize bytes of content, followed by that content.
Bytes id3v2Tag(std::uint8_t majorVersion, std::size_t contentSize, std::uint8_t contentByte = 0x11);

struct Id3v1Fields {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    int track = -1;  // -1: a plain 30-byte comment
    std::uint8_t genre = 255;
};

// A 128-byte tag; fields padded with NUL bytes; a track goes into byte 126
// behind a NUL in byte 125.
Bytes id3v1Tag(const Id3v1Fields& fields);

void append(Bytes& to, const Bytes& more);

}  // namespace testsupport

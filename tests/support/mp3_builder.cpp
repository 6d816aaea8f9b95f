#include "support/mp3_builder.h"

#include <algorithm>
#include <stdexcept>

namespace testsupport {

std::array<std::uint8_t, 4> headerBytes(const HeaderSpec& kind)
{
    const auto b1 = static_cast<std::uint8_t>(0xE0 | kind.version << 3 | kind.layer << 1 | (kind.crc ? 0 : 1));
    const auto b2 = static_cast<std::uint8_t>(kind.bitrateIndex << 4 | kind.sampleRateIndex << 2 |
                                              (kind.padding ? 2 : 0) | (kind.privateBit ? 1 : 0));
    const auto b3 = static_cast<std::uint8_t>(kind.mode << 6 | kind.modeExtension << 4 | (kind.copyright ? 8 : 0) |
                                              (kind.original ? 4 : 0) | kind.emphasis);
    return {0xFF, b1, b2, b3};
}

mpeg::HeaderWord headerWord(const HeaderSpec& kind)
{
    const auto bytes = headerBytes(kind);
    return mpeg::headerWordFromBytes(bytes);
}

Bytes musicBytes(std::size_t count, std::uint32_t seed)
{
    Bytes bytes;
    bytes.reserve(count);
    std::uint32_t state = seed * 2654435761u + 1;
    while (bytes.size() < count) {
        state = state * 1664525u + 1013904223u;
        const auto b = static_cast<std::uint8_t>(state >> 24);
        if (b != 0x00 && b != 0xFF && b != 0x55 && b != 0xAA)
            bytes.push_back(b);
    }
    return bytes;
}

Bytes frame(const HeaderSpec& kind, Payload payload, std::uint8_t filler)
{
    const auto header = headerBytes(kind);
    const int length = mpeg::frameLength(mpeg::headerWordFromBytes(header));
    if (length < 4)
        throw std::invalid_argument("header has no frame length");
    Bytes bytes(header.begin(), header.end());
    const auto rest = static_cast<std::size_t>(length) - 4;
    if (payload == Payload::Music)
        append(bytes, musicBytes(rest, static_cast<std::uint32_t>(length)));
    else
        bytes.insert(bytes.end(), rest, filler);
    return bytes;
}

Bytes frames(const HeaderSpec& kind, int count, Payload payload, std::uint8_t filler)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
        Bytes one = frame(kind, payload, filler);
        if (payload == Payload::Music) {
            const Bytes varied = musicBytes(one.size() - 4, static_cast<std::uint32_t>(i) + 7);
            std::copy(varied.begin(), varied.end(), one.begin() + 4);
        }
        append(bytes, one);
    }
    return bytes;
}

Bytes id3v2Tag(std::uint8_t majorVersion, std::size_t contentSize, std::uint8_t contentByte)
{
    const std::size_t tagSize = 10 + contentSize;
    Bytes tag = {'I', 'D', '3', majorVersion, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.push_back(static_cast<std::uint8_t>((tagSize >> shift) & 0x7F));
    const Bytes frameHeader = {'A',
                               'P',
                               'I',
                               'C',
                               static_cast<std::uint8_t>(contentSize >> 24),
                               static_cast<std::uint8_t>(contentSize >> 16),
                               static_cast<std::uint8_t>(contentSize >> 8),
                               static_cast<std::uint8_t>(contentSize),
                               0,
                               0};
    append(tag, frameHeader);
    tag.insert(tag.end(), contentSize, contentByte);
    return tag;
}

namespace {

void putText(Bytes& tag, std::size_t offset, std::size_t width, const std::string& text)
{
    std::copy_n(text.begin(), std::min(width, text.size()), tag.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

Bytes id3v1Tag(const Id3v1Fields& fields)
{
    Bytes tag(128, 0);
    putText(tag, 0, 3, "TAG");
    putText(tag, 3, 30, fields.title);
    putText(tag, 33, 30, fields.artist);
    putText(tag, 63, 30, fields.album);
    putText(tag, 93, 4, fields.year);
    if (fields.track >= 0) {
        putText(tag, 97, 28, fields.comment);
        tag[125] = 0;
        tag[126] = static_cast<std::uint8_t>(fields.track);
    } else {
        putText(tag, 97, 30, fields.comment);
    }
    tag[127] = fields.genre;
    return tag;
}

void append(Bytes& to, const Bytes& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace testsupport

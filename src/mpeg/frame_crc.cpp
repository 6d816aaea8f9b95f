#include "mpeg/frame_crc.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace mpeg {

namespace {

constexpr std::uint16_t kPolynomial = 0x8005;
constexpr std::size_t kHeaderSize = 4;

std::uint16_t checkOver(HeaderWord word, std::span<const std::uint8_t> sideInformation)
{
    const auto header = headerBytes(word);
    const std::array<std::uint8_t, 2> covered = {header[2], header[3]};
    return crc16(sideInformation, crc16(covered));
}

}  // namespace

std::size_t sideInformationSize(HeaderWord word)
{
    if (layerField(word) != kLayer3)
        return 0;
    const bool mono = channelMode(word) == kMono;
    if (versionField(word) == kVersion1)
        return mono ? 17 : 32;
    return mono ? 9 : 17;
}

std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc)
{
    for (const std::uint8_t byte : bytes) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ kPolynomial : crc << 1);
    }
    return crc;
}

void updateFrameCrc(std::span<std::uint8_t> frame, HeaderWord oldWord, HeaderWord newWord)
{
    const std::size_t side = sideInformationSize(newWord);
    assert(side > 0 && frame.size() >= kHeaderSize + kCrcSize + side);
    const auto sideInformation = frame.subspan(kHeaderSize + kCrcSize, side);
    const auto change =
        static_cast<std::uint16_t>(checkOver(oldWord, sideInformation) ^ checkOver(newWord, sideInformation));
    const auto stored = static_cast<std::uint16_t>(frame[kHeaderSize] << 8 | frame[kHeaderSize + 1]);
    const auto updated = static_cast<std::uint16_t>(stored ^ change);
    frame[kHeaderSize] = static_cast<std::uint8_t>(updated >> 8);
    frame[kHeaderSize + 1] = static_cast<std::uint8_t>(updated);
}

}  // namespace mpeg

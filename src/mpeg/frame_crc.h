#pragma once

#include "mpeg/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace mpeg {

// Bytes behind the header that a CRC-protected frame's check word occupies.
inline constexpr std::size_t kCrcSize = 2;

// Where the side information (or, for other layers, the audio data) begins:
// behind the four header bytes and, in a CRC-protected frame, the check word.
inline std::size_t sideInformationStart(HeaderWord word)
{
    return 4 + (protectionBit(word) == 0 ? kCrcSize : 0);
}

// How many bytes of Layer III side information follow the header and the
// check word: 17 or 32 for MPEG-1 (mono or not), 9 or 17 for MPEG-2 and
// MPEG-2.5. 0 for other layers, whose check covers more than is fixed here.
std::size_t sideInformationSize(HeaderWord word);

// CRC-16 with the polynomial 0x8005 as MPEG audio frames use it.
std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0xFFFF);

// The frame begins with a CRC-protected Layer III header whose word was
// oldWord and becomes newWord: its check word, which covers header bytes 2
// and 3 and the side information, is changed by exactly what the header
// change gives, so a correct check stays correct and a wrong one stays as
// wrong as it was. The frame must hold the header, the check word and the
// side information.
void updateFrameCrc(std::span<std::uint8_t> frame, HeaderWord oldWord, HeaderWord newWord);

}  // namespace mpeg

#pragma once

#include "mpeg/frame_header.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace mpeg {

// Where frames could not be followed: the spot two bytes behind the miss,
// the word read there and the frame length it was taken for.
struct FrameDamage {
    std::int64_t offset = 0;
    HeaderWord word = 0;
    int frameLength = 0;
};

// The message of damage in the middle of a listed file.
std::string listedDespiteDamageText(std::string_view fileName, const FrameDamage& damage);
// The message of damage a repair could not walk across.
std::string repairDamageText(const FrameDamage& damage);

}  // namespace mpeg

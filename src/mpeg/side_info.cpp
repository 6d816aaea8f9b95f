#include "mpeg/side_info.h"

#include "mpeg/frame_crc.h"
#include "platform/byte_reader.h"

#include <cstddef>
#include <cstring>

namespace mpeg {

namespace {

// Every granule of every channel codes neither scale factors nor spectral
// values: part2_3_length and big_values are 0. side is the whole side
// information.
bool codesNoBits(const platform::ByteReader& side, bool mpeg1, int channels)
{
    // main_data_begin, private bits and the scale factor selection.
    const int leading = mpeg1 ? 9 + (channels == 1 ? 5 : 3) + 4 * channels : 8 + channels;
    // part2_3_length and big_values, then global gain, scale factor
    // compression, the block and table fields and the closing flags.
    const int perChannel = mpeg1 ? 12 + 9 + 8 + 4 + 1 + 22 + 3 : 12 + 9 + 8 + 9 + 1 + 22 + 2;
    constexpr int kCodedLengthBits = 12 + 9;
    const int granules = mpeg1 ? 2 : 1;
    for (int i = 0; i < granules * channels; ++i) {
        // The four bytes from the field's first one hold it whole, and lie
        // within the side information for every layout.
        const auto bit =
            static_cast<std::size_t>(leading) + static_cast<std::size_t>(i) * static_cast<std::size_t>(perChannel);
        const std::uint32_t window = side.u32be(bit / 8);
        if ((window >> (32 - bit % 8 - kCodedLengthBits) & ((1U << kCodedLengthBits) - 1)) != 0)
            return false;
    }
    return true;
}

bool zerosBehind(std::span<const std::uint8_t> frame, std::size_t fixed)
{
    if (frame.size() <= fixed)
        return frame.size() == fixed;
    const auto rest = frame.subspan(fixed);
    // Each byte equal to the next and the first zero: all zeros, at the speed of memcmp.
    return rest[0] == 0 && std::memcmp(rest.data(), rest.data() + 1, rest.size() - 1) == 0;
}

}  // namespace

FrameContent frameContent(std::span<const std::uint8_t> frame, HeaderWord word)
{
    // Called for every frame near the ends of the audio: each field of the
    // header is taken once.
    const std::size_t fixed = sideInformationStart(word);
    const std::size_t sideSize = sideInformationSize(word);
    if (sideSize == 0 || frame.size() < fixed + sideSize)
        return {zerosBehind(frame, fixed), 0};
    const auto side = frame.subspan(fixed, sideSize);
    const bool mpeg1 = versionField(word) == kVersion1;
    const int begin = mpeg1 ? side[0] << 1 | side[1] >> 7 : side[0];
    // A Layer III frame of zeros codes no bits either.
    return {codesNoBits(platform::ByteReader(side), mpeg1, channelMode(word) == kMono ? 1 : 2), begin};
}

}  // namespace mpeg

#include "platform/byte_writer.h"

#include <bit>

namespace platform {

void ByteWriter::u16(std::uint16_t value)
{
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::f64(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void ByteWriter::bytes(std::span<const std::uint8_t> more)
{
    bytes_.insert(bytes_.end(), more.begin(), more.end());
}

void ByteWriter::text(std::string_view more)
{
    for (const char c : more)
        bytes_.push_back(static_cast<std::uint8_t>(c));
}

void ByteWriter::zeros(std::size_t count)
{
    bytes_.insert(bytes_.end(), count, 0);
}

}  // namespace platform

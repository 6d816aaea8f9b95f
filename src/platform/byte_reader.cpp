#include "platform/byte_reader.h"

#include <string>

namespace platform {

OutOfBytes::OutOfBytes(std::uint64_t offset, std::uint64_t count, std::uint64_t size)
    : std::out_of_range("read of " + std::to_string(count) + " bytes at " + std::to_string(offset) +
                        " past the end of " + std::to_string(size) + " bytes")
{
}

void ByteReader::throwOutOfBytes(std::size_t offset, std::size_t count) const
{
    throw OutOfBytes(offset, count, bytes_.size());
}

std::uint16_t ByteReader::u16be(std::size_t offset) const
{
    require(offset, 2);
    return static_cast<std::uint16_t>(bytes_[offset] << 8 | bytes_[offset + 1]);
}

std::uint16_t ByteReader::u16le(std::size_t offset) const
{
    require(offset, 2);
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

std::int16_t ByteReader::i16le(std::size_t offset) const
{
    return static_cast<std::int16_t>(u16le(offset));
}

std::int32_t ByteReader::i32le(std::size_t offset) const
{
    return static_cast<std::int32_t>(u32le(offset));
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t offset, std::size_t count) const
{
    require(offset, count);
    return bytes_.subspan(offset, count);
}

void ByteCursor::seek(std::size_t position)
{
    reader_.bytes(position, 0);
    at_ = position;
}

}  // namespace platform

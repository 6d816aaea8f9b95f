#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace platform {

// Thrown when a parser asks for bytes the buffer does not hold.
class OutOfBounds : public std::out_of_range {
public:
    OutOfBounds(std::size_t offset, std::size_t count, std::size_t size);
};

// Reads numbers at absolute offsets of a byte buffer. Every read is checked
// against the buffer's size; a read past the end throws OutOfBounds.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    bool has(std::size_t offset, std::size_t count) const
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    std::uint8_t u8(std::size_t offset) const
    {
        require(offset, 1);
        return bytes_[offset];
    }
    std::uint16_t u16be(std::size_t offset) const;
    std::uint16_t u16le(std::size_t offset) const;
    std::int16_t i16le(std::size_t offset) const;
    std::uint32_t u32le(std::size_t offset) const
    {
        require(offset, 4);
        return static_cast<std::uint32_t>(bytes_[offset]) | static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
    }
    std::int32_t i32le(std::size_t offset) const;
    std::uint32_t u32be(std::size_t offset) const
    {
        require(offset, 4);
        return static_cast<std::uint32_t>(bytes_[offset]) << 24 | static_cast<std::uint32_t>(bytes_[offset + 1]) << 16 |
               static_cast<std::uint32_t>(bytes_[offset + 2]) << 8 | static_cast<std::uint32_t>(bytes_[offset + 3]);
    }
    std::span<const std::uint8_t> bytes(std::size_t offset, std::size_t count) const;

private:
    void require(std::size_t offset, std::size_t count) const
    {
        if (!has(offset, count))
            throwOutOfBounds(offset, count);
    }
    [[noreturn]] void throwOutOfBounds(std::size_t offset, std::size_t count) const;

    std::span<const std::uint8_t> bytes_;
};

}  // namespace platform

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace platform {

// The one error for running out of bytes: a read past the end of a buffer,
// of a list file's records or of a file that ends before the bytes it was
// to hold. Whoever must word that for the user catches it in one place.
class OutOfBytes : public std::out_of_range {
public:
    // count bytes were asked for at offset, where the data hold size bytes.
    OutOfBytes(std::uint64_t offset, std::uint64_t count, std::uint64_t size);
};

// Reads numbers at absolute offsets of a byte buffer. Every read is checked
// against the buffer's size; a read past the end throws OutOfBytes.
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
            throwOutOfBytes(offset, count);
    }
    [[noreturn]] void throwOutOfBytes(std::size_t offset, std::size_t count) const;

    std::span<const std::uint8_t> bytes_;
};

// Reads numbers one after the other from a byte buffer, as records are laid
// out: every read moves behind what it read. A read past the end throws
// OutOfBytes and leaves the position where it was.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : reader_(bytes) {}

    std::size_t size() const { return reader_.size(); }
    std::size_t position() const { return at_; }
    std::size_t remaining() const { return reader_.size() - at_; }

    std::uint8_t u8() { return advance(reader_.u8(at_), 1); }
    std::uint16_t u16le() { return advance(reader_.u16le(at_), 2); }
    std::int16_t i16le() { return advance(reader_.i16le(at_), 2); }
    std::uint32_t u32le() { return advance(reader_.u32le(at_), 4); }
    std::span<const std::uint8_t> bytes(std::size_t count) { return advance(reader_.bytes(at_, count), count); }
    void skip(std::size_t count) { bytes(count); }
    // Moves to a position within the buffer (its end included).
    void seek(std::size_t position);

private:
    template <typename T>
    T advance(T value, std::size_t count)
    {
        at_ += count;
        return value;
    }

    ByteReader reader_;
    std::size_t at_ = 0;
};

}  // namespace platform

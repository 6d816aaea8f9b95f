#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// Appends little-endian numbers and raw bytes to a growing buffer: the list
// file's records and the output formats are built with it.
class ByteWriter {
public:
    void reserve(std::size_t count) { bytes_.reserve(count); }

    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    // The IEEE 754 double, 8 bytes.
    void f64(double value);
    void bytes(std::span<const std::uint8_t> more);
    // The text's bytes as they are, without a terminator.
    void text(std::string_view more);
    void zeros(std::size_t count);

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& data() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace platform

#pragma once

#include "platform/byte_writer.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace entry {

// A list file that ends early or claims more than it holds.
class ArchiveFormatError : public std::runtime_error {
public:
    ArchiveFormatError() : std::runtime_error("Unexpected file format.") {}
};

// Writes little-endian numbers and length-prefixed strings into a buffer.
class ArchiveWriter {
public:
    void writeI32(std::int32_t value);
    void writeU32(std::uint32_t value);
    void writeU8(std::uint8_t value);
    // 1-byte length below 255, 0xFF and a 2-byte length below 65534, else
    // 0xFF 0xFF 0xFF and a 4-byte length; then the bytes.
    void writeString(std::string_view text);

    const std::vector<std::uint8_t>& bytes() const { return bytes_.data(); }

private:
    platform::ByteWriter bytes_;
};

// Reads what ArchiveWriter writes; strings may also come as UTF-16 (marked by
// 0xFF 0xFE 0xFF), which are turned into Windows-1252. Reading past the end
// throws ArchiveFormatError.
class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int32_t readI32();
    std::uint32_t readU32();
    std::uint8_t readU8();
    std::string readString();

    std::size_t remaining() const { return bytes_.size() - at_; }
    std::size_t position() const { return at_; }

private:
    std::span<const std::uint8_t> take(std::size_t count);
    std::uint64_t readLength(bool& utf16);

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace entry

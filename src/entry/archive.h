#pragma once

#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class RandomReader;
}

namespace entry {

// Bytes that are no list records although enough of them are there: a
// string with two UTF-16 marks, bytes behind the last record. Data that end
// early throw platform::OutOfBytes instead.
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
// throws platform::OutOfBytes.
class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) : window_(bytes), size_(bytes.size()) {}
    // Reads size bytes of the source piece by piece as the records are read,
    // so a long list file is never held whole. A failing read throws what
    // the source throws.
    ArchiveReader(platform::RandomReader& source, std::uint64_t size) : source_(&source), size_(size) {}

    std::int32_t readI32();
    std::uint32_t readU32();
    std::uint8_t readU8();
    std::string readString();

    std::size_t remaining() const { return static_cast<std::size_t>(size_ - position()); }
    std::size_t position() const { return static_cast<std::size_t>(windowStart_ + window_.position()); }

private:
    // The bytes at hand, holding at least the next count bytes; what is
    // read from it is valid until the next call.
    platform::ByteCursor& ahead(std::uint64_t count);
    void refill(std::size_t count);
    std::uint64_t readLength(bool& utf16);

    platform::RandomReader* source_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    platform::ByteCursor window_{{}};
    std::uint64_t windowStart_ = 0;  // where the bytes at hand stand in the data
    std::uint64_t size_ = 0;
};

}  // namespace entry

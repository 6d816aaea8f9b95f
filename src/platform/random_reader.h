#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// Bytes read by offset: an open file, or the bytes of a file read whole.
class RandomReader {
public:
    virtual ~RandomReader() = default;
    // Reads at an offset; returns the bytes read, fewer at the end.
    virtual std::size_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) = 0;
};

// A file already in memory, so the parsers that take a file read no more.
class MemoryReader final : public RandomReader {
public:
    explicit MemoryReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t readAt(std::int64_t offset, std::span<std::uint8_t> buffer) override;

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace platform

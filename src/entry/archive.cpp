#include "entry/archive.h"

#include "platform/random_reader.h"
#include "platform/text.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace entry {

namespace {

constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kUtf16Mark = 0xFFFE;
constexpr std::uint16_t kWideLength = 0xFFFF;
// How much of a list file is read at a time.
constexpr std::size_t kPieceSize = 1 << 20;

}  // namespace

void ArchiveWriter::writeU32(std::uint32_t value)
{
    bytes_.u32(value);
}

void ArchiveWriter::writeI32(std::int32_t value)
{
    writeU32(static_cast<std::uint32_t>(value));
}

void ArchiveWriter::writeU8(std::uint8_t value)
{
    bytes_.u8(value);
}

void ArchiveWriter::writeString(std::string_view text)
{
    const std::size_t length = text.size();
    if (length < kLongLength) {
        writeU8(static_cast<std::uint8_t>(length));
    } else if (length < kUtf16Mark) {
        writeU8(kLongLength);
        bytes_.u16(static_cast<std::uint16_t>(length));
    } else {
        writeU8(kLongLength);
        bytes_.u16(kWideLength);
        writeU32(static_cast<std::uint32_t>(length));
    }
    bytes_.text(text);
}

platform::ByteCursor& ArchiveReader::ahead(std::uint64_t count)
{
    if (count > remaining())
        throw platform::OutOfBytes(position(), count, size_);
    if (count > window_.remaining())
        refill(static_cast<std::size_t>(count));
    return window_;
}

void ArchiveReader::refill(std::size_t count)
{
    // Only a reader with a source can run out of bytes at hand before the end.
    assert(source_);
    const std::uint64_t start = position();
    std::vector<std::uint8_t> piece(std::min(remaining(), std::max(kPieceSize, count)));
    piece.resize(source_->readAt(static_cast<std::int64_t>(start), piece));
    // The data ended early: the file shrank while it was read.
    if (piece.size() < count)
        throw platform::OutOfBytes(start, count, start + piece.size());
    buffer_ = std::move(piece);
    window_ = platform::ByteCursor(buffer_);
    windowStart_ = start;
}

std::uint32_t ArchiveReader::readU32()
{
    return ahead(4).u32le();
}

std::int32_t ArchiveReader::readI32()
{
    return static_cast<std::int32_t>(readU32());
}

std::uint8_t ArchiveReader::readU8()
{
    return ahead(1).u8();
}

std::uint64_t ArchiveReader::readLength(bool& utf16)
{
    const std::uint8_t first = readU8();
    if (first < kLongLength)
        return first;
    const std::uint16_t word = ahead(2).u16le();
    if (word == kUtf16Mark) {
        // Only one mark may come; a second would be no string of ours.
        if (utf16)
            throw ArchiveFormatError();
        utf16 = true;
        return readLength(utf16);
    }
    if (word < kWideLength)
        return word;
    return readU32();
}

std::string ArchiveReader::readString()
{
    bool utf16 = false;
    const std::uint64_t length = readLength(utf16);
    // A length the rest of the data cannot hold fails before anything is allocated.
    platform::ByteCursor& window = ahead(utf16 ? length * 2 : length);
    if (!utf16) {
        const auto text = window.bytes(static_cast<std::size_t>(length));
        return std::string(reinterpret_cast<const char*>(text.data()), text.size());
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(length));
    for (std::uint64_t i = 0; i < length; ++i)
        text.push_back(platform::cp1252FromCodePoint(window.u16le()));
    return text;
}

}  // namespace entry

#include "entry/archive.h"

#include "platform/byte_reader.h"
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

std::span<const std::uint8_t> ArchiveReader::take(std::size_t count)
{
    if (count > remaining())
        throw ArchiveFormatError();
    if (count > window_.size() - at_)
        refill(count);
    const auto part = window_.subspan(at_, count);
    at_ += count;
    return part;
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
        throw ArchiveFormatError();
    buffer_ = std::move(piece);
    window_ = buffer_;
    windowStart_ = start;
    at_ = 0;
}

std::uint32_t ArchiveReader::readU32()
{
    return platform::ByteReader(take(4)).u32le(0);
}

std::int32_t ArchiveReader::readI32()
{
    return static_cast<std::int32_t>(readU32());
}

std::uint8_t ArchiveReader::readU8()
{
    return take(1)[0];
}

std::uint64_t ArchiveReader::readLength(bool& utf16)
{
    const std::uint8_t first = readU8();
    if (first < kLongLength)
        return first;
    const std::uint16_t word = platform::ByteReader(take(2)).u16le(0);
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
    if (!utf16) {
        // A length the rest of the file cannot hold fails before anything is allocated.
        const auto text = take(static_cast<std::size_t>(std::min<std::uint64_t>(length, remaining() + 1)));
        return std::string(reinterpret_cast<const char*>(text.data()), text.size());
    }
    if (length > remaining() / 2)
        throw ArchiveFormatError();
    const auto units = take(static_cast<std::size_t>(length) * 2);
    std::string text;
    text.reserve(static_cast<std::size_t>(length));
    const platform::ByteReader reader(units);
    for (std::size_t i = 0; i < units.size(); i += 2)
        text.push_back(platform::cp1252FromCodePoint(reader.u16le(i)));
    return text;
}

}  // namespace entry

#include "entry/archive.h"

#include "platform/text.h"

namespace entry {

namespace {

constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kUtf16Mark = 0xFFFE;
constexpr std::uint16_t kWideLength = 0xFFFF;

}  // namespace

void ArchiveWriter::writeU32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ArchiveWriter::writeI32(std::int32_t value)
{
    writeU32(static_cast<std::uint32_t>(value));
}

void ArchiveWriter::writeU8(std::uint8_t value)
{
    bytes_.push_back(value);
}

void ArchiveWriter::writeString(std::string_view text)
{
    const std::size_t length = text.size();
    if (length < kLongLength) {
        writeU8(static_cast<std::uint8_t>(length));
    } else if (length < kUtf16Mark) {
        writeU8(kLongLength);
        writeU8(static_cast<std::uint8_t>(length));
        writeU8(static_cast<std::uint8_t>(length >> 8));
    } else {
        writeU8(kLongLength);
        writeU8(0xFF);
        writeU8(0xFF);
        writeU32(static_cast<std::uint32_t>(length));
    }
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

std::span<const std::uint8_t> ArchiveReader::take(std::size_t count)
{
    if (count > remaining())
        throw ArchiveFormatError();
    const auto part = bytes_.subspan(at_, count);
    at_ += count;
    return part;
}

std::uint32_t ArchiveReader::readU32()
{
    const auto b = take(4);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
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
    const auto b = take(2);
    const auto word = static_cast<std::uint16_t>(b[0] | b[1] << 8);
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
    for (std::size_t i = 0; i < units.size(); i += 2)
        text.push_back(platform::cp1252FromCodePoint(static_cast<char32_t>(units[i] | units[i + 1] << 8)));
    return text;
}

}  // namespace entry

#include "tags/taglib_memory.h"

#include "platform/text.h"
#include "tags/id3v2.h"

namespace tags {

namespace {

constexpr std::size_t kFooterSize = 10;
constexpr char kFooterFlag = 0x10;

// TagLib counts a version 2.4 footer into the frames' room and so loses the
// last frame of a tag that has one: it is given the tag without it.
TagLib::ByteVector withoutFooter(std::span<const std::uint8_t> tagBytes)
{
    const bool footer =
        tagBytes.size() >= kId3v2HeaderSize + kFooterSize && tagBytes[3] == 4 && (tagBytes[5] & kFooterFlag) != 0;
    const std::size_t size = tagBytes.size() - (footer ? kFooterSize : 0);
    TagLib::ByteVector data(reinterpret_cast<const char*>(tagBytes.data()), static_cast<unsigned>(size));
    if (footer)
        data[5] = static_cast<char>(data[5] & ~kFooterFlag);
    return data;
}

}  // namespace

TagLibMemoryTag::TagLibMemoryTag(std::span<const std::uint8_t> tagBytes)
    : data_(withoutFooter(tagBytes)), stream_(data_), file_(&stream_)
{
    // A header that is cut short, or that declares more than the bytes hold,
    // is no tag to read.
    const auto size = id3v2TagSize(tagBytes);
    if (size && *size <= tagBytes.size())
        tag_ = std::make_unique<TagLib::ID3v2::Tag>(&file_, 0, TagLib::ID3v2::FrameFactory::instance());
}

std::string toCp1252(const TagLib::String& text)
{
    return platform::utf8ToCp1252(text.to8Bit(true));
}

TagLib::String fromCp1252(std::string_view text)
{
    return TagLib::String(platform::cp1252ToUtf8(text), TagLib::String::UTF8);
}

}  // namespace tags

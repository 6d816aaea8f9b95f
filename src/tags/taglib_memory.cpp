#include "tags/taglib_memory.h"

#include "platform/text.h"
#include "tags/id3v2.h"

namespace tags {

TagLibMemoryTag::TagLibMemoryTag(std::span<const std::uint8_t> tagBytes)
    : data_(reinterpret_cast<const char*>(tagBytes.data()), static_cast<unsigned>(tagBytes.size())), stream_(data_)
{
    // A header that is cut short, or that declares more than the bytes hold,
    // is no tag to read.
    const auto size = id3v2TagSize(tagBytes);
    if (size && *size <= tagBytes.size())
        file_ = std::make_unique<TagLib::MPEG::File>(&stream_, TagLib::ID3v2::FrameFactory::instance(), false);
}

TagLib::ID3v2::Tag* TagLibMemoryTag::tag() const
{
    if (!file_ || !file_->isValid() || !file_->hasID3v2Tag())
        return nullptr;
    return file_->ID3v2Tag();
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

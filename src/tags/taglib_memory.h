#pragma once

#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tags {

// The bytes of a tag as the file TagLib reads it from: no kind of file of
// its own, so nothing but the tag is looked for.
class TagBytesFile final : public TagLib::File {
public:
    explicit TagBytesFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

// An ID3v2 tag read by TagLib from bytes in memory; the audio behind it is
// not needed and not read.
class TagLibMemoryTag {
public:
    explicit TagLibMemoryTag(std::span<const std::uint8_t> tagBytes);

    // Nothing when TagLib found no tag in the bytes.
    TagLib::ID3v2::Tag* tag() const { return tag_.get(); }

private:
    TagLib::ByteVector data_;
    TagLib::ByteVectorStream stream_;
    TagBytesFile file_;
    std::unique_ptr<TagLib::ID3v2::Tag> tag_;
};

struct Id3v2Fields;
// The fields of a tag TagLib has read (defined with the reading of fields).
Id3v2Fields id3v2FieldsOf(const TagLib::ID3v2::Tag& tag);

// TagLib texts and the entry's Windows-1252 bytes.
std::string toCp1252(const TagLib::String& text);
TagLib::String fromCp1252(std::string_view text);

}  // namespace tags

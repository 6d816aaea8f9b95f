#include "tags/id3v2_fields.h"

#include "platform/text.h"
#include "tags/genre_list.h"
#include "tags/taglib_memory.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/textidentificationframe.h>

#include <cctype>

namespace tags {

namespace {

constexpr int kMaxTrack = 255;

std::string firstText(const TagLib::ID3v2::Tag& tag, const char* frameId)
{
    const auto& frames = tag.frameList(frameId);
    if (frames.isEmpty())
        return {};
    return toCp1252(frames.front()->toString());
}

std::string plainComment(const TagLib::ID3v2::Tag& tag)
{
    for (auto* frame : tag.frameList("COMM")) {
        const auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
        if (comment && comment->description().isEmpty())
            return toCp1252(comment->text());
    }
    return {};
}

// The genre frame's first text: TagLib has turned "(17)" and "(17)Rock" of
// older versions into "17" already.
int frameGenre(const TagLib::ID3v2::Tag& tag)
{
    const auto& frames = tag.frameList("TCON");
    if (frames.isEmpty())
        return kNoGenre;
    const auto* text = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(frames.front());
    if (!text || text->fieldList().isEmpty())
        return kNoGenre;
    return genreOfText(toCp1252(text->fieldList().front()));
}

// The front cover, else the first picture; a picture frame TagLib could not
// read (an encrypted one) is none.
const TagLib::ID3v2::AttachedPictureFrame* chosenPicture(const TagLib::ID3v2::Tag& tag)
{
    const TagLib::ID3v2::AttachedPictureFrame* chosen = nullptr;
    for (auto* frame : tag.frameList("APIC")) {
        const auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
        if (!picture)
            continue;
        if (!chosen || (picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover &&
                        chosen->type() != TagLib::ID3v2::AttachedPictureFrame::FrontCover))
            chosen = picture;
    }
    return chosen;
}

bool allDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

}  // namespace

int genreOfText(const std::string& text)
{
    std::string inner = text;
    if (inner.size() > 2 && inner.front() == '(' && inner.back() == ')')
        inner = inner.substr(1, inner.size() - 2);
    if (allDigits(inner)) {
        if (inner.size() > 3)
            return kNoGenre;
        const int number = std::stoi(inner);
        return number <= kLastGenre ? number : kNoGenre;
    }
    for (int genre = 0; genre <= kLastGenre; ++genre) {
        if (platform::equalsIgnoreAsciiCase(inner, genreName(genre)))
            return genre;
    }
    return kNoGenre;
}

std::uint8_t trackOfText(const std::string& text)
{
    int track = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        track = track * 10 + (text[i] - '0');
        if (track > kMaxTrack)
            return 0;
    }
    return static_cast<std::uint8_t>(track);
}

std::optional<Id3v2Fields> readId3v2Fields(std::span<const std::uint8_t> tagBytes)
{
    const TagLibMemoryTag memory(tagBytes);
    const TagLib::ID3v2::Tag* tag = memory.tag();
    if (!tag)
        return std::nullopt;
    return id3v2FieldsOf(*tag);
}

Id3v2Fields id3v2FieldsOf(const TagLib::ID3v2::Tag& tag)
{
    Id3v2Fields fields;
    fields.majorVersion = static_cast<int>(tag.header()->majorVersion());
    fields.title = firstText(tag, "TIT2");
    fields.artist = firstText(tag, "TPE1");
    fields.album = firstText(tag, "TALB");
    fields.comment = plainComment(tag);
    const unsigned year = tag.year();
    if (year > 0 && year <= 9999)
        fields.year = static_cast<int>(year);
    fields.genre = frameGenre(tag);
    fields.track = trackOfText(firstText(tag, "TRCK"));
    fields.hasPicture = chosenPicture(tag) != nullptr;
    return fields;
}

std::optional<Id3v2Picture> readId3v2Picture(std::span<const std::uint8_t> tagBytes)
{
    const TagLibMemoryTag memory(tagBytes);
    const TagLib::ID3v2::Tag* tag = memory.tag();
    if (!tag)
        return std::nullopt;
    const TagLib::ID3v2::AttachedPictureFrame* chosen = chosenPicture(*tag);
    if (!chosen)
        return std::nullopt;
    const TagLib::ByteVector data = chosen->picture();
    Id3v2Picture result;
    result.mimeType = chosen->mimeType().to8Bit(true);
    result.data.assign(data.begin(), data.end());
    return result;
}

}  // namespace tags

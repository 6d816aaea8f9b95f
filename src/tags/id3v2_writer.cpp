#include "tags/id3v2_writer.h"

#include "platform/text.h"
#include "tags/genre_list.h"
#include "tags/id3v2_fields.h"
#include "tags/taglib_memory.h"

#include <taglib/commentsframe.h>

namespace tags {

namespace {

TagLib::ID3v2::CommentsFrame* plainCommentFrame(const TagLib::ID3v2::Tag& tag)
{
    for (auto* frame : tag.frameList("COMM")) {
        auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
        if (comment && comment->description().isEmpty())
            return comment;
    }
    return nullptr;
}

TagLib::String plainCommentText(const TagLib::ID3v2::Tag& tag)
{
    const auto* comment = plainCommentFrame(tag);
    return comment ? comment->text() : TagLib::String();
}

void setComment(TagLib::ID3v2::Tag& tag, std::string_view text)
{
    TagLib::ID3v2::CommentsFrame* plain = plainCommentFrame(tag);
    if (text.empty()) {
        if (plain)
            tag.removeFrame(plain);
        return;
    }
    if (!plain) {
        auto frame = std::make_unique<TagLib::ID3v2::CommentsFrame>();
        // An ID3v1 comment has no language.
        frame->setLanguage("XXX");
        plain = frame.get();
        tag.addFrame(frame.release());
    }
    plain->setText(fromCp1252(text));
}

// The entry holds at most this many bytes of a text: a longer one it has
// not changed when it holds its beginning.
constexpr std::size_t kEntryTextLength = 255;

bool unchanged(std::string_view was, std::string_view now)
{
    return was.substr(0, kEntryTextLength) == now;
}

// Whether Windows-1252 holds the text whole.
bool fitsCp1252(const TagLib::String& text)
{
    const std::string utf8 = text.to8Bit(true);
    return platform::cp1252ToUtf8(platform::utf8ToCp1252(utf8)) == utf8;
}

// Replaces the frames of the fields that differ from what the tag gives;
// returns whether any did.
bool putFields(TagLib::ID3v2::Tag& tag, const Id3v2Fields& old, const Id3v1Content& fields,
               std::vector<const char*>& lost)
{
    bool changed = false;
    const auto text = [&](const char* name, const TagLib::String& frame, const std::string& was, std::string_view now,
                          const auto& set) {
        if (unchanged(was, now))
            return;
        if (!fitsCp1252(frame))
            lost.push_back(name);
        set(fromCp1252(now));
        changed = true;
    };
    text("Title", tag.title(), old.title, fields.title, [&](const TagLib::String& t) { tag.setTitle(t); });
    text("Artist", tag.artist(), old.artist, fields.artist, [&](const TagLib::String& t) { tag.setArtist(t); });
    text("Album", tag.album(), old.album, fields.album, [&](const TagLib::String& t) { tag.setAlbum(t); });
    text("Comment", plainCommentText(tag), old.comment, fields.comment,
         [&](const TagLib::String&) { setComment(tag, fields.comment); });
    if (old.year != fields.year) {
        tag.setYear(fields.year == kNoYear || fields.year < 0 ? 0 : static_cast<unsigned>(fields.year));
        changed = true;
    }
    if (old.genre != fields.genre) {
        if (fields.genre == kNoGenre)
            tag.removeFrames("TCON");
        else
            tag.setGenre(fromCp1252(genreName(fields.genre)));
        changed = true;
    }
    if (old.track != fields.track) {
        tag.setTrack(fields.track);
        changed = true;
    }
    return changed;
}

std::vector<std::uint8_t> bytesOf(const TagLib::ByteVector& rendered)
{
    return std::vector<std::uint8_t>(rendered.begin(), rendered.end());
}

}  // namespace

BuiltId3v2 buildId3v2(std::span<const std::uint8_t> oldTag, const Id3v1Content& fields)
{
    BuiltId3v2 built;
    const TagLibMemoryTag memory(oldTag);
    if (TagLib::ID3v2::Tag* tag = memory.tag()) {
        const Id3v2Fields old = id3v2FieldsOf(*tag);
        const bool changed = putFields(*tag, old, fields, built.lostCharacters);
        const int version = old.majorVersion;
        if (!changed && version >= 3)
            built.bytes.assign(oldTag.begin(), oldTag.end());
        else
            built.bytes = bytesOf(tag->render(version == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3));
        return built;
    }
    TagLib::ID3v2::Tag fresh;
    putFields(fresh, Id3v2Fields{}, fields, built.lostCharacters);
    built.bytes = bytesOf(fresh.render(TagLib::ID3v2::v3));
    return built;
}

std::vector<const char*> fieldsBeyondCp1252(std::span<const std::uint8_t> tag)
{
    std::vector<const char*> fields;
    const TagLibMemoryTag memory(tag);
    const TagLib::ID3v2::Tag* read = memory.tag();
    if (!read)
        return fields;
    const std::pair<const char*, TagLib::String> texts[] = {{"Title", read->title()},
                                                            {"Artist", read->artist()},
                                                            {"Album", read->album()},
                                                            {"Comment", plainCommentText(*read)}};
    for (const auto& [name, text] : texts) {
        if (!fitsCp1252(text))
            fields.push_back(name);
    }
    return fields;
}

}  // namespace tags

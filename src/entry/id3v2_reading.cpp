#include "entry/id3v2_reading.h"

#include "entry/liedkram_entry.h"
#include "platform/random_reader.h"
#include "tags/genre_list.h"
#include "tags/id3v2.h"
#include "tags/id3v2_fields.h"

#include <algorithm>
#include <string_view>

namespace entry {

namespace {

// The widths an ID3v1 text field is cut to: 30, and for the comment 29 or
// 28 when a track number stands behind it.
constexpr std::size_t kTextWidths[] = {30};
constexpr std::size_t kCommentWidths[] = {28, 29, 30};

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The ID3v1 text is the ID3v2 text cut to the tag's field and read back as
// the tag is read, without blanks at the end.
bool isCutFrom(std::string_view id3v1, std::string_view id3v2, std::span<const std::size_t> widths)
{
    return std::any_of(widths.begin(), widths.end(),
                       [&](std::size_t width) { return withoutTrailingBlanks(id3v2.substr(0, width)) == id3v1; });
}

bool takeText(TextField& field, const std::string& id3v2, bool hadId3v1, std::span<const std::size_t> widths,
              bool& dirty)
{
    if (id3v2.empty())
        return false;
    const bool missing = !hadId3v1 || field.empty();
    if (!missing && !isCutFrom(field.view(), id3v2, widths))
        return false;
    dirty = dirty || (hadId3v1 && field.empty());
    field = id3v2;
    return true;
}

template <typename T>
void takeNumber(T& field, T id3v2, T none, bool hadId3v1, bool& dirty)
{
    if (id3v2 == none || (hadId3v1 && field != none))
        return;
    dirty = dirty || hadId3v1;
    field = id3v2;
}

}  // namespace

std::vector<std::uint8_t> frontTagBytes(platform::RandomReader& file, std::int64_t fileSize,
                                        std::span<const std::uint8_t> first)
{
    const auto size = tags::id3v2TagSize(first);
    if (!size || *size > static_cast<std::uint64_t>(fileSize))
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
    const std::size_t known = std::min(bytes.size(), first.size());
    std::copy_n(first.begin(), known, bytes.begin());
    // Only what the first bytes lack is read.
    const auto rest = std::span(bytes).subspan(known);
    if (!rest.empty() && file.readAt(static_cast<std::int64_t>(known), rest) != rest.size())
        return {};
    return bytes;
}

TakenTexts mergeId3v2Into(CLiedkramEntry& entry, const tags::Id3v2Fields& fields, bool hadId3v1)
{
    bool dirty = false;
    TakenTexts taken;
    taken.title = takeText(entry.m_szTitle, fields.title, hadId3v1, kTextWidths, dirty);
    taken.artist = takeText(entry.m_szArtist, fields.artist, hadId3v1, kTextWidths, dirty);
    taken.album = takeText(entry.m_szAlbum, fields.album, hadId3v1, kTextWidths, dirty);
    taken.comment = takeText(entry.m_szComment, fields.comment, hadId3v1, kCommentWidths, dirty);
    takeNumber(entry.m_nYear, fields.year, tags::kNoYear, hadId3v1, dirty);
    takeNumber(entry.m_nGenre, fields.genre, tags::kNoGenre, hadId3v1, dirty);
    takeNumber(entry.m_nTrack, fields.track, std::uint8_t{0}, hadId3v1, dirty);
    if (dirty)
        entry.m_nFlags |= ENTRY_TAG_DIRTY;
    return taken;
}

}  // namespace entry

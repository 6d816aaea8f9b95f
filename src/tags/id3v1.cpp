#include "tags/id3v1.h"

#include "platform/byte_reader.h"
#include "tags/genre_list.h"

#include <algorithm>

namespace tags {

namespace {

constexpr std::size_t kTitleOffset = 3;
constexpr std::size_t kArtistOffset = 33;
constexpr std::size_t kAlbumOffset = 63;
constexpr std::size_t kYearOffset = 93;
constexpr std::size_t kCommentOffset = 97;
constexpr std::size_t kTrackMarkOffset = 125;
constexpr std::size_t kTrackOffset = 126;
constexpr std::size_t kGenreOffset = 127;
constexpr std::size_t kTextWidth = 30;
constexpr std::size_t kYearWidth = 4;

// Blanks at the end go, but a NUL stops their removal; the text then ends
// at its first NUL.
std::string readTextField(const platform::ByteReader& tag, std::size_t offset, std::size_t width)
{
    const auto field = tag.bytes(offset, width);
    std::size_t end = field.size();
    while (end > 0 && field[end - 1] == ' ')
        --end;
    std::size_t length = 0;
    while (length < end && field[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(field.data()), length);
}

bool isCSpace(std::uint8_t c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The year bytes read the way atoi reads them.
int readYearNumber(const platform::ByteReader& tag)
{
    const auto field = tag.bytes(kYearOffset, kYearWidth);
    std::size_t i = 0;
    while (i < field.size() && isCSpace(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    int value = 0;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
        value = value * 10 + (field[i] - '0');
        ++i;
    }
    return negative ? -value : value;
}

void putField(std::array<std::uint8_t, kId3v1Size>& tag, std::size_t offset, std::size_t width, std::string_view text)
{
    const std::size_t count = std::min(width, text.size());
    std::copy_n(text.begin(), count, tag.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

std::array<std::uint8_t, kId3v1Size> buildId3v1(const Id3v1Content& content)
{
    std::array<std::uint8_t, kId3v1Size> tag{};
    putField(tag, 0, 3, "TAG");
    putField(tag, kTitleOffset, kTextWidth, content.title);
    putField(tag, kArtistOffset, kTextWidth, content.artist);
    putField(tag, kAlbumOffset, kTextWidth, content.album);
    if (content.year != kNoYear)
        putField(tag, kYearOffset, kYearWidth, std::to_string(content.year));
    putField(tag, kCommentOffset, kTextWidth - 1, content.comment);
    tag[kTrackOffset] = content.track;
    tag[kGenreOffset] = static_cast<std::uint8_t>(content.genre & 0xFF);
    return tag;
}

std::optional<Id3v1Tag> parseId3v1(std::span<const std::uint8_t> candidate)
{
    if (candidate.size() < kId3v1Size)
        return std::nullopt;
    const platform::ByteReader tag(candidate.first(kId3v1Size));
    if (tag.u8(0) != 'T' || tag.u8(1) != 'A' || tag.u8(2) != 'G')
        return std::nullopt;

    Id3v1Tag result;
    result.genre = tag.u8(kGenreOffset);
    if (result.genre > kLastGenre)
        result.genre = kNoGenre;

    std::size_t commentWidth = kTextWidth;
    const bool bothBlank = tag.u8(kTrackMarkOffset) == ' ' && tag.u8(kTrackOffset) == ' ';
    if (!bothBlank && tag.u8(kTrackOffset) < 100) {
        result.track = tag.u8(kTrackOffset);
        commentWidth = kTextWidth - 1;
    }

    result.comment = readTextField(tag, kCommentOffset, commentWidth);
    result.album = readTextField(tag, kAlbumOffset, kTextWidth);
    result.artist = readTextField(tag, kArtistOffset, kTextWidth);
    result.title = readTextField(tag, kTitleOffset, kTextWidth);

    int year = readYearNumber(tag);
    if (year < 100) {
        year += 1900;
        result.yearWidened = year != kNoYear;
    }
    result.year = year;
    return result;
}

}  // namespace tags

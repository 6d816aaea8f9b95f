#include "support/mp3_builder.h"
#include "tags/id3v1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using testsupport::Bytes;
using testsupport::Id3v1Fields;
using testsupport::id3v1Tag;

namespace {

tags::Id3v1Tag parse(const Bytes& bytes)
{
    const auto tag = tags::parseId3v1(bytes);
    EXPECT_TRUE(tag.has_value());
    return tag.value_or(tags::Id3v1Tag{});
}

void put(Bytes& tag, std::size_t offset, const std::string& text)
{
    std::copy(text.begin(), text.end(), tag.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace

TEST(Id3v1, NoTagWithoutTheMarkOrWithTooFewBytes)
{
    Bytes tag = id3v1Tag({});
    EXPECT_TRUE(tags::parseId3v1(tag).has_value());
    tag[2] = 'X';
    EXPECT_FALSE(tags::parseId3v1(tag).has_value());
    tag[2] = 'G';
    tag.pop_back();
    EXPECT_FALSE(tags::parseId3v1(tag).has_value());
}

TEST(Id3v1, ReadsTheCommonTrackForm)
{
    const auto tag = parse(id3v1Tag({"Song", "Band", "Album", "2001", std::string(28, 'c'), 7, 17}));
    EXPECT_EQ(tag.title, "Song");
    EXPECT_EQ(tag.artist, "Band");
    EXPECT_EQ(tag.album, "Album");
    EXPECT_EQ(tag.comment, std::string(28, 'c'));
    EXPECT_EQ(tag.track, 7);
    EXPECT_EQ(tag.genre, 17);
    EXPECT_EQ(tag.year, 2001);
    EXPECT_FALSE(tag.yearWidened);
}

TEST(Id3v1, TheLastCommentByteDecidesOnTheTrack)
{
    // A 30-character comment ending in "c" (99) reads as track 99.
    auto tag = parse(id3v1Tag({"", "", "", "", std::string(29, 'x') + "c", -1, 0}));
    EXPECT_EQ(tag.track, 99);
    EXPECT_EQ(tag.comment, std::string(29, 'x'));
    // "z" (122) is no track: all 30 characters stay.
    tag = parse(id3v1Tag({"", "", "", "", std::string(29, 'x') + "z", -1, 0}));
    EXPECT_EQ(tag.track, 0);
    EXPECT_EQ(tag.comment, std::string(29, 'x') + "z");
    // Both last bytes blank: no track, the trailing blanks go.
    tag = parse(id3v1Tag({"", "", "", "", "Hello" + std::string(25, ' '), -1, 0}));
    EXPECT_EQ(tag.track, 0);
    EXPECT_EQ(tag.comment, "Hello");
    // Byte 126 NUL with text before it: a 29-byte comment and no track.
    tag = parse(id3v1Tag({"", "", "", "", std::string(28, 'k'), 0, 0}));
    EXPECT_EQ(tag.track, 0);
    EXPECT_EQ(tag.comment, std::string(28, 'k'));
}

TEST(Id3v1, TrailingBlanksGoButNulStopsTheirRemoval)
{
    Bytes raw = id3v1Tag({});
    put(raw, 3, "Hello" + std::string(25, ' '));
    put(raw, 33, "Hello  ");  // 23 NULs follow
    put(raw, 63, std::string(30, ' '));
    const auto tag = parse(raw);
    EXPECT_EQ(tag.title, "Hello");
    EXPECT_EQ(tag.artist, "Hello  ");
    EXPECT_EQ(tag.album, "");
}

TEST(Id3v1, TextsEndAtTheirFirstNul)
{
    Bytes raw = id3v1Tag({});
    const char comment[] = {'a', 'b', '\0', 'c', 'd'};
    std::copy(std::begin(comment), std::end(comment), raw.begin() + 97);
    std::fill(raw.begin() + 3, raw.begin() + 33, 'T');  // a full field has no NUL at all
    const auto tag = parse(raw);
    EXPECT_EQ(tag.comment, "ab");
    EXPECT_EQ(tag.title, std::string(30, 'T'));
}

TEST(Id3v1, YearsAreReadLikeAtoi)
{
    struct Case {
        std::string bytes;
        int year;
        bool widened;
    };
    const Case cases[] = {
        {"1999", 1999, false}, {"99", 1999, true},   {"    ", 1900, false}, {"0", 1900, false},    {"-5", 1895, true},
        {"", 1900, false},     {" 87x", 1987, true}, {"+3", 1903, true},    {"abcd", 1900, false}, {"2k01", 1902, true},
    };
    for (const auto& c : cases) {
        const auto tag = parse(id3v1Tag({"", "", "", c.bytes, "", -1, 0}));
        EXPECT_EQ(tag.year, c.year) << '"' << c.bytes << '"';
        EXPECT_EQ(tag.yearWidened, c.widened) << '"' << c.bytes << '"';
    }
}

TEST(Id3v1, GenresAboveTheListMeanNoGenre)
{
    EXPECT_EQ(parse(id3v1Tag({"", "", "", "", "", -1, 255})).genre, -1);
    EXPECT_EQ(parse(id3v1Tag({"", "", "", "", "", -1, 149})).genre, -1);
    EXPECT_EQ(parse(id3v1Tag({"", "", "", "", "", -1, 148})).genre, 148);
    EXPECT_EQ(parse(id3v1Tag({"", "", "", "", "", -1, 147})).genre, 147);
    EXPECT_EQ(parse(id3v1Tag({"", "", "", "", "", -1, 0})).genre, 0);
}

TEST(Id3v1, KeepsWindows1252Bytes)
{
    const auto tag = parse(id3v1Tag({"Gr\xF6\xDF"
                                     "e",
                                     "M\xFCller", "", "", "", -1, 0}));
    EXPECT_EQ(tag.title, "Gr\xF6\xDF"
                         "e");
    EXPECT_EQ(tag.artist, "M\xFCller");
}

#include "support/tag_builder.h"
#include "tags/id3v2.h"
#include "tags/id3v2_fields.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace testsupport;

namespace {

struct FieldsCase {
    const char* name;
    Bytes tag;
    tags::Id3v2Fields expected;
};

void PrintTo(const FieldsCase& c, std::ostream* out)
{
    *out << c.name;
}

tags::Id3v2Fields fields(int version, std::string title, std::string artist, std::string album, std::string comment,
                         int year, int genre, std::uint8_t track, bool picture = false)
{
    return {version, std::move(title), std::move(artist), std::move(album), std::move(comment), year, genre,
            track,   picture};
}

Bytes cover(std::size_t size)
{
    Bytes data = {0xFF, 0xD8, 0xFF, 0xE0};
    append(data, musicBytes(size - data.size()));
    return data;
}

std::vector<FieldsCase> fieldsCases()
{
    return {
        {"v24_utf8_as_taggers_write_it",
         id3v2Frames(4,
                     {textFrame("TIT2", "Über den Wolken"), textFrame("TPE1", "Kapelle Grün"),
                      textFrame("TALB", "Lieder"), textFrame("TDRC", "2001-05-04"), textFrame("TRCK", "3/12"),
                      textFrame("TCON", "Rock"), commentFrame("", "Schön"), pictureFrame(3, cover(150000))},
                     2048),
         fields(4,
                "\xDC"
                "ber den Wolken",
                "Kapelle Gr\xFCn", "Lieder", "Sch\xF6n", 2001, 17, 3, true)},
        {"v23_utf16_numeric_genre",
         id3v2Frames(3, {textFrame("TIT2", "Café", kUtf16), textFrame("TPE1", "Ærø", kUtf16),
                         textFrame("TYER", "1999", kLatin1), textFrame("TRCK", "7", kLatin1),
                         textFrame("TCON", "(17)", kLatin1), commentFrame("", "€ 5", kUtf16)}),
         fields(3, "Caf\xE9", "\xC6r\xF8", "", "\x80 5", 1999, 17, 7)},
        {"v22_three_letter_frames",
         id3v2Frames(2, {{"TT2", textFrame("", "Alt", kLatin1).content},
                         {"TP1", textFrame("", "Band", kLatin1).content},
                         {"TAL", textFrame("", "Platte", kLatin1).content},
                         {"TYE", textFrame("", "1987", kLatin1).content},
                         {"TRK", textFrame("", "12", kLatin1).content},
                         {"TCO", textFrame("", "(8)", kLatin1).content}}),
         fields(2, "Alt", "Band", "Platte", "", 1987, 8, 12)},
        {"characters_outside_windows_1252",
         id3v2Frames(4, {textFrame("TIT2", "Калинка"), textFrame("TPE1", "Хор и Grün")}),
         fields(4, "???????", "??? ? Gr\xFCn", "", "", 1900, -1, 0)},
        {"only_a_comment_without_description_counts",
         id3v2Frames(3, {commentFrame("iTunNORM", " 0000 0000"), commentFrame("", "Der echte", kLatin1)}),
         fields(3, "", "", "", "Der echte", 1900, -1, 0)},
        {"unknown_genre_and_impossible_track",
         id3v2Frames(3, {textFrame("TCON", "Hörspiel"), textFrame("TRCK", "300/400")}),
         fields(3, "", "", "", "", 1900, -1, 0)},
        {"empty_tag", id3v2Frames(3, {}, 100), fields(3, "", "", "", "", 1900, -1, 0)},
        {"v22_picture_between_texts",
         id3v2Frames(2, {{"TT2", textFrame("", "Alt", kLatin1).content},
                         {"PIC",
                          [] {
                              Bytes pic = {kLatin1, 'J', 'P', 'G', 3, 0};
                              append(pic, cover(4000));
                              return pic;
                          }()},
                         {"TP1", textFrame("", "Band", kLatin1).content}}),
         fields(2, "Alt", "Band", "", "", 1900, -1, 0, true)},
        {"v24_footer_pictures_first",
         id3v2Frames(4,
                     {pictureFrame(4, cover(900)), pictureFrame(3, cover(3000)), textFrame("TIT2", "Titel"),
                      textFrame("TPE1", "Band")},
                     0, true),
         fields(4, "Titel", "Band", "", "", 1900, -1, 0, true)},
    };
}

class Id3v2FieldsRead : public ::testing::TestWithParam<FieldsCase> {};

}  // namespace

TEST_P(Id3v2FieldsRead, AsTheEntryHoldsThem)
{
    const auto& c = GetParam();
    const auto read = tags::readId3v2Fields(c.tag);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->majorVersion, c.expected.majorVersion);
    EXPECT_EQ(read->title, c.expected.title);
    EXPECT_EQ(read->artist, c.expected.artist);
    EXPECT_EQ(read->album, c.expected.album);
    EXPECT_EQ(read->comment, c.expected.comment);
    EXPECT_EQ(read->year, c.expected.year);
    EXPECT_EQ(read->genre, c.expected.genre);
    EXPECT_EQ(read->track, c.expected.track);
    EXPECT_EQ(read->hasPicture, c.expected.hasPicture);

    // Without its pictures the tag gives the same fields, and is a tag still.
    const auto stripped = tags::withoutPictures(c.tag);
    ASSERT_EQ(stripped.has_value(), c.expected.hasPicture);
    if (!stripped)
        return;
    EXPECT_TRUE(tags::id3v2FramesFit(*stripped));
    EXPECT_LT(stripped->size(), c.tag.size());
    const auto again = tags::readId3v2Fields(*stripped);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->majorVersion, read->majorVersion);
    EXPECT_EQ(again->title, read->title);
    EXPECT_EQ(again->artist, read->artist);
    EXPECT_EQ(again->album, read->album);
    EXPECT_EQ(again->comment, read->comment);
    EXPECT_EQ(again->year, read->year);
    EXPECT_EQ(again->genre, read->genre);
    EXPECT_EQ(again->track, read->track);
    EXPECT_FALSE(again->hasPicture);
}

INSTANTIATE_TEST_SUITE_P(Tags, Id3v2FieldsRead, ::testing::ValuesIn(fieldsCases()),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(Id3v2FieldTexts, GenreAndTrackAreReadAsTaggersWriteThem)
{
    EXPECT_EQ(tags::genreOfText("(17)"), 17);
    EXPECT_EQ(tags::genreOfText("17"), 17);
    EXPECT_EQ(tags::genreOfText("Rock"), 17);
    EXPECT_EQ(tags::genreOfText("rock"), 17);
    EXPECT_EQ(tags::genreOfText("none"), 148);
    EXPECT_EQ(tags::genreOfText("Synthpop"), 147);
    EXPECT_EQ(tags::genreOfText("149"), -1);
    EXPECT_EQ(tags::genreOfText("(200)"), -1);
    EXPECT_EQ(tags::genreOfText("00000017"), -1);
    EXPECT_EQ(tags::genreOfText("Rock & Roll"), 78);
    EXPECT_EQ(tags::genreOfText("Krautrock"), -1);
    EXPECT_EQ(tags::genreOfText(""), -1);

    EXPECT_EQ(tags::trackOfText("3/12"), 3);
    EXPECT_EQ(tags::trackOfText("03"), 3);
    EXPECT_EQ(tags::trackOfText("255"), 255);
    EXPECT_EQ(tags::trackOfText("256"), 0);
    EXPECT_EQ(tags::trackOfText("99999999999999999999"), 0);
    EXPECT_EQ(tags::trackOfText("/12"), 0);
    EXPECT_EQ(tags::trackOfText("A1"), 0);
}

TEST(Id3v2Picture, TheFrontCoverElseTheFirstPicture)
{
    const Bytes back = cover(500);
    const Bytes front = cover(700);
    const auto both = tags::readId3v2Picture(
        id3v2Frames(3, {textFrame("TIT2", "x"), pictureFrame(4, back), pictureFrame(3, front, "image/png")}));
    ASSERT_TRUE(both);
    EXPECT_EQ(both->data, front);
    EXPECT_EQ(both->mimeType, "image/png");

    const auto onlyBack = tags::readId3v2Picture(id3v2Frames(4, {pictureFrame(4, back)}));
    ASSERT_TRUE(onlyBack);
    EXPECT_EQ(onlyBack->data, back);

    // Version 2.2 names the format in three letters.
    Bytes pic = {kLatin1, 'J', 'P', 'G', 3, 0};
    append(pic, front);
    const auto old = tags::readId3v2Picture(id3v2Frames(2, {{"PIC", pic}}));
    ASSERT_TRUE(old);
    EXPECT_EQ(old->data, front);

    EXPECT_FALSE(tags::readId3v2Picture(id3v2Frames(3, {textFrame("TIT2", "x")})));
}

TEST(Id3v2Damage, ATagThatCannotBeReadGivesNoFieldsAndNeverReadsPastItsBytes)
{
    Bytes whole = id3v2Frames(3, {textFrame("TIT2", "Ganz"), textFrame("TPE1", "Band"), pictureFrame(3, cover(3000))});
    // Every cut of the tag: the declared sizes then run past the bytes.
    for (std::size_t size = 0; size < whole.size(); size += 97) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const auto read = tags::readId3v2Fields(cut);
        if (read) {
            EXPECT_TRUE(read->title.empty() || read->title == "Ganz") << size;
        }
        tags::readId3v2Picture(cut);
    }
    // A frame whose size runs over the tag's end.
    Bytes over = id3v2Frames(3, {textFrame("TIT2", "Gut"), textFrame("TPE1", "Weg")});
    over[10 + 11 + 4 + 3] = 0x7F;
    const auto read = tags::readId3v2Fields(over);
    if (read) {
        EXPECT_NE(read->artist, "Weg");
    }
    EXPECT_FALSE(tags::readId3v2Fields(Bytes{'I', 'D', '3', 3, 0}));
    EXPECT_FALSE(tags::readId3v2Fields(frames({}, 3)));
}

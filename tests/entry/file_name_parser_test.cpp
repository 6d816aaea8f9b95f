#include "entry/file_name_parser.h"

#include <gtest/gtest.h>

using entry::parseFileName;

namespace {

struct Case {
    const char* name;
    const char* artist;
    const char* title;
};

}  // namespace

TEST(FileNameParser, SplitsArtistAndTitle)
{
    const Case cases[] = {
        {"Artist - Title.mp3", "Artist", "Title"},
        {"the beatles - let it be.mp3", "The Beatles", "Let It Be"},
        {"simon_n_garfunkel_-_the_boxer.mp3", "Simon & Garfunkel", "The Boxer"},
        {"(Artist) Title.mp3", "Artist", "Title"},
        {"[Artist]-Title.mp3", "Artist", "Title"},
        {"Artist-Title.mp3", "Artist", "Title"},
        {"Jay-Z - Song.mp3", "Jay-Z", "Song"},
        {"Title only.mp3", "Title Only", ""},
        {"01 - Artist - Title.mp3", "Artist", "Title"},
        {"01 Artist - Title.mp3", "01 Artist", "Title"},
        {"01-Artist - Title.mp3", "01-Artist", "Title"},
        {"#12 - a - b.mp3", "A", "B"},
        {"Band (live) - Song (remix).mp3", "Band", "Song (remix)"},
        {"a__b  -  c__d.mp3", "A B", "C D"},
        {"rock_n_roll - x_n_y.mp3", "Rock & Roll", "X & Y"},
        {"AC/DC - TNT.mp3", "AC/DC", "TNT"},
        {"mcDONALD - old.mp3", "McDONALD", "Old"},
    };
    for (const auto& c : cases) {
        const auto parts = parseFileName(c.name);
        EXPECT_EQ(parts.artist, c.artist) << c.name;
        EXPECT_EQ(parts.title, c.title) << c.name;
    }
}

TEST(FileNameParser, KeepsWindows1252Letters)
{
    const auto parts = parseFileName("Bj\xF6rk - J\xF3ga.mp3");
    EXPECT_EQ(parts.artist, "Bj\xF6rk");
    EXPECT_EQ(parts.title, "J\xF3ga");
    // Only ASCII letters are capitalised.
    EXPECT_EQ(parseFileName("\xE9mile - x.mp3").artist, "\xE9mile");
}

TEST(FileNameParser, ShortAndOddNamesStayInsideTheText)
{
    const char* odd[] = {"",      "a",         ".mp3", "x.mp3", "-.mp3", "(",           "(abc",       "[a",
                         "01 - ", "01 - .mp3", "a (b", "_-_",   "n_",    " - - - .mp3", "((((((.mp3", "a-b"};
    for (const char* name : odd) {
        const auto parts = parseFileName(name);
        EXPECT_LE(parts.artist.size() + parts.title.size(), std::string_view(name).size()) << name;
    }
    EXPECT_EQ(parseFileName("x.mp3").artist, "X");
    EXPECT_EQ(parseFileName("abc").artist, "");
    // An unclosed "(" in the artist skips to the extension.
    EXPECT_EQ(parseFileName("Band (live.mp3").artist, "Band");
}

#include "document/text_filter.h"
#include "entry/liedkram_entry.h"

#include <gtest/gtest.h>

using document::FoldForSearch;
using document::TextFilter;

namespace {

// Tag texts in Windows-1252, names as the file system has them (UTF-8).
CLiedkramEntry listed(const std::string& file, const std::string& artist, const std::string& title)
{
    CLiedkramEntry entry;
    entry.m_szFileName = file;
    entry.m_szPath = "/home/anna/Musik/Sammlung";
    entry.m_szArtist = artist;
    entry.m_szTitle = title;
    entry.m_szAlbum = "Greatest Hits";
    entry.m_dwHeader = 0x4490FBFF;
    entry.m_nLengthMs = 185000;
    return entry;
}

bool finds(std::string_view typed, const CLiedkramEntry& entry)
{
    return TextFilter(typed).matches(entry);
}

}  // namespace

TEST(TextFilter, EveryWordMustOccurInSomeColumn)
{
    const auto song = listed("beatles-yellow.mp3", "The Beatles", "Yellow Submarine");
    EXPECT_TRUE(finds("yellow", song));
    EXPECT_TRUE(finds("beatles yellow", song));
    EXPECT_TRUE(finds("  submarine\tGREATEST  ", song));
    EXPECT_TRUE(finds("marin", song)) << "a word is found inside a word";
    EXPECT_FALSE(finds("yellow stones", song));
    EXPECT_FALSE(finds("stones", song));
}

TEST(TextFilter, NoWordFindsEverything)
{
    const auto song = listed("a.mp3", "", "");
    for (const char* typed : {"", "   ", "\t", "-", " ' . ! "}) {
        EXPECT_TRUE(TextFilter(typed).empty()) << typed;
        EXPECT_TRUE(finds(typed, song)) << typed;
    }
    // A mark beside real words asks for nothing more.
    EXPECT_TRUE(finds("a.mp3 -", song));
}

TEST(TextFilter, AWordDoesNotReachFromOneColumnIntoTheNext)
{
    const auto song = listed("x.mp3", "Ab", "Cd");
    EXPECT_TRUE(finds("ab", song));
    EXPECT_TRUE(finds("cd", song));
    EXPECT_FALSE(finds("abcd", song));
    EXPECT_FALSE(finds("cdab", song));
    EXPECT_FALSE(finds("bc", song));
}

TEST(TextFilter, CaseAccentsAndUmlautsFoldAsNamesDo)
{
    const auto bjork = listed("b.mp3", "Bj\xF6rk",
                              "Caf\xE9 Stra\xDF"
                              "e");
    EXPECT_TRUE(finds("bjoerk", bjork));
    EXPECT_TRUE(finds("BJ\xC3\x96RK", bjork)) << "typed in UTF-8";
    EXPECT_TRUE(finds("cafe", bjork));
    EXPECT_TRUE(finds("caf\xC3\xA9", bjork));
    EXPECT_TRUE(finds("strasse", bjork));
    EXPECT_FALSE(finds("bjork", bjork)) << "an umlaut is spelt out, as FoldName spells it";

    const auto aerzte = listed("a.mp3", "Die \xC4rzte", "Schrei nach Liebe");
    EXPECT_TRUE(finds("\xC3\xA4rzte", aerzte));
    EXPECT_TRUE(finds("AERZTE", aerzte));
    // No article is dropped here: the words are searched as typed.
    EXPECT_TRUE(finds("die", aerzte));
    EXPECT_TRUE(finds("the", listed("t.mp3", "The Beatles", "Help")));
}

TEST(TextFilter, PunctuationAndSeparatorsFoldAsNamesDo)
{
    const auto guns = listed("g.mp3", "Guns N' Roses", "Sweet Child o' Mine");
    EXPECT_TRUE(finds("guns n roses", guns));
    EXPECT_TRUE(finds("n'", guns));
    EXPECT_TRUE(finds("aha", listed("x.mp3", "a-ha", "Take On Me"))) << "the hyphen goes";
    const auto acdc = listed("acdc.mp3", "AC/DC", "T.N.T.");
    EXPECT_TRUE(finds("ac/dc", acdc));
    EXPECT_TRUE(finds("tnt", acdc));
    EXPECT_FALSE(finds("ac/dd", acdc));
    // A run of separators keeps its first one on both sides.
    EXPECT_TRUE(finds("a,_b", listed("x.mp3", "a,  b", "")));
}

TEST(TextFilter, EveryColumnIsSearched)
{
    CLiedkramEntry song = listed("Lied.mp3", "Band", "Title");
    song.m_szComment = "Kassettenrip";
    song.m_nYear = 1987;
    song.m_nGenre = 17;  // Rock
    song.m_nTrack = 7;
    song.m_nBitrate = 192000;
    EXPECT_TRUE(finds("sammlung", song)) << "the folder";
    EXPECT_TRUE(finds("lied.mp3", song)) << "the file name";
    EXPECT_TRUE(finds("kassetten", song));
    EXPECT_TRUE(finds("1987", song));
    EXPECT_TRUE(finds("rock", song));
    EXPECT_TRUE(finds("3:05", song)) << "the length text";
    EXPECT_TRUE(finds("192", song));
    EXPECT_FALSE(finds("1988", song));
}

TEST(TextFilter, NamesOutsideWindows1252AreSearchedAsTheyAre)
{
    // "Кино - Группа крови.mp3" and "שלום.mp3" as the file system has them.
    const auto kino =
        listed("\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE - \xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0.mp3", "", "");
    EXPECT_TRUE(finds("\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0", kino));
    EXPECT_FALSE(finds("\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF\xD0\xB0x", kino));
    EXPECT_FALSE(TextFilter("\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE").empty()) << "such a word asks for something";
    const auto shalom = listed("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D.mp3", "", "");
    EXPECT_TRUE(finds("\xD7\xA9", shalom));
    // "×" is 0xD7 in Windows-1252, the first byte of every Hebrew letter in
    // UTF-8: a folded word only ever matches whole characters.
    EXPECT_FALSE(finds("\xC3\x97", shalom));
}

TEST(FoldForSearch, GivesUtf8AndFoldsLikeFoldName)
{
    EXPECT_EQ(FoldForSearch("Bj\xC3\xB6rk"), "BJOERK");
    EXPECT_EQ(FoldForSearch("Die \xC3\x84rzte"), "DIE AERZTE");
    EXPECT_EQ(FoldForSearch("a  -  b"), "A B");
    // A letter Windows-1252 has but FoldName does not spell out keeps its
    // folded byte, as a character: "ø" to "Ø".
    EXPECT_EQ(FoldForSearch("\xC3\xB8"), "\xC3\x98");
    // A character outside the code page ends a run of separators like a letter.
    EXPECT_EQ(FoldForSearch("a \xE2\x86\x92  b"), "A \xE2\x86\x92 B");
    // Malformed UTF-8 stays as it is and is not taken for a letter.
    EXPECT_EQ(FoldForSearch("a\xFF"), "A\xFF");
}

#include "document/track_compare.h"
#include "entry/liedkram_entry.h"

#include <gtest/gtest.h>

using document::CompareEntries;
using document::FoldName;
using document::IsSameTrack;

namespace {

CLiedkramEntry track(const std::string& file, const std::string& artist, const std::string& title,
                     const std::string& path = "/m")
{
    CLiedkramEntry entry;
    entry.m_szFileName = file;
    entry.m_szArtist = artist;
    entry.m_szTitle = title;
    entry.m_szPath = path;
    return entry;
}

}  // namespace

TEST(FoldName, DropsArticlesPunctuationAndAccents)
{
    EXPECT_EQ(FoldName("The Beatles"), "BEATLES");
    EXPECT_EQ(FoldName("Die \xC4rzte"), "AERZTE");
    EXPECT_EQ(FoldName("Guns N' Roses"), "GUNS N ROSES");
    EXPECT_EQ(FoldName("AC/DC"), "AC\x0F"
                                 "DC");
    EXPECT_EQ(FoldName("a  -  b"), "A B");
    EXPECT_EQ(FoldName("a_-_b"), "A_B");
    EXPECT_EQ(FoldName("a , b"), "A B");
    EXPECT_EQ(FoldName("Bj\xF6rk"), FoldName("BJOERK"));
    EXPECT_EQ(FoldName("Caf\xE9"), FoldName("cafe"));
    EXPECT_EQ(FoldName("The The Band"), "THE BAND");
    EXPECT_EQ(FoldName("the"), "THE");
    EXPECT_EQ(FoldName("the "), "");
    EXPECT_EQ(FoldName("Stra\xDF"
                       "e"),
              "STRASSE");
    EXPECT_EQ(FoldName("0-9"), std::string("\x10\x19"));
    EXPECT_EQ(FoldName("\xF8"), "\xD8");  // not in the table: bit 5 cleared
    EXPECT_EQ(FoldName(""), "");
}

TEST(IsSameTrack, FoldedTitleAndArtistOrTheFileName)
{
    EXPECT_TRUE(IsSameTrack(track("a.mp3", "The Beatles", "Help!"), track("b.mp3", "beatles", "HELP")));
    EXPECT_TRUE(IsSameTrack(track("Song.MP3", "x", "y", "/one"), track("song.mp3", "z", "w", "/two")));
    EXPECT_TRUE(IsSameTrack(track("a.mp3", "", ""), track("b.mp3", "", "")));
    EXPECT_FALSE(IsSameTrack(track("a.mp3", "Band", "Song"), track("b.mp3", "Band", "Other")));
    EXPECT_FALSE(IsSameTrack(track("\xC4.mp3", "a", "b"), track("\xE4.mp3", "c", "d")));
    // Symmetric.
    const auto a = track("a.mp3", "Die \xC4rzte", "Schrei");
    const auto b = track("b.mp3", "aerzte", "schrei");
    EXPECT_TRUE(IsSameTrack(a, b));
    EXPECT_TRUE(IsSameTrack(b, a));
}

TEST(CompareEntries, KeysOfTheTextColumns)
{
    EXPECT_LT(CompareEntries(track("a.mp3", "", "", "/z"), track("B.mp3", "", "", "/a"), Column::File), 0);
    EXPECT_LT(CompareEntries(track("x.mp3", "", "", "/a"), track("X.MP3", "", "", "/b"), Column::File), 0);
    EXPECT_GT(CompareEntries(track("a.mp3", "", "", "/z"), track("B.mp3", "", "", "/a"), Column::Path), 0);
    EXPECT_LT(CompareEntries(track("1", "b", "Song"), track("2", "a", "song!"), Column::Title), 0);
    // Artists sort by their folded form: "The Beatles" among the B's, "Die Ärzte" among the A's.
    EXPECT_GT(CompareEntries(track("1", "Die \xC4rzte", ""), track("2", "Abba", ""), Column::Artist), 0);
    EXPECT_LT(CompareEntries(track("1", "The Beatles", ""), track("2", "Blur", ""), Column::Artist), 0);
    EXPECT_GT(CompareEntries(track("1", "The Beatles", ""), track("2", "Abba", ""), Column::Artist), 0);
    EXPECT_EQ(CompareEntries(track("1", "a", "b"), track("2", "A", "B"), Column::Artist), 0);

    auto l = track("1", "Zappa", "Song");
    auto r = track("2", "Abba", "song");
    l.m_szAlbum = "best of";
    r.m_szAlbum = "Best Of";
    EXPECT_GT(CompareEntries(l, r, Column::Album), 0) << "same album and title: the artists decide";
    r.m_szAlbum = "Gold";
    EXPECT_LT(CompareEntries(l, r, Column::Album), 0);
    EXPECT_LT(CompareEntries(l, r, Column::Genre), 0) << "no genre either: titles byte-wise";
    l.m_szComment = "abc";
    r.m_szComment = "ABD";
    EXPECT_LT(CompareEntries(l, r, Column::Comment), 0);
    r.m_szComment = "ABC";
    EXPECT_EQ(CompareEntries(l, r, Column::Comment), 0) << "the comment alone";
}

TEST(CompareEntries, KeysOfTheNumberColumns)
{
    auto l = track("B.mp3", "", "");
    auto r = track("a.mp3", "", "");
    l.m_nYear = r.m_nYear = 1999;
    EXPECT_LT(CompareEntries(l, r, Column::Year), 0) << "equal years: file names byte-wise";
    l.m_nYear = 1900;
    r.m_nYear = 1950;
    EXPECT_LT(CompareEntries(l, r, Column::Year), 0);

    l.m_nTrack = 0;
    r.m_nTrack = 255;
    EXPECT_LT(CompareEntries(l, r, Column::Track), 0);
    l.m_nLengthMs = 600000;  // "10:00.0"
    r.m_nLengthMs = 180000;  // "3:00.0"
    EXPECT_LT(CompareEntries(l, r, Column::Length), 0) << "length texts, not milliseconds";
    l.m_nFileSize = -1;
    r.m_nFileSize = 5;
    EXPECT_LT(CompareEntries(l, r, Column::Size), 0);
    l.m_nBitrate = 128000;
    r.m_nBitrate = 96000;
    EXPECT_GT(CompareEntries(l, r, Column::Bitrate), 0);
    l.m_nGenre = -1;
    r.m_nGenre = 0;
    EXPECT_LT(CompareEntries(l, r, Column::Genre), 0) << "no genre first";
    l.m_dwHeader = 0x4490FBFF;  // original set
    r.m_dwHeader = 0x4090FBFF;
    EXPECT_GT(CompareEntries(l, r, Column::Original), 0);
    EXPECT_EQ(CompareEntries(l, r, Column::Copyright), 0);
}

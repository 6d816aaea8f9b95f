#include "document/similar_tracks.h"
#include "document/track_compare.h"
#include "entry/liedkram_entry.h"

#include <gtest/gtest.h>

#include <deque>
#include <numeric>
#include <random>
#include <set>

using document::LooseName;
using document::SimilarGroups;

namespace {

using Groups = std::vector<std::vector<std::size_t>>;

class SimilarTracks : public ::testing::Test {
protected:
    // Artist and title in Windows-1252; each file in a folder of its own
    // unless the name is given twice on purpose.
    void add(const std::string& file, const std::string& artist, const std::string& title, int lengthMs)
    {
        CLiedkramEntry& entry = entries_.emplace_back();
        entry.m_szFileName = file;
        entry.m_szPath = "/musik/" + std::to_string(entries_.size());
        entry.m_szArtist = artist;
        entry.m_szTitle = title;
        entry.m_nLengthMs = lengthMs;
    }

    Groups groups() const
    {
        std::vector<const CLiedkramEntry*> pointers;
        for (const CLiedkramEntry& entry : entries_)
            pointers.push_back(&entry);
        return SimilarGroups(pointers);
    }

    std::deque<CLiedkramEntry> entries_;
};

}  // namespace

TEST(LooseName, DropsArticlesAndBracketedAdditions)
{
    EXPECT_EQ(LooseName("Yesterday (Live)"), "YESTERDAY");
    EXPECT_EQ(LooseName("Yesterday [Remastered 2009]"), "YESTERDAY");
    EXPECT_EQ(LooseName("Yesterday - (Live) [Mono]"), "YESTERDAY");
    EXPECT_EQ(LooseName("(Intro) Song"), "SONG");
    EXPECT_EQ(LooseName("Song (Live (Encore))"), "SONG");
    // Cut at the end of a 30-byte tag field: the bracket never closes.
    EXPECT_EQ(LooseName("Song (Extended Versi"), "SONG");
    for (const char* artist : {"The Cure", "Die Cure", "Der Cure", "Das Cure", "the cure", "  DAS Cure"})
        EXPECT_EQ(LooseName(artist), "CURE") << artist;
    EXPECT_EQ(LooseName("Theatre"), "THEATRE") << "no article without its blank";
    EXPECT_EQ(LooseName("Bj\xF6rk"), LooseName("BJOERK"));
    EXPECT_EQ(LooseName("(Live)"), "");
}

TEST_F(SimilarTracks, CaseUmlautsAndArticlesDoNotMakeTracksDifferent)
{
    add("1.mp3", "Bj\xF6rk", "Hyperballad", 200000);
    add("2.mp3", "BJOERK", "HYPERBALLAD", 320000);  // IsSameTrack: no length asked
    add("3.mp3", "Beatles", "Help", 140000);
    add("4.mp3", "The Beatles", "help!", 141000);
    add("5.mp3", "Plan", "Gummitwist", 180000);
    add("6.mp3", "Der Plan", "Gummitwist", 181000);  // only the loose rule drops "Der"
    add("7.mp3", "Someone", "Else", 180000);
    EXPECT_EQ(groups(), (Groups{{2, 3}, {0, 1}, {4, 5}}));
}

TEST_F(SimilarTracks, BracketedAdditionsCountWithinThreeSeconds)
{
    add("a.mp3", "Nirvana", "Lithium", 257000);
    add("b.mp3", "Nirvana", "Lithium (Live)", 259900);  // 2.9 s longer
    add("c.mp3", "Queen", "Bohemian Rhapsody", 354000);
    add("d.mp3", "Queen", "Bohemian Rhapsody [Remastered]", 357100);  // 3.1 s longer
    add("e.mp3", "Queen", "Bohemian Rhapsody (Live)", 350900);  // 3.1 s shorter
    EXPECT_EQ(groups(), (Groups{{0, 1}}));
}

TEST_F(SimilarTracks, ExactlyThreeSecondsApartIsStillSimilar)
{
    add("a.mp3", "X", "Song (Live)", 100000);
    add("b.mp3", "X", "Song", 103000);
    EXPECT_EQ(groups(), (Groups{{0, 1}}));
}

TEST_F(SimilarTracks, AChainOfCloseLengthsIsOneGroup)
{
    add("a.mp3", "X", "Song (Take 1)", 100000);
    add("b.mp3", "X", "Song (Take 3)", 105000);
    add("c.mp3", "X", "Song (Take 2)", 102500);
    EXPECT_EQ(groups(), (Groups{{0, 1, 2}}));
}

TEST_F(SimilarTracks, TheSameFileNameInTwoFoldersIsTheSameTrack)
{
    add("Song.MP3", "A", "One", 100000);
    add("song.mp3", "B", "Two", 300000);
    add("song.mp3.bak", "B", "Three", 300000);
    EXPECT_EQ(groups(), (Groups{{0, 1}}));
}

TEST_F(SimilarTracks, GroupsComeByArtistAndTitleAndKeepTheListOrder)
{
    add("z1.mp3", "Zappa", "Peaches", 100000);
    add("a1.mp3", "The Animals", "House", 100000);
    add("z2.mp3", "Zappa", "Peaches", 100000);
    add("b1.mp3", "Abba", "Waterloo", 100000);
    add("a2.mp3", "Animals", "House", 100000);
    add("b2.mp3", "ABBA", "Waterloo", 100000);
    add("b3.mp3", "Abba", "Fernando", 100000);
    add("b4.mp3", "Abba", "Fernando", 100000);
    EXPECT_EQ(groups(), (Groups{{6, 7}, {3, 5}, {1, 4}, {0, 2}}));
}

TEST_F(SimilarTracks, NoSimilarEntryNoGroup)
{
    EXPECT_TRUE(groups().empty());
    add("a.mp3", "A", "One", 100000);
    add("b.mp3", "B", "Two", 100000);
    EXPECT_TRUE(groups().empty());
}

// Against every pair, for lists where many rules meet: the hash tables must
// find exactly the groups the pairwise rule gives.
TEST_F(SimilarTracks, TheGroupsAreThoseOfEveryPairCompared)
{
    const std::vector<std::string> artists = {"The Cure", "Cure", "Der Plan", "Plan", "Bj\xF6rk", "Bjoerk", "Abba"};
    const std::vector<std::string> titles = {"Song", "Song (Live)", "song [Mono]", "Other", "(Intro)", ""};
    std::mt19937 random(15);
    for (int i = 0; i < 120; ++i) {
        add("f" + std::to_string(random() % 400) + (random() % 2 ? ".mp3" : ".MP3"), artists[random() % artists.size()],
            titles[random() % titles.size()], 100000 + static_cast<int>(random() % 60) * 1000);
    }
    const auto similar = [this](std::size_t a, std::size_t b) {
        const CLiedkramEntry& x = entries_[a];
        const CLiedkramEntry& y = entries_[b];
        if (document::IsSameTrack(x, y))
            return true;
        const std::string title = LooseName(x.m_szTitle.view());
        const std::string artist = LooseName(x.m_szArtist.view());
        return (!title.empty() || !artist.empty()) && title == LooseName(y.m_szTitle.view()) &&
               artist == LooseName(y.m_szArtist.view()) &&
               std::abs(x.m_nLengthMs - y.m_nLengthMs) <= document::kSimilarLengthMs;
    };
    // The groups of every pair: joined until nothing changes.
    std::vector<std::size_t> group(entries_.size());
    std::iota(group.begin(), group.end(), std::size_t{0});
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t a = 0; a < entries_.size(); ++a) {
            for (std::size_t b = a + 1; b < entries_.size(); ++b) {
                if (group[a] != group[b] && similar(a, b)) {
                    const std::size_t from = std::max(group[a], group[b]);
                    const std::size_t to = std::min(group[a], group[b]);
                    std::replace(group.begin(), group.end(), from, to);
                    changed = true;
                }
            }
        }
    }
    std::set<std::vector<std::size_t>> expected;
    for (std::size_t g = 0; g < entries_.size(); ++g) {
        std::vector<std::size_t> members;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (group[i] == g)
                members.push_back(i);
        }
        if (members.size() > 1)
            expected.insert(members);
    }
    const Groups found = groups();
    ASSERT_GE(expected.size(), 5u);
    EXPECT_EQ(std::set<std::vector<std::size_t>>(found.begin(), found.end()), expected);
    EXPECT_EQ(found.size(), expected.size());
}

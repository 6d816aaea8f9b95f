#include "tags/genre_list.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using tags::genreName;

TEST(GenreList, RunsFromNoGenreToNone)
{
    EXPECT_EQ(std::string(genreName(-1)), "");
    EXPECT_EQ(std::string(genreName(0)), "Blues");
    EXPECT_EQ(std::string(genreName(79)), "Hard Rock");
    EXPECT_EQ(std::string(genreName(147)), "Synthpop");
    EXPECT_EQ(std::string(genreName(148)), "none");
    EXPECT_EQ(std::string(genreName(149)), "");
    EXPECT_EQ(std::string(genreName(-2)), "");
    EXPECT_EQ(std::string(genreName(255)), "");
}

TEST(GenreList, KeepsTheSpellingUsersKnow)
{
    EXPECT_EQ(std::string(genreName(14)), "R&B");
    EXPECT_EQ(std::string(genreName(67)), "Psychadelic");
    EXPECT_EQ(std::string(genreName(93)), "Psychedelic Rock");
    EXPECT_EQ(std::string(genreName(118)), "Rhytmic Soul");
    EXPECT_EQ(std::string(genreName(127)), "Drum & Bass");
    EXPECT_EQ(std::string(genreName(136)), "Christian Gangsta Rap");
    EXPECT_EQ(std::string(genreName(144)), "Trash Metal");
}

TEST(GenreList, HasOneHundredFiftyDistinctEntries)
{
    std::set<std::string> names;
    for (int i = -1; i <= tags::kLastGenre; ++i)
        names.insert(genreName(i));
    EXPECT_EQ(static_cast<int>(names.size()), tags::kGenreCount);
}

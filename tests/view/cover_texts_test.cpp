#include "view/cover_texts.h"

#include "support/seam_fixture.h"
#include "view_entries.h"

#include <gtest/gtest.h>

using viewtest::Entries;

namespace {

const std::string kTooFew = "Witzbold: Ein CD-Cover mit 0 Titeln? Erst Titel markieren, dann Cover erstellen!";
const std::string kTooMany = "Ein CD-Cover mit mehr als 49 Titeln? Mach ich nicht. Du willst mich wohl testen?";

Entries titles(int count)
{
    Entries entries;
    for (int i = 0; i < count; ++i)
        entries.add("Artist", "Song " + std::to_string(i));
    return entries;
}

}  // namespace

class CoverTitles : public testsupport::SeamTest {};

TEST_F(CoverTitles, FewerThanTwoAreRefused)
{
    for (const int count : {0, 1}) {
        prompter().clear();
        EXPECT_FALSE(view::collectCoverTexts(titles(count).selection())) << count;
        EXPECT_EQ(prompter().messages(), std::vector<std::string>{kTooFew}) << count;
    }
}

TEST_F(CoverTitles, FiftyOrMoreAreRefused)
{
    for (const int count : {50, 51, 400}) {
        prompter().clear();
        EXPECT_FALSE(view::collectCoverTexts(titles(count).selection())) << count;
        EXPECT_EQ(prompter().messages(), std::vector<std::string>{kTooMany}) << count;
    }
}

TEST_F(CoverTitles, TwoToFortyNineAreTaken)
{
    for (const int count : {2, 49}) {
        const auto texts = view::collectCoverTexts(titles(count).selection());
        ASSERT_TRUE(texts) << count;
        EXPECT_EQ(texts->titles.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(texts->titles.back().number, std::to_string(count) + ")");
        EXPECT_EQ(texts->nextNumber, std::to_string(count + 1) + ")");
    }
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST(CoverTextsOf, TitleLinesAreArtistDashTitleWithAmpersandsDoubled)
{
    Entries entries;
    entries.add("Simon & Garfunkel", "Cecilia");
    entries.add("Bj\xF6rk", "&&& \x80");
    const auto texts = view::coverTexts(entries.selection());
    EXPECT_EQ(texts.titles[0].line, "Simon && Garfunkel - Cecilia");
    EXPECT_EQ(texts.titles[1].line, "Bj\u00F6rk - &&&&&& \u20AC");  // drawn as UTF-8
    EXPECT_EQ(texts.titles[0].number, "1)");
    EXPECT_EQ(texts.titles[1].number, "2)");
}

TEST(CoverTextsOf, LengthsAndTheTotal)
{
    Entries entries;
    entries.add("A", "a", 185200);
    entries.add("B", "b", 640000);
    const auto texts = view::coverTexts(entries.selection());
    EXPECT_EQ(texts.titles[0].minutes, "3:");
    EXPECT_EQ(texts.titles[0].length, "3:05.2");
    EXPECT_EQ(texts.titles[1].minutes, "10:");
    EXPECT_EQ(texts.titles[1].length, "10:40.0");
    EXPECT_EQ(texts.totalMinutes, "13:");
    EXPECT_EQ(texts.totalLength, "13:45.2");
}

TEST(CoverTextsOf, TotalIsSummedBeyond32Bits)
{
    Entries entries;
    entries.add("A", "a", 2147483647);
    entries.add("B", "b", 2147483647);
    const auto texts = view::coverTexts(entries.selection());
    EXPECT_EQ(texts.titles[0].minutes, "35791:");
    EXPECT_EQ(texts.totalMinutes, "71582:");
    EXPECT_EQ(texts.totalLength, "71582:47.2");
}

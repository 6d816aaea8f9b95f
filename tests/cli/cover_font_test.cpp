#include "cli/cover_font.h"
#include "cli/usage.h"

#include <gtest/gtest.h>

#include <string>

using cli::CoverFont;
using cli::parseCoverFont;

TEST(CoverFont, FamilyAloneIsTwelvePoints)
{
    const CoverFont font = parseCoverFont("DejaVu Sans");
    EXPECT_EQ(font.family, "DejaVu Sans");
    EXPECT_EQ(font.points, 12);
}

TEST(CoverFont, ThePointSizeFollowsTheLastComma)
{
    EXPECT_EQ(parseCoverFont("DejaVu Serif,20").points, 20);
    EXPECT_EQ(parseCoverFont("DejaVu Serif, 10.5 ").points, 10.5);
    EXPECT_EQ(parseCoverFont(" DejaVu Serif , 10.5").family, "DejaVu Serif");
    const CoverFont odd = parseCoverFont("Odd, Name,8");
    EXPECT_EQ(odd.family, "Odd, Name");
    EXPECT_EQ(odd.points, 8);
    EXPECT_EQ(parseCoverFont("Schrift,1000").points, 1000);
}

TEST(CoverFont, BadSizesAndEmptyFamiliesAreUsageErrors)
{
    for (const char* bad : {"", " ", ",12", "Sans,", "Sans,0", "Sans,-3", "Sans,1001", "Sans,12pt", "Sans,1e2",
                            "Sans,nan", "Sans,inf", "Sans,+12", "Sans,1 2", "Odd, Name"})
        EXPECT_THROW(parseCoverFont(bad), cli::UsageError) << bad;
}

TEST(CoverFont, HeightIsTheNegativePixelHeightTheFontDialogReports)
{
    EXPECT_EQ(cli::coverFontDescription({"DejaVu Sans", 12}, 96).height, -16);
    EXPECT_EQ(cli::coverFontDescription({"DejaVu Sans", 12}, 120).height, -20);
    // Rounded, not cut: 10.5 points are 14 pixels, 11 points 14.67.
    EXPECT_EQ(cli::coverFontDescription({"DejaVu Sans", 10.5}, 96).height, -14);
    EXPECT_EQ(cli::coverFontDescription({"DejaVu Sans", 11}, 96).height, -15);
    EXPECT_EQ(cli::coverFontDescription({"DejaVu Sans", 0.1}, 96).height, -1);

    const auto description = cli::coverFontDescription({"DejaVu Serif", 12}, 96);
    EXPECT_EQ(description.face, "DejaVu Serif");
    EXPECT_EQ(description.weight, 400);
    EXPECT_FALSE(description.italic);
    EXPECT_FALSE(description.underline);
    EXPECT_FALSE(description.strikeOut);
}

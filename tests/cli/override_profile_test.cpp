#include "cli/override_profile.h"
#include "support/test_doubles.h"

#include <gtest/gtest.h>

TEST(OverrideProfile, OverridesWinReadsFallThroughWritesStayAbove)
{
    testsupport::MemoryProfile below;
    below.writeInt("ChkAll", 0);
    below.writeInt("DelFront", 0);
    below.writeString("ID2DatNam", "$Title");
    cli::OverrideProfile profile(below);
    EXPECT_EQ(profile.getInt("ChkAll", 1), 0);
    EXPECT_EQ(profile.getString("ID2DatNam", "$Artist-$Title"), "$Title");
    EXPECT_EQ(profile.getInt("ForceGet", 3), 3);

    profile.writeInt("ChkAll", 1);
    profile.writeInt("Rename", 0);
    profile.writeString("ID2DatNam", "");
    EXPECT_EQ(profile.getInt("ChkAll", 0), 1);
    EXPECT_EQ(profile.getInt("Rename", 1), 0);
    EXPECT_EQ(profile.getString("ID2DatNam", "x"), "");
    EXPECT_EQ(profile.getInt("DelFront", 1), 0);

    EXPECT_EQ(below.getInt("ChkAll", 7), 0);
    EXPECT_EQ(below.getInt("Rename", 7), 7);
    EXPECT_EQ(below.getString("ID2DatNam", "x"), "$Title");
}

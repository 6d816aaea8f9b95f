#include "platform/text.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = cp1252ToUtf8(one);
        EXPECT_EQ(utf8ToCp1252(utf8), one) << "byte " << b;
        if (b >= 0x80) {
            EXPECT_GE(utf8.size(), 2u) << "byte " << b << " must become a multi-byte character";
        }
    }
}

TEST(Cp1252, MapsTheWindowsCharacters)
{
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "\u0178");
    EXPECT_EQ(cp1252ToUtf8("\x96"), "\u2013");
    EXPECT_EQ(cp1252ToUtf8("Gr\xF6\xDF"
                           "e"),
              "Gr\u00F6\u00DFe");
    EXPECT_EQ(cp1252ToUtf8("\xA9"), "\u00A9");
    EXPECT_EQ(utf8ToCp1252("\u00C4rger \u20AC"), "\xC4rger \x80");
}

TEST(Cp1252, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1252("a\u65E5b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("\U0001F3B5"), "?");
    EXPECT_EQ(utf8ToCp1252("x\xC3"), "x?");  // cut-off sequence at the end
    EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");  // overlong encoding
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80"), "???");  // surrogate
    EXPECT_EQ(utf8ToCp1252("\xE4"
                           "x"),
              "?x");  // a Latin-1 byte is no UTF-8
}

TEST(AsciiCase, FoldsOnlyAsciiLetters)
{
    EXPECT_TRUE(equalsIgnoreAsciiCase("The Beatles", "tHE bEATLES"));
    EXPECT_FALSE(equalsIgnoreAsciiCase("\xC4", "\xE4"));  // Ä and ä stay different
    EXPECT_FALSE(equalsIgnoreAsciiCase("abc", "abcd"));
    EXPECT_LT(compareIgnoreAsciiCase("abc", "ABD"), 0);
    EXPECT_GT(compareIgnoreAsciiCase("\xE4", "z"), 0);  // bytes compare unsigned
    EXPECT_LT(compareIgnoreAsciiCase("ab", "abc"), 0);
    EXPECT_EQ(compareIgnoreAsciiCase("", ""), 0);
    // '_' lies between the upper and lower case letters: lowering decides the order.
    EXPECT_LT(compareIgnoreAsciiCase("_", "a"), 0);
    EXPECT_LT(compareIgnoreAsciiCase("_", "A"), 0);
}

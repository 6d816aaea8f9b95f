#include "tags/id3v2.h"
#include "support/mp3_builder.h"

#include <gtest/gtest.h>

using namespace testsupport;

TEST(Id3v2, OnlyVersionThreeIsRecognised)
{
    EXPECT_TRUE(tags::startsWithId3v23(id3v2Tag(3, 1024)));
    EXPECT_FALSE(tags::startsWithId3v23(id3v2Tag(4, 1024)));
    EXPECT_FALSE(tags::startsWithId3v23(id3v2Tag(2, 1024)));
    const Bytes three = {'I', 'D', '3'};
    EXPECT_FALSE(tags::startsWithId3v23(three));
}

TEST(Id3v2, TheSearchStartsBehindTheFirstFrame)
{
    EXPECT_EQ(tags::headerSearchStart(id3v2Tag(3, 1024)), 1044u);
    EXPECT_EQ(tags::headerSearchStart(id3v2Tag(4, 1024)), 0u);
    // Only the low 16 bits of the frame size count.
    Bytes big = id3v2Tag(3, 0);
    big[14] = 0x01;
    big[16] = 0x00;
    big[17] = 0x10;
    EXPECT_EQ(tags::headerSearchStart(big), 20u + 16u);
    // A file that ends inside the tag header.
    const Bytes cut = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0, 'A', 'P', 'I', 'C', 0, 0, 4};
    EXPECT_EQ(tags::headerSearchStart(cut), 20u);
}

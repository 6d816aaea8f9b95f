#include "support/tag_builder.h"
#include "tags/id3v2.h"

#include <gtest/gtest.h>

#include <ostream>

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

namespace {

struct FitCase {
    const char* name;
    Bytes tag;
    bool fits;
};

void PrintTo(const FitCase& c, std::ostream* out)
{
    *out << c.name;
}

// Byte at of the tag set to value.
Bytes with(Bytes tag, std::size_t at, std::uint8_t value)
{
    tag.at(at) = value;
    return tag;
}

// The tag with its second frame's 32-bit size field written plainly, as some
// taggers write version 2.4 sizes.
Bytes plainSizes(const std::string& text)
{
    Bytes tag = id3v2Frames(4, {textFrame("TIT2", "x"), textFrame("TPE1", text)}, 20);
    const std::size_t size = text.size() + 1;
    const std::size_t at = 10 + 10 + 2 + 4;
    for (int i = 0; i < 4; ++i)
        tag[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    return tag;
}

// A version 2.3 tag unsynchronised whole: a zero behind every 0xFF.
Bytes unsynchronised(const Bytes& tag)
{
    Bytes out(tag.begin(), tag.begin() + 10);
    out[5] |= 0x80;
    Bytes body;
    for (std::size_t i = 10; i < tag.size(); ++i) {
        body.push_back(tag[i]);
        if (tag[i] == 0xFF)
            body.push_back(0);
    }
    for (int shift = 21; shift >= 0; shift -= 7)
        out[9 - static_cast<std::size_t>(shift / 7)] = static_cast<std::uint8_t>((body.size() >> shift) & 0x7F);
    append(out, body);
    return out;
}

std::vector<FitCase> fitCases()
{
    const Bytes picture(3000, 0xFF);
    const Bytes v23 = id3v2Frames(3, {textFrame("TIT2", "Titel"), pictureFrame(3, picture)}, 100);
    Bytes extended = id3v2Frames(3, {textFrame("TIT2", "Titel")});
    extended[5] |= 0x40;
    extended.insert(extended.begin() + 10, {0, 0, 0, 6, 0, 0, 0, 0, 0, 0});
    extended[9] = static_cast<std::uint8_t>(extended[9] + 10);
    // The second frame's size, one byte more than the tag holds.
    const std::size_t over = 10 + 10 + 6 + 4 + 3;
    return {
        {"v23_with_padding", v23, true},
        {"v24_with_footer", id3v2Frames(4, {textFrame("TIT2", "Titel"), pictureFrame(3, picture)}, 0, true), true},
        {"v22", id3v2Frames(2, {textFrame("TT2", "Titel"), textFrame("TP1", "Band")}), true},
        {"v24_plain_sizes", plainSizes(std::string(300, 'A')), true},
        {"v23_unsynchronised", unsynchronised(v23), true},
        {"v23_extended_header", extended, true},
        {"garbage_padding", with(id3v2Frames(3, {textFrame("TIT2", "Titel")}, 30), 10 + 10 + 6 + 1, 'x'), true},
        {"v23_frame_runs_over", with(v23, over - 1, 0x7F), false},
        {"v24_frame_runs_over_both_ways",
         with(id3v2Frames(4, {textFrame("TIT2", "Titel"), textFrame("TPE1", "B")}), over, 0x7F), false},
        {"v22_frame_runs_over", with(id3v2Frames(2, {textFrame("TT2", "Titel")}), 10 + 3, 0x10), false},
        {"extended_header_runs_over", with(extended, 10 + 3, 0x7F), false},
        {"cut_tag", Bytes(v23.begin(), v23.end() - 1), false},
    };
}

}  // namespace

class Id3v2Fit : public ::testing::TestWithParam<FitCase> {};

TEST_P(Id3v2Fit, FramesThatRunPastTheTagAreFound)
{
    EXPECT_EQ(tags::id3v2FramesFit(GetParam().tag), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(Tags, Id3v2Fit, ::testing::ValuesIn(fitCases()),
                         [](const ::testing::TestParamInfo<FitCase>& param) { return param.param.name; });

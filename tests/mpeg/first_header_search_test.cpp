#include "mpeg/fast_estimate.h"
#include "mpeg/first_header_search.h"
#include "support/mp3_builder.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

Bytes withHeaderAt(std::size_t position, std::size_t total)
{
    Bytes bytes = musicBytes(total);
    const auto header = headerBytes({});
    std::copy(header.begin(), header.end(), bytes.begin() + static_cast<std::ptrdiff_t>(position));
    return bytes;
}

}  // namespace

TEST(FirstHeaderSearch, FindsTheFirstAcceptedHeader)
{
    Bytes bytes = frames({}, 3);
    auto found = mpeg::findFirstHeader(bytes, 0);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 0u);
    EXPECT_EQ(found->word, 0x4490FBFFu);

    Bytes riff = musicBytes(417);
    append(riff, frames({}, 3));
    found = mpeg::findFirstHeader(riff, 0);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 417u);

    // A rejected header-like sequence in front is passed over.
    Bytes fake = {0xFF, 0xFB, 0x9C, 0x44, 0x01};
    append(fake, frames({}, 2));
    found = mpeg::findFirstHeader(fake, 0);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 5u);

    // So is an accepted header in junk that no frame follows.
    Bytes junk = withHeaderAt(10, 300);
    append(junk, frames({}, 3));
    found = mpeg::findFirstHeader(junk, 0);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 300u);
}

TEST(FirstHeaderSearch, StopsWhereFourBytesNoLongerFit)
{
    const auto at131068 = withHeaderAt(131068, mpeg::kHeaderSearchBytes);
    const auto found = mpeg::findFirstHeader(at131068, 0);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->position, 131068u);

    // Only the first 131072 bytes of a file are read.
    const auto at131069 = withHeaderAt(131069, mpeg::kHeaderSearchBytes + 1);
    EXPECT_FALSE(mpeg::findFirstHeader(std::span(at131069).first(mpeg::kHeaderSearchBytes), 0));
    // Even with more bytes at hand, positions from 131070 on are not tried.
    EXPECT_FALSE(mpeg::findFirstHeader(withHeaderAt(131070, mpeg::kHeaderSearchBytes + 8), 0));
    EXPECT_TRUE(mpeg::findFirstHeader(withHeaderAt(131069, mpeg::kHeaderSearchBytes + 8), 0));

    // A short file is searched to its end, never beyond it.
    Bytes tiny = {0x00, 0xFF, 0xFB, 0x90};
    EXPECT_FALSE(mpeg::findFirstHeader(tiny, 0));
    tiny.push_back(0x44);
    EXPECT_TRUE(mpeg::findFirstHeader(tiny, 0));
    EXPECT_FALSE(mpeg::findFirstHeader(tiny, 2));
    EXPECT_FALSE(mpeg::findFirstHeader(tiny, 1000));
}

TEST(FastEstimate, DividesBeforeItMultiplies)
{
    const auto measure = mpeg::fastEstimate(headerWord({}), 1000000);
    EXPECT_EQ(measure.lengthMs, 62496);
    EXPECT_EQ(measure.frames, 2398);
    EXPECT_EQ(measure.bitrate, 128000);

    HeaderSpec mpeg2;
    mpeg2.version = mpeg::kVersion2;
    mpeg2.bitrateIndex = 8;  // 64 kbit/s, 22050 Hz, 208-byte frames
    const auto low = mpeg::fastEstimate(headerWord(mpeg2), 208000);
    EXPECT_EQ(low.bitrate, 64000);
    EXPECT_EQ(low.lengthMs, 208000 / 64 * 8);
    EXPECT_EQ(low.frames, 1000);

    const auto none = mpeg::fastEstimate(headerWord({}), -50);
    EXPECT_EQ(none.lengthMs, 0);
    EXPECT_EQ(none.frames, 0);
}

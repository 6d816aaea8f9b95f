#include "platform/byte_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

using platform::ByteReader;
using platform::OutOfBounds;

TEST(ByteReader, ReadsBothByteOrders)
{
    const std::array<std::uint8_t, 6> bytes = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFE};
    const ByteReader reader(bytes);
    EXPECT_EQ(reader.u16be(0), 0x0102);
    EXPECT_EQ(reader.u16le(0), 0x0201);
    EXPECT_EQ(reader.u32le(0), 0x04030201u);
    EXPECT_EQ(reader.i16le(4), static_cast<std::int16_t>(0xFEFF));
    EXPECT_EQ(reader.i32le(2), static_cast<std::int32_t>(0xFEFF0403u));
    EXPECT_EQ(reader.bytes(4, 2)[1], 0xFE);
}

TEST(ByteReader, EveryReadPastTheEndThrows)
{
    const std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
    const ByteReader reader(bytes);
    EXPECT_NO_THROW(reader.u32le(0));
    EXPECT_THROW(reader.u32le(1), OutOfBounds);
    EXPECT_THROW(reader.u16be(3), OutOfBounds);
    EXPECT_THROW(reader.u8(4), OutOfBounds);
    EXPECT_THROW(reader.bytes(2, 3), OutOfBounds);
    EXPECT_NO_THROW(reader.bytes(4, 0));
    EXPECT_THROW(reader.bytes(5, 0), OutOfBounds);
}

TEST(ByteReader, HugeOffsetsDoNotWrapAround)
{
    const std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
    const ByteReader reader(bytes);
    const auto huge = std::numeric_limits<std::size_t>::max();
    EXPECT_FALSE(reader.has(huge, 2));
    EXPECT_FALSE(reader.has(2, huge));
    EXPECT_THROW(reader.u16le(huge), OutOfBounds);
}

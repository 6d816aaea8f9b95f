#include "platform/byte_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

using platform::ByteReader;
using platform::OutOfBytes;

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
    EXPECT_THROW(reader.u32le(1), OutOfBytes);
    EXPECT_THROW(reader.u16be(3), OutOfBytes);
    EXPECT_THROW(reader.u8(4), OutOfBytes);
    EXPECT_THROW(reader.bytes(2, 3), OutOfBytes);
    EXPECT_NO_THROW(reader.bytes(4, 0));
    EXPECT_THROW(reader.bytes(5, 0), OutOfBytes);
}

TEST(ByteReader, HugeOffsetsDoNotWrapAround)
{
    const std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
    const ByteReader reader(bytes);
    const auto huge = std::numeric_limits<std::size_t>::max();
    EXPECT_FALSE(reader.has(huge, 2));
    EXPECT_FALSE(reader.has(2, huge));
    EXPECT_THROW(reader.u16le(huge), OutOfBytes);
}

TEST(ByteCursor, ReadsOneAfterTheOtherAndStaysPutWhenARunsPastTheEnd)
{
    const std::array<std::uint8_t, 9> bytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0xFF, 0xFE, 'a', 'b'};
    platform::ByteCursor cursor(bytes);
    EXPECT_EQ(cursor.u8(), 0x01);
    EXPECT_EQ(cursor.u32le(), 0x05040302u);
    EXPECT_EQ(cursor.i16le(), static_cast<std::int16_t>(0xFEFF));
    EXPECT_EQ(cursor.position(), 7u);
    EXPECT_EQ(cursor.remaining(), 2u);
    EXPECT_THROW(cursor.u32le(), OutOfBytes);
    EXPECT_THROW(cursor.bytes(3), OutOfBytes);
    EXPECT_THROW(cursor.skip(3), OutOfBytes);
    EXPECT_EQ(cursor.position(), 7u) << "a failed read moves nothing";
    EXPECT_EQ(cursor.u16le(), 0x6261);
    EXPECT_THROW(cursor.u8(), OutOfBytes);
    EXPECT_NO_THROW(cursor.bytes(0));

    cursor.seek(1);
    EXPECT_EQ(cursor.bytes(2)[1], 0x03);
    cursor.skip(6);
    EXPECT_EQ(cursor.remaining(), 0u);
    EXPECT_THROW(cursor.seek(10), OutOfBytes);
    EXPECT_EQ(cursor.position(), 9u);
}

#include "view/cover_bitmap.h"

#include "fake_canvas.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using testsupport::Bytes;

namespace {

const Bytes kHeader = {
    'B',  'M',  // file type
    0x20, 0xEF, 0x73, 0x00,  // 7597856 bytes
    0x00, 0x00, 0x00, 0x00,  // reserved
    0x36, 0x00, 0x00, 0x00,  // pixels at 54
    0x28, 0x00, 0x00, 0x00,  // 40-byte information header
    0x08, 0x07, 0x00, 0x00,  // 1800 wide
    0x7F, 0x05, 0x00, 0x00,  // 1407 high, bottom row first
    0x01, 0x00, 0x18, 0x00,  // one plane, 24 bits
    0x00, 0x00, 0x00, 0x00,  // no compression
    0x00, 0x00, 0x00, 0x00,  // no image size
    0x12, 0x0B, 0x00, 0x00,  // 2834 pixels per metre
    0x12, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // colours used
    0x00, 0x00, 0x00, 0x00,  // important colours
};

// Where the file holds the pixel at (x, y) of the image.
std::size_t offsetOf(int x, int y)
{
    return 54 + static_cast<std::size_t>(1406 - y) * 5400 + static_cast<std::size_t>(x) * 3;
}

}  // namespace

TEST(CoverBitmap, HeaderRowsAndEnd)
{
    const viewtest::FakeCanvas canvas;
    const auto bytes = view::coverBitmapBytes(canvas.rgbRows());
    ASSERT_EQ(bytes.size(), view::kCoverBitmapSize);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 54), kHeader);
    // The fake's pixel (x, y) is red x, green y, blue x + y; the file holds blue, green, red.
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{0, 1406}, {0, 0}, {1799, 0}, {1799, 1406}, {300, 700}}) {
        const std::size_t at = offsetOf(x, y);
        EXPECT_EQ(bytes[at], static_cast<std::uint8_t>(x + y)) << x << "," << y;
        EXPECT_EQ(bytes[at + 1], static_cast<std::uint8_t>(y)) << x << "," << y;
        EXPECT_EQ(bytes[at + 2], static_cast<std::uint8_t>(x)) << x << "," << y;
    }
    EXPECT_EQ(offsetOf(0, 1406), 54u);
    EXPECT_EQ(offsetOf(1799, 0) + 3, view::kCoverBitmapSize - 2);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
    EXPECT_EQ(bytes[bytes.size() - 1], 0);
}

TEST(CoverBitmap, RefusesPixelsOfAnotherSize)
{
    const std::vector<std::uint8_t> short_(1800 * 1407 * 3 - 1);
    EXPECT_THROW(view::coverBitmapBytes(short_), std::invalid_argument);
}

class CoverBitmapFile : public testsupport::SeamTest {
protected:
    testsupport::TempDir dir_;
    viewtest::FakeCanvas canvas_;
};

TEST_F(CoverBitmapFile, IsWrittenWhole)
{
    const auto path = dir_.file("cover.bmp");
    EXPECT_TRUE(view::writeCoverBitmap(canvas_, path));
    EXPECT_EQ(testsupport::readFile(path), view::coverBitmapBytes(canvas_.rgbRows()));
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(CoverBitmapFile, ThatCannotBeCreatedIsNamedInAMessage)
{
    const auto path = dir_.file("gone/cover.bmp");
    EXPECT_FALSE(view::writeCoverBitmap(canvas_, path));
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Cannot create '" + path + "' cause: 2 (No such file or directory)"});
    EXPECT_FALSE(std::filesystem::exists(dir_.file("gone")));
}

#include "view/cover_bitmap.h"

#include "platform/byte_writer.h"
#include "view/output_file.h"

#include <stdexcept>

namespace view {

using platform::ByteWriter;

namespace {

constexpr std::size_t kRowBytes = static_cast<std::size_t>(kCoverWidth) * 3;
constexpr std::size_t kPixelBytes = kRowBytes * kCoverHeight;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 24;
// 72 dots per inch.
constexpr std::uint32_t kPixelsPerMetre = 2834;

void header(ByteWriter& out)
{
    out.text("BM");
    out.u32(static_cast<std::uint32_t>(kCoverBitmapSize));
    out.u32(0);
    out.u32(kFileHeaderSize + kInfoHeaderSize);
    out.u32(kInfoHeaderSize);
    out.u32(kCoverWidth);
    // Positive: the bottom row comes first.
    out.u32(kCoverHeight);
    out.u16(1);
    out.u16(kBitsPerPixel);
    out.u32(0);  // no compression
    out.u32(0);  // image size, not given
    out.u32(kPixelsPerMetre);
    out.u32(kPixelsPerMetre);
    out.u32(0);  // colours used
    out.u32(0);  // important colours
}

// One row of red, green, blue pixels as blue, green, red.
void bgrRow(ByteWriter& out, std::span<const std::uint8_t> rgb, std::vector<std::uint8_t>& scratch)
{
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        scratch[i] = rgb[i + 2];
        scratch[i + 1] = rgb[i + 1];
        scratch[i + 2] = rgb[i];
    }
    out.bytes(scratch);
}

}  // namespace

std::vector<std::uint8_t> coverBitmapBytes(std::span<const std::uint8_t> rgbRows)
{
    if (rgbRows.size() != kPixelBytes)
        throw std::invalid_argument("the pixels are not those of a whole cover");
    ByteWriter out;
    out.reserve(kCoverBitmapSize);
    header(out);
    std::vector<std::uint8_t> scratch(kRowBytes);
    for (std::size_t row = kCoverHeight; row-- > 0;)
        bgrRow(out, rgbRows.subspan(row * kRowBytes, kRowBytes), scratch);
    out.zeros(2);
    return out.take();
}

bool writeCoverBitmap(const CoverCanvas& canvas, const std::string& path)
{
    return writeOutputFile(path, coverBitmapBytes(canvas.rgbRows()));
}

}  // namespace view

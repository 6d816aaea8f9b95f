#include "qtgui/qt_cover_canvas.h"

#include "entry/liedkram_entry.h"
#include "interop/external_tools.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"
#include "view/cover_bitmap.h"
#include "view/cover_painting.h"
#include "view/cover_texts.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>

using qtgui::QtCoverCanvas;

namespace {

constexpr int kDpi = 96;
const view::FontDescription kSans{"DejaVu Sans", 120};

bool isWhite(QRgb pixel)
{
    return (pixel & 0xFFFFFF) == 0xFFFFFF;
}

// The leftmost and rightmost columns with a non-white pixel inside the box; -1 when none.
std::pair<int, int> inkColumns(const QImage& image, const view::Box& box)
{
    int first = -1;
    int last = -1;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (!isWhite(image.pixel(x, y))) {
                first = first < 0 ? x : std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

int nonWhiteOutside(const QImage& image, const view::Box& box)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!isWhite(image.pixel(x, y)) && (x < box.left || x >= box.right || y < box.top || y >= box.bottom))
                ++count;
    return count;
}

}  // namespace

TEST(QtCoverCanvas, PointHeightsBecomePixelHeights)
{
    EXPECT_EQ(QtCoverCanvas::pixelHeight(120, 96), 16);  // 12 points at 96 dpi
    EXPECT_EQ(QtCoverCanvas::pixelHeight(-120, 96), 16);  // the sign does not count
    EXPECT_EQ(QtCoverCanvas::pixelHeight(119, 96), 15);  // cut, not rounded
    EXPECT_EQ(QtCoverCanvas::pixelHeight(120, 120), 20);
    EXPECT_EQ(QtCoverCanvas::pixelHeight(5, 96), 1);  // no font of 0 pixels
    EXPECT_EQ(QtCoverCanvas::pixelHeight(2000000000, 96), 266666666);
}

TEST(QtCoverCanvas, SelectsTheDescribedFont)
{
    QtCoverCanvas canvas(kDpi);
    canvas.selectFont({"DejaVu Serif", 240, 700, true, true, false});
    EXPECT_EQ(canvas.font().pixelSize(), 32);
    EXPECT_EQ(canvas.font().family(), "DejaVu Serif");
    EXPECT_EQ(canvas.font().weight(), QFont::Bold);
    EXPECT_TRUE(canvas.font().italic());
    EXPECT_TRUE(canvas.font().underline());
    EXPECT_FALSE(canvas.font().strikeOut());

    const auto small = canvas.measureText("Waterloo");
    canvas.selectFont({"DejaVu Serif", 480});
    const auto large = canvas.measureText("Waterloo");
    EXPECT_GE(small.height, 32);
    EXPECT_NEAR(large.width, 2 * small.width, small.width / 4);
    EXPECT_GT(large.height, small.height);
}

TEST(QtCoverCanvas, ForTheScreenSizesFontsByItsResolution)
{
    const auto canvas = QtCoverCanvas::forScreen();
    ASSERT_TRUE(canvas);
    canvas->selectFont({"DejaVu Sans", 720});
    EXPECT_EQ(canvas->font().pixelSize(), qtgui::screenVerticalDpi());
    EXPECT_EQ(canvas->image().size(), QSize(1800, 1407));
    EXPECT_EQ(canvas->image().pixel(900, 700), qRgb(255, 255, 255));
}

TEST(QtCoverCanvas, MeasuresAmpersandsAsTheyStand)
{
    QtCoverCanvas canvas(kDpi);
    canvas.selectFont(kSans);
    // Advances are fractional; the sum is rounded once.
    const int one = canvas.measureText("&").width;
    EXPECT_NEAR(canvas.measureText("&&").width, 2 * one, 1);
    EXPECT_NEAR(canvas.measureText("A&&B").width - canvas.measureText("A&B").width, one, 1);
    EXPECT_EQ(canvas.measureText("").width, 0);
}

TEST(QtCoverCanvas, DrawsDoubledAmpersandsOnce)
{
    QtCoverCanvas canvas(kDpi);
    canvas.selectFont(kSans);
    const int three = canvas.measureText("&&&").width;
    const view::Box box{200, 200, 900, 260};
    canvas.drawText("&&&&&&", box);
    const auto [first, last] = inkColumns(canvas.image(), box);
    ASSERT_GE(first, 200);
    EXPECT_LE(last - 200, three + 1);
    EXPECT_GT(last - 200, three * 2 / 3);
}

TEST(QtCoverCanvas, TextStaysInsideItsBoxInItsColour)
{
    QtCoverCanvas canvas(kDpi);
    canvas.selectFont({"DejaVu Sans", 300});
    canvas.setTextColour(view::kCoverBlue);
    const view::Box box{300, 400, 360, 420};
    canvas.drawText("Simon & Garfunkel - The Sound of Silence", box);
    EXPECT_EQ(nonWhiteOutside(canvas.image(), box), 0);
    const auto [first, last] = inkColumns(canvas.image(), box);
    ASSERT_GE(first, 300);
    EXPECT_GT(last, 340);  // the text runs on to the box's right edge
    int blue = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            blue += canvas.image().pixel(x, y) == qRgb(0, 0, 255);
    EXPECT_GT(blue, 20);
}

TEST(QtCoverCanvas, RectanglesHaveAOnePixelOutline)
{
    QtCoverCanvas canvas(kDpi);
    canvas.drawRectangle({10, 20, 30, 40}, view::kCoverRed, view::kCoverBlue);
    const QImage& image = canvas.image();
    EXPECT_EQ(image.pixel(10, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(29, 39), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(29, 25), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(11, 21), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(28, 38), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(30, 40), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(9, 19), qRgb(255, 255, 255));
}

TEST(QtCoverCanvas, PixelsAreReadAsRgbRowsFromTheTop)
{
    QtCoverCanvas canvas(kDpi);
    canvas.drawRectangle({0, 0, 1, 1}, {1, 2, 3}, {1, 2, 3});
    canvas.drawRectangle({1799, 1406, 1800, 1407}, {4, 5, 6}, {4, 5, 6});
    const auto rgb = canvas.rgbRows();
    ASSERT_EQ(rgb.size(), 1800u * 1407 * 3);
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.begin(), rgb.begin() + 6),
              (std::vector<std::uint8_t>{1, 2, 3, 255, 255, 255}));
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.end() - 6, rgb.end()), (std::vector<std::uint8_t>{255, 255, 255, 4, 5, 6}));
}

class QtCover : public testsupport::SeamTest {
protected:
    view::CoverTexts twoTitles()
    {
        CLiedkramEntry& first = entries_.emplace_back();
        first.m_szArtist = "Abba";
        first.m_szTitle = "Waterloo";
        first.m_nLengthMs = 185200;
        CLiedkramEntry& second = entries_.emplace_back();
        second.m_szArtist = "Simon & Garfunkel";
        second.m_szTitle = "Cecilia";
        second.m_nLengthMs = 640000;
        return view::coverTexts({&first, &second});
    }

    std::deque<CLiedkramEntry> entries_;
    testsupport::TempDir dir_;
};

TEST_F(QtCover, TwoTitlesMakeABitmapThatReadersRead)
{
    QtCoverCanvas canvas(kDpi);
    const auto texts = twoTitles();
    const auto fit = view::drawCover(canvas, texts, kSans);
    EXPECT_GE(fit.rounds, 3);
    EXPECT_LE(fit.fill, 0.97);
    EXPECT_GE(fit.fill, 0.85);

    const auto path = dir_.file("cover.bmp");
    ASSERT_TRUE(view::writeCoverBitmap(canvas, path));
    const auto bytes = testsupport::readFile(path);
    ASSERT_EQ(bytes.size(), view::kCoverBitmapSize);

    const QImage& image = canvas.image();
    for (const int y : {0, 1, 700, 1405, 1406}) {
        EXPECT_EQ(image.pixel(0, y), qRgb(0, 0, 0)) << y;
        EXPECT_EQ(image.pixel(1799, y), qRgb(0, 0, 0)) << y;
        EXPECT_EQ(image.pixel(100, y), qRgb(0, 0, 0)) << y;  // spines
        EXPECT_EQ(image.pixel(1699, y), qRgb(0, 0, 0)) << y;
        EXPECT_EQ(image.pixel(50, y), y == 0 || y == 1406 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << y;
        EXPECT_EQ(image.pixel(1750, y), y == 0 || y == 1406 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << y;
    }
    for (const int x : {1, 99, 101, 900, 1698, 1700, 1798}) {
        EXPECT_EQ(image.pixel(x, 0), qRgb(0, 0, 0)) << x;
        EXPECT_EQ(image.pixel(x, 1406), qRgb(0, 0, 0)) << x;
        EXPECT_EQ(image.pixel(x, 1), qRgb(255, 255, 255)) << x;
    }

    // All text lies in the block between the spines, red numbers and blue lengths among it.
    const auto layout = view::coverLayout(fit.measures, 2);
    const int lineHeight = fit.measures.lineHeight;
    const view::Box block{layout.left, layout.top, 1699, layout.top + 3 * lineHeight};
    ASSERT_GT(block.left, 100);
    int red = 0;
    int blue = 0;
    int dark = 0;
    QPoint firstRed;
    for (int y = 1; y < 1406; ++y) {
        for (int x = 101; x < 1699; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (isWhite(pixel))
                continue;
            EXPECT_TRUE(x >= block.left && y >= block.top && y < block.bottom) << x << "," << y;
            if (qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60 && red++ == 0)
                firstRed = {x, y};
            blue += qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60;
            dark += qRed(pixel) < 60 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
        }
    }
    EXPECT_GT(red, 20);
    EXPECT_GT(blue, 100);
    EXPECT_GT(dark, 500);
    EXPECT_LT(firstRed.x(), layout.left + fit.measures.numberWidth + 20);

    const auto result = interop::runProgram({interop::kPython, LIEDKRAM_BMP_PROBE, path, "0", "0", "100", "700", "50",
                                             "700", std::to_string(firstRed.x()), std::to_string(firstRed.y())});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    std::ostringstream expected;
    const QRgb redPixel = image.pixel(firstRed);
    expected << "BMP RGB 1800 1407\n0 0 0 0 0\n100 700 0 0 0\n50 700 255 255 255\n"
             << firstRed.x() << " " << firstRed.y() << " " << qRed(redPixel) << " " << qGreen(redPixel) << " "
             << qBlue(redPixel) << "\n";
    EXPECT_EQ(result.output, expected.str());
    EXPECT_EQ(bytes[28], 24);  // bits per pixel
}

TEST_F(QtCover, FortyNineTitlesFitBetweenTheSpines)
{
    std::vector<const CLiedkramEntry*> selection;
    for (int i = 0; i < 49; ++i) {
        CLiedkramEntry& entry = entries_.emplace_back();
        entry.m_szArtist = "K\xFCnstler " + std::to_string(i);
        entry.m_szTitle = "Ein ziemlich langer Titel & mehr";
        entry.m_nLengthMs = 1000 * (60 + 13 * i);
        selection.push_back(&entry);
    }
    QtCoverCanvas canvas(kDpi);
    const auto fit = view::drawCover(canvas, view::coverTexts(selection), kSans);
    EXPECT_LE(fit.fill, 0.97);
    EXPECT_LT(fit.rounds, view::kMaxFittingRounds);
    const auto layout = view::coverLayout(fit.measures, 49);
    EXPECT_GT(layout.left, 100);
    EXPECT_GE(layout.top, 1);
}

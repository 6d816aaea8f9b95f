#include "qtgui/qt_cover_canvas.h"

#include "platform/prompter.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <span>

namespace qtgui {

namespace {

constexpr int kDefaultDpi = 96;

QColor qColor(view::Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

QRect qRect(const view::Box& box)
{
    return QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
}

QString qText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int screenVerticalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY()) : kDefaultDpi;
}

QtCoverCanvas::QtCoverCanvas(int verticalDpi)
    : verticalDpi_(verticalDpi), image_(view::kCoverWidth, view::kCoverHeight, QImage::Format_RGB32)
{
    if (image_.isNull())
        throw std::bad_alloc();
    image_.fill(Qt::white);
}

std::unique_ptr<QtCoverCanvas> QtCoverCanvas::forScreen()
{
    try {
        return std::make_unique<QtCoverCanvas>(screenVerticalDpi());
    } catch (const std::bad_alloc&) {
        platform::prompter().showMessage("Cannot create the cover image of 1800 x 1407 pixels: not enough memory.");
        return nullptr;
    }
}

// A point font of h tenths of a point has, at v dots per inch, a character
// height (the em height, without the internal leading) of |v * h / 720|
// pixels; QFont's pixel size is that em height, so it is set directly, and a
// height of 0 pixels, which Qt cannot make, becomes 1.
int QtCoverCanvas::pixelHeight(int height, int verticalDpi)
{
    const long long pixels = std::llabs(static_cast<long long>(verticalDpi) * height / 720);
    return static_cast<int>(std::clamp<long long>(pixels, 1, std::numeric_limits<int>::max()));
}

void QtCoverCanvas::selectFont(const view::FontDescription& font)
{
    QFont made(qText(font.face));
    made.setPixelSize(pixelHeight(font.height, verticalDpi_));
    // Weights share the scale of 100 to 900; 0 asks for no particular weight.
    made.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 1, 1000)));
    made.setItalic(font.italic);
    made.setUnderline(font.underline);
    made.setStrikeOut(font.strikeOut);
    font_ = made;
}

view::TextExtent QtCoverCanvas::measureText(std::string_view text)
{
    const QFontMetrics metrics(font_, &image_);
    return {metrics.horizontalAdvance(qText(text)), metrics.height()};
}

void QtCoverCanvas::setTextColour(view::Rgb colour)
{
    textColour_ = qColor(colour);
}

void QtCoverCanvas::drawText(std::string_view text, const view::Box& box)
{
    QPainter painter(&image_);
    painter.setFont(font_);
    painter.setPen(textColour_);
    // Text is laid on white, so a text that crosses a line stays readable.
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QRect rect = qRect(box);
    painter.setClipRect(rect);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, qText(text));
}

void QtCoverCanvas::drawRectangle(const view::Box& box, view::Rgb outline, view::Rgb fill)
{
    QPainter painter(&image_);
    painter.fillRect(qRect(box), qColor(outline));
    const view::Box inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    painter.fillRect(qRect(inner), qColor(fill));
}

std::vector<std::uint8_t> QtCoverCanvas::rgbRows() const
{
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(view::kCoverWidth) * view::kCoverHeight * 3);
    for (int y = 0; y < view::kCoverHeight; ++y) {
        // A row of an RGB32 image is its width in 32-bit pixels.
        const std::span<const QRgb> line(reinterpret_cast<const QRgb*>(image_.constScanLine(y)), view::kCoverWidth);
        for (const QRgb pixel : line) {
            rgb.push_back(static_cast<std::uint8_t>(qRed(pixel)));
            rgb.push_back(static_cast<std::uint8_t>(qGreen(pixel)));
            rgb.push_back(static_cast<std::uint8_t>(qBlue(pixel)));
        }
    }
    return rgb;
}

}  // namespace qtgui

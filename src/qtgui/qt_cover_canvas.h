#pragma once

#include "view/cover_canvas.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <memory>

namespace qtgui {

// The cover canvas over an image in memory, drawn with QPainter.
class QtCoverCanvas : public view::CoverCanvas {
public:
    // A canvas whose fonts are sized for the given vertical resolution.
    // Throws std::bad_alloc when the image cannot be allocated.
    explicit QtCoverCanvas(int verticalDpi);

    // A canvas for the primary screen's resolution; when the image cannot
    // be allocated, the user is told and there is none.
    static std::unique_ptr<QtCoverCanvas> forScreen();

    void selectFont(const view::FontDescription& font) override;
    view::TextExtent measureText(std::string_view text) override;
    void setTextColour(view::Rgb colour) override;
    void drawText(std::string_view text, const view::Box& box) override;
    void drawRectangle(const view::Box& box, view::Rgb outline, view::Rgb fill) override;
    std::vector<std::uint8_t> rgbRows() const override;

    const QImage& image() const { return image_; }
    const QFont& font() const { return font_; }

    // The pixel height of a font of height tenths of a point.
    static int pixelHeight(int height, int verticalDpi);

private:
    int verticalDpi_;
    QImage image_;
    QFont font_;
    QColor textColour_ = Qt::black;
};

// The primary screen's vertical resolution in dots per inch; 96 without a screen.
int screenVerticalDpi();

}  // namespace qtgui

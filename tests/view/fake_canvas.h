#pragma once

#include "view/cover_canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace viewtest {

// A canvas of known metrics that records what is done to it. By default a
// font of height h (tenths of a point) is |h| / 10 pixels high and every
// character, "&" included, half that wide.
class FakeCanvas : public view::CoverCanvas {
public:
    struct Drawn {
        std::string text;
        view::Box box;
        view::Rgb colour;
        int fontHeight;

        friend bool operator==(const Drawn&, const Drawn&) = default;
    };
    struct Rectangle {
        view::Box box;
        view::Rgb outline;
        view::Rgb fill;

        friend bool operator==(const Rectangle&, const Rectangle&) = default;
    };

    // Replaces the metrics: given the selected font's height and a text.
    std::function<view::TextExtent(int height, const std::string& text)> metrics;

    void selectFont(const view::FontDescription& font) override;
    view::TextExtent measureText(std::string_view text) override;
    void setTextColour(view::Rgb colour) override { colour_ = colour; }
    void drawText(std::string_view text, const view::Box& box) override;
    void drawRectangle(const view::Box& box, view::Rgb outline, view::Rgb fill) override;
    // A pattern that tells every pixel apart: red x, green y, blue x + y, each modulo 256.
    std::vector<std::uint8_t> rgbRows() const override;

    std::vector<int> selectedHeights;
    std::vector<std::string> measured;
    std::vector<Drawn> drawn;
    std::vector<Rectangle> rectangles;

private:
    int height_ = 0;
    view::Rgb colour_;
};

// The number of characters of a UTF-8 text.
int characters(const std::string& text);

}  // namespace viewtest

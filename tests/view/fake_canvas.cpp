#include "fake_canvas.h"

#include <cstdlib>

namespace viewtest {

int characters(const std::string& text)
{
    int count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

void FakeCanvas::selectFont(const view::FontDescription& font)
{
    height_ = font.height;
    selectedHeights.push_back(font.height);
}

view::TextExtent FakeCanvas::measureText(std::string_view text)
{
    measured.emplace_back(text);
    if (metrics)
        return metrics(height_, std::string(text));
    const int pixels = std::abs(height_) / 10;
    return {characters(std::string(text)) * (pixels / 2), pixels};
}

void FakeCanvas::drawText(std::string_view text, const view::Box& box)
{
    drawn.push_back({std::string(text), box, colour_, height_});
}

void FakeCanvas::drawRectangle(const view::Box& box, view::Rgb outline, view::Rgb fill)
{
    rectangles.push_back({box, outline, fill});
}

std::vector<std::uint8_t> FakeCanvas::rgbRows() const
{
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(view::kCoverWidth) * view::kCoverHeight * 3);
    for (int y = 0; y < view::kCoverHeight; ++y) {
        for (int x = 0; x < view::kCoverWidth; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x));
            rgb.push_back(static_cast<std::uint8_t>(y));
            rgb.push_back(static_cast<std::uint8_t>(x + y));
        }
    }
    return rgb;
}

}  // namespace viewtest

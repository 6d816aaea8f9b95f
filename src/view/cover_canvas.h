#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace view {

inline constexpr int kCoverWidth = 1800;
inline constexpr int kCoverHeight = 1407;

// Positions far outside the cover, from fonts that never fit, are held to int.
int clampToInt(std::int64_t value);

// A font as the user picked it. The height counts tenths of a point: a
// canvas at a vertical resolution of v dots per inch gives it a character
// height of |v * height / 720| pixels.
struct FontDescription {
    std::string face;  // UTF-8
    int height = 0;
    int weight = 400;  // 100 thin ... 400 normal ... 700 bold ... 900 black
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixel edges: left and top inside, right and bottom just outside.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const Box&, const Box&) = default;
};

// The drawing surface of the CD cover: an image of kCoverWidth x
// kCoverHeight pixels with one selected font and one text colour. Texts are
// UTF-8.
class CoverCanvas {
public:
    virtual ~CoverCanvas() = default;

    // Makes a font built from the description the selected one.
    virtual void selectFont(const FontDescription& font) = 0;
    // The width and line height of the text in the selected font, every
    // character as it stands ("&&" measures as two).
    virtual TextExtent measureText(std::string_view text) = 0;
    virtual void setTextColour(Rgb colour) = 0;
    // Draws the text in the selected font and text colour on a white
    // background, left-aligned at the top of the box and clipped to it. "&"
    // is a prefix character: "&&" shows as one "&", "&x" as an underlined x.
    virtual void drawText(std::string_view text, const Box& box) = 0;
    // Fills the box and draws a one-pixel outline along its inner edge.
    virtual void drawRectangle(const Box& box, Rgb outline, Rgb fill) = 0;
    // The image's pixels: rows from the top, each kCoverWidth pixels of red,
    // green and blue bytes.
    virtual std::vector<std::uint8_t> rgbRows() const = 0;
};

}  // namespace view

#pragma once

#include "view/cover_canvas.h"

#include <string>
#include <string_view>

namespace cli {

// The font of the cover as given on the command line: "FAMILY[,POINTS]".
struct CoverFont {
    static constexpr double kDefaultPoints = 12;
    static constexpr double kMaxPoints = 1000;

    std::string family;
    double points = kDefaultPoints;
};

// The text after the last comma is the point size, a number above 0 and up
// to kMaxPoints; spaces around either part do not count. Throws UsageError
// for an empty family or a bad size.
CoverFont parseCoverFont(std::string_view text);

// The font as the fitting takes it, the way the desktop's font dialog
// reports a choice: its height is the negative character height in pixels
// at the canvas's resolution, round(points * dpi / 72), at least 1.
view::FontDescription coverFontDescription(const CoverFont& font, int verticalDpi);

}  // namespace cli

#pragma once

#include "view/cover_canvas.h"
#include "view/cover_texts.h"

#include <vector>

namespace view {

// The fitting measures at most this many font sizes; a font whose sizes
// never fill the cover well keeps the last one.
inline constexpr int kMaxFittingRounds = 50;

// What the texts measure in one font, in pixels.
struct CoverMeasures {
    int lineHeight = 0;  // the tallest text
    int minutesWidth = 0;  // the widest minutes text, total included
    int lengthWidth = 0;  // the widest length text, total included
    int titleWidth = 0;  // the widest title line
    int numberWidth = 0;  // the widest number text, the one after the last title included

    friend bool operator==(const CoverMeasures&, const CoverMeasures&) = default;
};

struct CoverFit {
    FontDescription font;  // the font selected for drawing
    CoverMeasures measures;
    std::vector<int> titleMinutesWidths;  // of each title's minutes text
    int totalMinutesWidth = 0;
    double fill = 0;  // how much of the cover the block fills, 1 for exactly
    int rounds = 0;
};

// Scales the chosen font toward a block of texts that fills 94.5 per cent of
// the cover's height or width, whichever it fills more, until after at least
// three sizes it fills no more than 97 per cent. The canvas keeps the fitted
// font selected.
CoverFit fitCoverFont(CoverCanvas& canvas, const CoverTexts& texts, const FontDescription& chosen);

// Where the block of texts lies: its left edge, and the top of its first line.
struct CoverLayout {
    int left = 0;
    int top = 0;
};

// Centres the block in the cover: the titles and the total line below them.
CoverLayout coverLayout(const CoverMeasures& measures, std::size_t titleCount);

}  // namespace view

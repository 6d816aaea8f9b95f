#pragma once

#include "view/cover_canvas.h"
#include "view/cover_fitting.h"
#include "view/cover_texts.h"

namespace view {

inline constexpr Rgb kCoverBlack{0, 0, 0};
inline constexpr Rgb kCoverWhite{255, 255, 255};
inline constexpr Rgb kCoverRed{255, 0, 0};
inline constexpr Rgb kCoverBlue{0, 0, 255};

// Draws the cover in the font the fitting left selected: the white image
// with a black border and the two spine lines, then the numbers in red, the
// lengths in blue with their colons in one column, the title lines in black
// and the total length in black on the line below the last title.
void paintCover(CoverCanvas& canvas, const CoverTexts& texts, const CoverFit& fit);

// Fits the chosen font to the texts and draws the cover with it.
CoverFit drawCover(CoverCanvas& canvas, const CoverTexts& texts, const FontDescription& chosen);

}  // namespace view

#include "view/cover_painting.h"

#include <algorithm>

#include <cstdint>

namespace view {

namespace {

// The spines of the case's back insert.
constexpr int kSpineLeft = 100;
constexpr int kSpineRight = 1700;
// Room behind the numbers, before the length column, and behind a text in its box.
constexpr int kNumberGap = 20;
constexpr int kLengthGap = 40;
constexpr int kTextMargin = 10;

// The lines of the block, in 64 bits so that a font too large to fit
// cannot overflow them.
class BlockLines {
public:
    BlockLines(const CoverMeasures& measures, std::size_t titleCount)
        : layout_(coverLayout(measures, titleCount)), height_(measures.lineHeight)
    {
    }

    // The box from left to right on line k, counted from 1.
    Box box(std::size_t k, std::int64_t left, std::int64_t right) const
    {
        const std::int64_t top = layout_.top + static_cast<std::int64_t>(k - 1) * height_;
        return {clampToInt(left), clampToInt(top), clampToInt(right), clampToInt(top + height_)};
    }

    std::int64_t left() const { return layout_.left; }

private:
    CoverLayout layout_;
    std::int64_t height_;
};

}  // namespace

void paintCover(CoverCanvas& canvas, const CoverTexts& texts, const CoverFit& fit)
{
    canvas.drawRectangle({0, 0, kCoverWidth, kCoverHeight}, kCoverBlack, kCoverWhite);
    canvas.drawRectangle({kSpineLeft, 0, kSpineRight, kCoverHeight}, kCoverBlack, kCoverWhite);

    const CoverMeasures& m = fit.measures;
    const std::size_t n = texts.titles.size();
    const BlockLines lines(m, n);
    const std::int64_t numberLeft = lines.left();
    const std::int64_t titleLeft = numberLeft + m.numberWidth + kNumberGap;
    // Lengths start left of this column by their minutes, so the colons line up.
    const std::int64_t colonColumn =
        numberLeft + std::int64_t{m.numberWidth} + m.titleWidth + m.minutesWidth + kLengthGap;

    canvas.setTextColour(kCoverRed);
    for (std::size_t k = 1; k <= n; ++k)
        canvas.drawText(texts.titles[k - 1].number, lines.box(k, numberLeft, titleLeft));

    canvas.setTextColour(kCoverBlue);
    for (std::size_t k = 1; k <= n; ++k) {
        const std::int64_t left = colonColumn - fit.titleMinutesWidths.at(k - 1);
        canvas.drawText(texts.titles[k - 1].length, lines.box(k, left, left + m.lengthWidth + kTextMargin));
    }

    canvas.setTextColour(kCoverBlack);
    for (std::size_t k = 1; k <= n; ++k)
        canvas.drawText(texts.titles[k - 1].line, lines.box(k, titleLeft, titleLeft + m.titleWidth + kTextMargin));

    // The total's box is as wide as the title column; when the titles are
    // shorter than the lengths, as wide as the length column, so the total
    // is never cut off.
    const std::int64_t totalLeft = colonColumn - fit.totalMinutesWidth;
    const std::int64_t totalWidth = std::max<std::int64_t>(m.titleWidth, m.lengthWidth);
    canvas.drawText(texts.totalLength, lines.box(n + 1, totalLeft, totalLeft + totalWidth + kTextMargin));
}

CoverFit drawCover(CoverCanvas& canvas, const CoverTexts& texts, const FontDescription& chosen)
{
    CoverFit fit = fitCoverFont(canvas, texts, chosen);
    paintCover(canvas, texts, fit);
    return fit;
}

}  // namespace view

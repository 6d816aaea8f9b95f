#include "view/cover_fitting.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace view {

namespace {

constexpr double kFillTarget = 0.945;
constexpr double kFillLow = 0.92;
constexpr double kFillHigh = 0.97;
constexpr int kMinRounds = 3;
// The space the block may fill: the height between the borders, and the
// width between the spines.
constexpr int kFillHeight = 1405;
constexpr int kFillWidth = 1598;
// Room between the columns of the block.
constexpr int kColumnGaps = 40;

int scaledHeight(int height, double factor)
{
    const double scaled = std::trunc(height * factor);
    return static_cast<int>(std::clamp(scaled, static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

void raise(int& measure, int value)
{
    measure = std::max(measure, value);
}

// Measures every text in the selected font.
void measure(CoverCanvas& canvas, const CoverTexts& texts, CoverFit& fit)
{
    CoverMeasures m;
    fit.titleMinutesWidths.clear();
    m.numberWidth = canvas.measureText(texts.nextNumber).width;
    for (const CoverTitle& title : texts.titles) {
        const TextExtent number = canvas.measureText(title.number);
        raise(m.numberWidth, number.width);
        raise(m.lineHeight, number.height);
        const TextExtent line = canvas.measureText(title.line);
        raise(m.titleWidth, line.width);
        raise(m.lineHeight, line.height);
        const int minutes = canvas.measureText(title.minutes).width;
        fit.titleMinutesWidths.push_back(minutes);
        raise(m.minutesWidth, minutes);
        const TextExtent length = canvas.measureText(title.length);
        raise(m.lengthWidth, length.width);
        raise(m.lineHeight, length.height);
    }
    fit.totalMinutesWidth = canvas.measureText(texts.totalMinutes).width;
    raise(m.minutesWidth, fit.totalMinutesWidth);
    const TextExtent total = canvas.measureText(texts.totalLength);
    raise(m.lengthWidth, total.width);
    raise(m.lineHeight, total.height);
    fit.measures = m;
}

double fillOf(const CoverMeasures& m, std::size_t titleCount)
{
    const double height = static_cast<double>(titleCount + 1) * m.lineHeight / kFillHeight;
    const double width = (static_cast<double>(m.titleWidth) + m.lengthWidth + m.numberWidth + kColumnGaps) / kFillWidth;
    return std::max(height, width);
}

}  // namespace

CoverFit fitCoverFont(CoverCanvas& canvas, const CoverTexts& texts, const FontDescription& chosen)
{
    CoverFit fit;
    fit.font = chosen;
    fit.fill = kFillTarget;
    while (fit.rounds < kMaxFittingRounds) {
        if (fit.rounds >= kMinRounds && fit.fill <= kFillHigh)
            break;
        if (fit.fill < kFillLow || fit.fill > kFillHigh)
            fit.font.height = scaledHeight(fit.font.height, kFillTarget / fit.fill);
        canvas.selectFont(fit.font);
        measure(canvas, texts, fit);
        fit.fill = fillOf(fit.measures, texts.titles.size());
        ++fit.rounds;
    }
    return fit;
}

CoverLayout coverLayout(const CoverMeasures& measures, std::size_t titleCount)
{
    const std::int64_t blockWidth =
        std::int64_t{measures.lengthWidth} + measures.titleWidth + measures.numberWidth + kColumnGaps;
    const std::int64_t blockHeight = std::int64_t{measures.lineHeight} * static_cast<std::int64_t>(titleCount + 1);
    return {clampToInt((kCoverWidth - blockWidth) / 2), clampToInt((kCoverHeight - blockHeight) / 2)};
}

}  // namespace view

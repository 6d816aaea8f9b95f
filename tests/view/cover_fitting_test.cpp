#include "view/cover_fitting.h"

#include "fake_canvas.h"
#include "view_entries.h"

#include <gtest/gtest.h>

using viewtest::Entries;
using viewtest::FakeCanvas;

namespace {

// Abba 3:05.2 and Simon & Garfunkel 10:40.0: in the default fake metrics
// at height 800 (80 pixels high, 40 wide) the block is 1520 pixels wide.
view::CoverTexts twoTitles()
{
    Entries entries;
    entries.add("Abba", "Waterloo", 185200);
    entries.add("Simon & Garfunkel", "Cecilia", 640000);
    return view::coverTexts(entries.selection());
}

view::FontDescription font(int height)
{
    return {"Sans", height, 700, true, false, false};
}

// Title lines measure the width the round's entry gives; every other text is
// one pixel wide and high. The fill is then (width + 42) / 1598.
void scriptTitleWidths(FakeCanvas& canvas, std::vector<int> widths)
{
    canvas.metrics = [&canvas, widths](int, const std::string& text) -> view::TextExtent {
        const std::size_t round = std::min(canvas.selectedHeights.size(), widths.size()) - 1;
        if (text.find(" - ") != std::string::npos)
            return {widths[round], 1};
        return {1, 1};
    };
}

}  // namespace

TEST(CoverFitting, FontThatFillsTheCoverIsMeasuredThreeTimes)
{
    FakeCanvas canvas;
    const auto fit = view::fitCoverFont(canvas, twoTitles(), font(800));
    EXPECT_EQ(canvas.selectedHeights, (std::vector<int>{800, 800, 800}));
    EXPECT_EQ(fit.rounds, 3);
    EXPECT_EQ(fit.font, font(800));
    EXPECT_DOUBLE_EQ(fit.fill, 1520.0 / 1598);
    EXPECT_EQ(fit.measures, (view::CoverMeasures{80, 120, 280, 1120, 80}));
    EXPECT_EQ(fit.titleMinutesWidths, (std::vector<int>{80, 120}));
    EXPECT_EQ(fit.totalMinutesWidth, 120);
}

TEST(CoverFitting, AmpersandsAreMeasuredDoubled)
{
    FakeCanvas canvas;
    const auto fit = view::fitCoverFont(canvas, twoTitles(), font(800));
    EXPECT_NE(std::find(canvas.measured.begin(), canvas.measured.end(), "Simon && Garfunkel - Cecilia"),
              canvas.measured.end());
    EXPECT_EQ(fit.measures.titleWidth, 28 * 40);  // 27 characters shown, 28 measured
}

TEST(CoverFitting, EveryTextIsMeasuredInEachRound)
{
    FakeCanvas canvas;
    view::fitCoverFont(canvas, twoTitles(), font(800));
    const std::vector<std::string> round = {
        "3)",      "1)",  "Abba - Waterloo", "3:", "3:05.2", "2)", "Simon && Garfunkel - Cecilia", "10:",
        "10:40.0", "13:", "13:45.2"};
    ASSERT_EQ(canvas.measured.size(), 3 * round.size());
    EXPECT_EQ(std::vector<std::string>(canvas.measured.begin(), canvas.measured.begin() + 11), round);
}

TEST(CoverFitting, RescalesUntilTheFillIsInBandAfterTheThirdRound)
{
    FakeCanvas canvas;
    // Fills 1.0, 0.9499 (in band, kept), 0.9806 (too full after three rounds), 0.9299.
    scriptTitleWidths(canvas, {1556, 1476, 1525, 1444});
    const auto fit = view::fitCoverFont(canvas, twoTitles(), font(1001));
    // 1001 * 0.945 / 1.0 = 945.9; 945 * 0.945 / (1567 / 1598) = 910.7: both cut.
    EXPECT_EQ(canvas.selectedHeights, (std::vector<int>{1001, 945, 945, 910}));
    EXPECT_EQ(fit.rounds, 4);
    EXPECT_EQ(fit.font.height, 910);
    EXPECT_EQ(fit.font.face, "Sans");
    EXPECT_TRUE(fit.font.italic);
    EXPECT_DOUBLE_EQ(fit.fill, 1486.0 / 1598);
}

TEST(CoverFitting, NegativeHeightsAreCutTowardZero)
{
    FakeCanvas canvas;
    scriptTitleWidths(canvas, {1556, 1476, 1525, 1444});
    view::fitCoverFont(canvas, twoTitles(), font(-1001));
    EXPECT_EQ(canvas.selectedHeights, (std::vector<int>{-1001, -945, -945, -910}));
}

TEST(CoverFitting, AnEmptyLookingCoverEndsAfterThreeRounds)
{
    FakeCanvas canvas;
    scriptTitleWidths(canvas, {757});  // fill 0.5 in every round
    const auto fit = view::fitCoverFont(canvas, twoTitles(), font(1003));
    // 1003 * 1.89 = 1895.7, 1895 * 1.89 = 3581.6; a thin fill does not hold the loop.
    EXPECT_EQ(canvas.selectedHeights, (std::vector<int>{1003, 1895, 3581}));
    EXPECT_EQ(fit.rounds, 3);
}

TEST(CoverFitting, TallBlocksFillByTheirHeight)
{
    Entries entries;
    for (int i = 0; i < 9; ++i)
        entries.add("A", "B");
    FakeCanvas canvas;
    canvas.metrics = [](int, const std::string&) { return view::TextExtent{1, 100}; };
    const auto fit = view::fitCoverFont(canvas, view::coverTexts(entries.selection()), font(1000));
    // Ten lines of 100 pixels fill 1000 / 1405; 1000 * 0.945 * 1.405 = 1327.7, then 1761.9.
    EXPECT_EQ(canvas.selectedHeights, (std::vector<int>{1000, 1327, 1761}));
    EXPECT_DOUBLE_EQ(fit.fill, 1000.0 / 1405);
}

TEST(CoverFitting, StopsAfterFiftyRounds)
{
    FakeCanvas canvas;
    scriptTitleWidths(canvas, {5000});  // never fits, whatever the font
    const auto fit = view::fitCoverFont(canvas, twoTitles(), font(1000));
    EXPECT_EQ(fit.rounds, view::kMaxFittingRounds);
    EXPECT_EQ(canvas.selectedHeights.size(), 50u);
    EXPECT_EQ(fit.font.height, canvas.selectedHeights.back());
}

TEST(CoverLayout, CentresTheBlockCuttingHalvesTowardZero)
{
    const auto layout = view::coverLayout({80, 120, 280, 1120, 80}, 2);
    EXPECT_EQ(layout.left, 140);  // (1760 - 280 - 1120 - 80) / 2
    EXPECT_EQ(layout.top, 583);  // (1407 - 3 * 80) / 2 = 583.5

    const auto tooBig = view::coverLayout({1000, 0, 1000, 1000, 1}, 2);
    EXPECT_EQ(tooBig.left, -120);  // -241 / 2
    EXPECT_EQ(tooBig.top, -796);  // -1593 / 2
}

#include "view/cover_painting.h"

#include "fake_canvas.h"
#include "view_entries.h"

#include <gtest/gtest.h>

using view::Box;
using view::kCoverBlack;
using view::kCoverBlue;
using view::kCoverRed;
using view::kCoverWhite;
using viewtest::FakeCanvas;
using Drawn = FakeCanvas::Drawn;

namespace {

view::CoverTexts twoTitles()
{
    viewtest::Entries entries;
    entries.add("Abba", "Waterloo", 185200);
    entries.add("Simon & Garfunkel", "Cecilia", 640000);
    return view::coverTexts(entries.selection());
}

}  // namespace

TEST(CoverPainting, DrawsBorderSpinesAndTextsInOrder)
{
    FakeCanvas canvas;
    const auto fit = view::drawCover(canvas, twoTitles(), {"Sans", 800});
    ASSERT_EQ(fit.rounds, 3);

    EXPECT_EQ(canvas.rectangles, (std::vector<FakeCanvas::Rectangle>{
                                     {{0, 0, 1800, 1407}, kCoverBlack, kCoverWhite},
                                     {{100, 0, 1700, 1407}, kCoverBlack, kCoverWhite},
                                 }));
    // Block: numbers 80 wide from x 140, titles 1120, minutes 120, lengths
    // 280; lines 80 high from y 583; the colons' column ends at x 1500.
    EXPECT_EQ(canvas.drawn, (std::vector<Drawn>{
                                {"1)", {140, 583, 240, 663}, kCoverRed, 800},
                                {"2)", {140, 663, 240, 743}, kCoverRed, 800},
                                {"3:05.2", {1420, 583, 1710, 663}, kCoverBlue, 800},
                                {"10:40.0", {1380, 663, 1670, 743}, kCoverBlue, 800},
                                {"Abba - Waterloo", {240, 583, 1370, 663}, kCoverBlack, 800},
                                {"Simon && Garfunkel - Cecilia", {240, 663, 1370, 743}, kCoverBlack, 800},
                                {"13:45.2", {1380, 743, 2510, 823}, kCoverBlack, 800},
                            }));
}

TEST(CoverPainting, ColonsOfAllLengthsLineUp)
{
    FakeCanvas canvas;
    const auto texts = twoTitles();
    view::drawCover(canvas, texts, {"Sans", 800});
    // Each length starts left of the colon column by its minutes' width.
    const std::vector<std::string> minutes = {texts.titles[0].minutes, texts.titles[1].minutes, texts.totalMinutes};
    const std::vector<Drawn> lengths = {canvas.drawn[2], canvas.drawn[3], canvas.drawn[6]};
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        EXPECT_EQ(lengths[i].text.substr(0, minutes[i].size()), minutes[i]);
        EXPECT_EQ(lengths[i].box.left + viewtest::characters(minutes[i]) * 40, 1500) << lengths[i].text;
    }
}

TEST(CoverPainting, UsesTheFontTheFittingLeftSelected)
{
    FakeCanvas canvas;
    canvas.metrics = [](int height, const std::string& text) {
        return view::TextExtent{viewtest::characters(text) * height / 40, height / 20};
    };
    const auto fit = view::drawCover(canvas, twoTitles(), {"Sans", 600});
    ASSERT_NE(fit.font.height, 600);
    for (const Drawn& drawn : canvas.drawn)
        EXPECT_EQ(drawn.fontHeight, fit.font.height);
    EXPECT_EQ(canvas.selectedHeights.back(), fit.font.height);
    EXPECT_EQ(canvas.drawn.front().box.bottom - canvas.drawn.front().box.top, fit.measures.lineHeight);
}

TEST(CoverPainting, TheTotalIsNeverCutOffByShortTitles)
{
    viewtest::Entries entries;
    entries.add("A", "B", 185200);
    entries.add("C", "D", 640000);
    FakeCanvas canvas;
    view::drawCover(canvas, view::coverTexts(entries.selection()), {"Sans", 800});
    const Drawn& total = canvas.drawn.back();
    ASSERT_EQ(total.text, "13:45.2");
    // The fake canvas draws 1/20 of the font height per character.
    EXPECT_GE(total.box.right - total.box.left, viewtest::characters(total.text) * total.fontHeight / 20);
}

#include "view/list_statistics.h"

#include "support/seam_fixture.h"
#include "view_entries.h"

#include <gtest/gtest.h>

using viewtest::Entries;

namespace {

CLiedkramEntry& track(Entries& entries, int bytes, int ms, int bitrate)
{
    CLiedkramEntry& entry = entries.add("A", "T", ms);
    entry.m_nFileSize = bytes;
    entry.m_nBitrate = bitrate;
    return entry;
}

std::string statisticsOf(const Entries& entries)
{
    return view::statisticsText(view::sumStatistics(entries.selection()));
}

// The line of the text that begins with the label.
std::string line(const std::string& text, const std::string& label)
{
    const auto start = text.find(label + ":\t");
    if (start == std::string::npos)
        return "(no " + label + ")";
    const auto end = text.find('\n', start);
    return text.substr(start + label.size() + 2,
                       end == std::string::npos ? std::string::npos : end - start - label.size() - 2);
}

}  // namespace

TEST(Statistics, TwoTitlesSumUpAndAverage)
{
    Entries entries;
    track(entries, 3145728, 180000, 128000);
    track(entries, 1572864, 240000, 128000);
    EXPECT_EQ(statisticsOf(entries), "Titel:\t2\n"
                                     "Gr\u00F6\u00DFe:\t4.50 MB\n"
                                     "L\u00E4nge:\t0:07:00.0 h\n"
                                     "DGr\u00F6\u00DFe:\t2.25 MB\n"
                                     "DL\u00E4nge:\t03:30.0 min\n"
                                     "DBitrate:\t128.00 kbit/s");
}

TEST(Statistics, HundredthsAreCutNotRounded)
{
    Entries entries;
    track(entries, 1048575, 1000, 128000);
    const auto text = statisticsOf(entries);
    EXPECT_EQ(line(text, "Gr\u00F6\u00DFe"), "0.99 MB");
    EXPECT_EQ(line(text, "DGr\u00F6\u00DFe"), "0.99 MB");
}

TEST(Statistics, AverageLengthShowsMinutesModulo60)
{
    Entries entries;
    track(entries, 1, 75 * 60000 + 1234, 128000);
    const auto text = statisticsOf(entries);
    EXPECT_EQ(line(text, "DL\u00E4nge"), "15:01.2 min");
    EXPECT_EQ(line(text, "L\u00E4nge"), "1:15:01.2 h");
}

TEST(Statistics, BitrateIsWeightedByLength)
{
    Entries entries;
    track(entries, 1, 1000, 192000);
    track(entries, 1, 3000, 128000);
    EXPECT_EQ(line(statisticsOf(entries), "DBitrate"), "144.00 kbit/s");
}

TEST(Statistics, EachEntrysBitsAreCutBeforeTheyAreAdded)
{
    Entries entries;
    track(entries, 1, 1, 1999);
    track(entries, 1, 1, 1999);
    const auto sums = view::sumStatistics(entries.selection());
    EXPECT_EQ(sums.bits, 2);
    EXPECT_EQ(line(view::statisticsText(sums), "DBitrate"), "1.00 kbit/s");
}

TEST(Statistics, SumsDoNotOverflowAt32Bits)
{
    Entries entries;
    for (int i = 0; i < 3; ++i)
        track(entries, 2147483647, 2147483647, 320000);
    const auto sums = view::sumStatistics(entries.selection());
    EXPECT_EQ(sums.titles, 3);
    EXPECT_EQ(sums.bytes, 6442450941);
    EXPECT_EQ(sums.milliseconds, 6442450941);
    EXPECT_EQ(sums.bits, 3 * 687194767040);
    const auto text = view::statisticsText(sums);
    EXPECT_EQ(line(text, "Gr\u00F6\u00DFe"), "6143.99 MB");
    EXPECT_EQ(line(text, "DGr\u00F6\u00DFe"), "2047.99 MB");
    EXPECT_EQ(line(text, "L\u00E4nge"), "1789:34:10.9 h");
    EXPECT_EQ(line(text, "DBitrate"), "320.00 kbit/s");
}

TEST(Statistics, AveragesThatWouldDivideByZeroShowZero)
{
    EXPECT_EQ(view::statisticsText(view::sumStatistics({})), "Titel:\t0\n"
                                                             "Gr\u00F6\u00DFe:\t0.00 MB\n"
                                                             "L\u00E4nge:\t0:00:00.0 h\n"
                                                             "DGr\u00F6\u00DFe:\t0.00 MB\n"
                                                             "DL\u00E4nge:\t00:00.0 min\n"
                                                             "DBitrate:\t0.00 kbit/s");
    Entries silent;
    track(silent, 2097152, 0, 128000);
    track(silent, 1048576, 0, 128000);
    const auto text = statisticsOf(silent);
    EXPECT_EQ(line(text, "DGr\u00F6\u00DFe"), "1.50 MB");
    EXPECT_EQ(line(text, "DL\u00E4nge"), "00:00.0 min");
    EXPECT_EQ(line(text, "DBitrate"), "0.00 kbit/s");
}

TEST(Statistics, AreShownInOneMessage)
{
    testsupport::ScopedSeams seams;
    Entries entries;
    track(entries, 1048576, 60000, 128000);
    view::showStatistics(entries.selection());
    ASSERT_EQ(seams.prompter.messages().size(), 1u);
    EXPECT_EQ(line(seams.prompter.messages()[0], "Titel"), "1");
    EXPECT_EQ(line(seams.prompter.messages()[0], "DL\u00E4nge"), "01:00.0 min");
}

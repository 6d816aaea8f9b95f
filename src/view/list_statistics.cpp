#include "view/list_statistics.h"

#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

#include <cstdio>

namespace view {

namespace {

constexpr std::int64_t kMegabyte = 1048576;

constexpr const char* kFormat = "Titel:\t%i\n"
                                "Größe:\t%i.%02i MB\n"
                                "Länge:\t%i:%02i:%02i.%01i h\n"
                                "DGröße:\t%i.%02i MB\n"
                                "DLänge:\t%02i:%02i.%01i min\n"
                                "DBitrate:\t%i.%02i kbit/s";

// Zero where the divisor is zero: an empty selection or one without playing time.
std::int64_t quotient(std::int64_t dividend, std::int64_t divisor)
{
    return divisor == 0 ? 0 : dividend / divisor;
}

// The figures go to "%i"; each is a quotient far below 2^31 for any list
// that fits in memory.
int figure(std::int64_t value)
{
    return static_cast<int>(value);
}

}  // namespace

ListStatistics sumStatistics(const Selection& entries)
{
    ListStatistics sums;
    for (const CLiedkramEntry* entry : entries) {
        sums.titles += 1;
        sums.bytes += entry->m_nFileSize;
        sums.milliseconds += entry->m_nLengthMs;
        sums.bits += static_cast<std::int64_t>(entry->m_nBitrate) * entry->m_nLengthMs / 1000;
    }
    return sums;
}

std::string statisticsText(const ListStatistics& sums)
{
    const std::int64_t n = sums.titles;
    const std::int64_t s = sums.bytes;
    const std::int64_t l = sums.milliseconds;
    const std::int64_t b = sums.bits;
    const std::int64_t averageLength = quotient(l, n);

    char text[512];
    std::snprintf(text, sizeof text, kFormat, figure(n), figure(s / kMegabyte), figure((s * 100) / kMegabyte % 100),
                  figure(((l / 1000) / 60) / 60), figure(((l / 1000) / 60) % 60), figure((l / 1000) % 60),
                  figure((l / 100) % 10), figure(quotient(s, n) / kMegabyte),
                  figure(quotient(s * 100, n) / kMegabyte % 100), figure(((averageLength / 1000) / 60) % 60),
                  figure((averageLength / 1000) % 60), figure((averageLength / 100) % 10), figure(quotient(b, l)),
                  figure(quotient(b * 100, l) % 100));
    return text;
}

void showStatistics(const Selection& entries)
{
    platform::prompter().showMessage(statisticsText(sumStatistics(entries)));
}

}  // namespace view

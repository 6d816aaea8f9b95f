#include "document/track_compare.h"

#include "document/name_fold.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"

namespace document {

namespace {

int compareBytes(std::string_view a, std::string_view b)
{
    const int result = a.compare(b);  // char_traits<char>::compare is unsigned (memcmp)
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int compareCi(std::string_view a, std::string_view b)
{
    return platform::compareIgnoreAsciiCase(a, b);
}

int compareNumbers(std::int64_t a, std::int64_t b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int compareKey(const CLiedkramEntry& l, const CLiedkramEntry& r, const SortKey& key)
{
    std::string lScratch;
    std::string rScratch;
    switch (key.order) {
    case KeyOrder::Number:
        return compareNumbers(key.number(l), key.number(r));
    case KeyOrder::IgnoreCase:
        return compareCi(key.text(l, lScratch), key.text(r, rScratch));
    case KeyOrder::Bytes:
        return compareBytes(key.text(l, lScratch), key.text(r, rScratch));
    case KeyOrder::FoldedName:
        return compareCi(FoldName(key.text(l, lScratch)), FoldName(key.text(r, rScratch)));
    }
    return 0;
}

}  // namespace

std::string FoldName(std::string_view text)
{
    if (text.size() >= 4) {
        const auto start = text.substr(0, 4);
        if (platform::equalsIgnoreAsciiCase(start, "the ") || platform::equalsIgnoreAsciiCase(start, "die "))
            text.remove_prefix(4);
    }
    std::string folded;
    folded.reserve(text.size() * 2);
    NameFolder folder(folded);
    for (const char c : text)
        folder.put(c);
    return folded;
}

bool IsSameTrack(const CLiedkramEntry& a, const CLiedkramEntry& b)
{
    if (platform::equalsIgnoreAsciiCase(a.m_szFileName.view(), b.m_szFileName.view()))
        return true;
    return FoldName(a.m_szTitle.view()) == FoldName(b.m_szTitle.view()) &&
           FoldName(a.m_szArtist.view()) == FoldName(b.m_szArtist.view());
}

int CompareEntries(const CLiedkramEntry& l, const CLiedkramEntry& r, Column column)
{
    for (const SortKey& key : columnInfo(column).keys) {
        if (!key.used())
            break;
        if (const int result = compareKey(l, r, key))
            return result;
    }
    return 0;
}

}  // namespace document

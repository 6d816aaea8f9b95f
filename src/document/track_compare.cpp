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

template <class T>
int compareNumbers(T a, T b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
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
    int result = 0;
    switch (column) {
    case Column::File:
        (result = compareCi(l.m_szFileName.view(), r.m_szFileName.view())) ||
            (result = compareCi(l.m_szPath.view(), r.m_szPath.view()));
        break;
    case Column::Path:
        (result = compareCi(l.m_szPath.view(), r.m_szPath.view())) ||
            (result = compareCi(l.m_szFileName.view(), r.m_szFileName.view()));
        break;
    case Column::Title:
        (result = compareCi(l.m_szTitle.view(), r.m_szTitle.view())) ||
            (result = compareCi(l.m_szArtist.view(), r.m_szArtist.view())) ||
            (result = compareCi(l.m_szPath.view(), r.m_szPath.view()));
        break;
    case Column::Artist:
        (result = platform::compareIgnoreAsciiCase(FoldName(l.m_szArtist.view()), FoldName(r.m_szArtist.view()))) ||
            (result = compareCi(l.m_szTitle.view(), r.m_szTitle.view())) ||
            (result = compareCi(l.m_szPath.view(), r.m_szPath.view()));
        break;
    case Column::Album:
        (result = compareCi(l.m_szAlbum.view(), r.m_szAlbum.view())) ||
            (result = compareCi(l.m_szTitle.view(), r.m_szTitle.view())) ||
            (result = compareCi(l.m_szArtist.view(), r.m_szArtist.view()));
        break;
    case Column::Size:
        result = compareNumbers(l.m_nFileSize, r.m_nFileSize);
        break;
    case Column::Length:
        result = compareBytes(l.GetLengthText(), r.GetLengthText());
        break;
    case Column::Genre:
        (result = compareBytes(l.GetGenreText(), r.GetGenreText())) ||
            (result = compareBytes(l.m_szTitle.view(), r.m_szTitle.view())) ||
            (result = compareBytes(l.m_szArtist.view(), r.m_szArtist.view()));
        break;
    case Column::Year:
        (result = compareNumbers(l.m_nYear, r.m_nYear)) ||
            (result = compareBytes(l.m_szFileName.view(), r.m_szFileName.view()));
        break;
    case Column::Comment:
        result = compareCi(l.m_szComment.view(), r.m_szComment.view());
        break;
    case Column::Track:
        result = compareNumbers(l.m_nTrack, r.m_nTrack);
        break;
    case Column::Bitrate:
        result = compareNumbers(l.m_nBitrate, r.m_nBitrate);
        break;
    case Column::Original:
        result = compareNumbers(l.IsOriginal(), r.IsOriginal());
        break;
    case Column::Copyright:
        result = compareNumbers(l.IsCopyright(), r.IsCopyright());
        break;
    }
    return result;
}

}  // namespace document

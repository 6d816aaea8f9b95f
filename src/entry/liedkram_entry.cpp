#include "entry/liedkram_entry.h"

#include "mpeg/frame_header.h"
#include "platform/path.h"
#include "tags/genre_list.h"
#include "tags/id3v1.h"

#include <cstdio>

CLiedkramEntry::CLiedkramEntry() = default;

CLiedkramEntry::CLiedkramEntry(std::string_view fullPath, const platform::RepairSettings& settings)
{
    const auto split = platform::splitPath(fullPath);
    m_szFileName = split.name;
    m_szPath = split.directory;
    LoadFromFile(std::string(fullPath), settings);
}

std::string CLiedkramEntry::GetFullPath() const
{
    return platform::joinPath(m_szPath.view(), m_szFileName.view());
}

bool CLiedkramEntry::HasPossibleRange() const
{
    return 0 <= m_nAudioStart && m_nAudioStart <= m_nAudioEnd && m_nAudioEnd <= m_nFileSize && m_nFrames >= 0 &&
           m_nLengthMs >= 0 && m_nBitrate >= 0;
}

bool CLiedkramEntry::Rescan(const platform::RepairSettings& settings)
{
    const CLiedkramEntry fresh(GetFullPath(), settings);
    if (!fresh.IsListable())
        return false;
    m_nFileSize = fresh.m_nFileSize;
    m_nAudioStart = fresh.m_nAudioStart;
    m_nAudioEnd = fresh.m_nAudioEnd;
    m_dwHeader = fresh.m_dwHeader;
    m_nLengthMs = fresh.m_nLengthMs;
    m_nBitrate = fresh.m_nBitrate;
    m_nFrames = fresh.m_nFrames;
    m_bVerified = fresh.m_bVerified;
    m_bHasId3v2 = fresh.m_bHasId3v2;
    m_nTagKinds = fresh.m_nTagKinds;
    m_nFrontTagBytes = fresh.m_nFrontTagBytes;
    m_nBackTagBytes = fresh.m_nBackTagBytes;
    m_nModifiedNs = fresh.m_nModifiedNs;
    constexpr std::uint32_t kMeasured = ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_SCAN_ERROR;
    m_nFlags = (m_nFlags & ~kMeasured) | (fresh.m_nFlags & kMeasured);
    m_bNeedsRescan = false;
    return true;
}

int CLiedkramEntry::GetSampleRate() const
{
    return mpeg::sampleRate(m_dwHeader);
}

std::string CLiedkramEntry::GetFormatText() const
{
    return std::string(mpeg::versionText(mpeg::versionField(m_dwHeader))) +
           mpeg::layerText(mpeg::layerField(m_dwHeader));
}

std::string CLiedkramEntry::GetModeText() const
{
    return mpeg::channelModeText(mpeg::channelMode(m_dwHeader));
}

std::string CLiedkramEntry::GetEmphasisText() const
{
    return mpeg::emphasisText(mpeg::emphasisField(m_dwHeader));
}

int CLiedkramEntry::GetProtectionBit() const
{
    return mpeg::protectionBit(m_dwHeader);
}

bool CLiedkramEntry::IsCopyright() const
{
    return mpeg::copyrightBit(m_dwHeader) != 0;
}

bool CLiedkramEntry::IsOriginal() const
{
    return mpeg::originalBit(m_dwHeader) != 0;
}

std::string CLiedkramEntry::GetGenreText() const
{
    return tags::genreName(m_nGenre);
}

std::string CLiedkramEntry::GetLengthText() const
{
    const int ms = m_nLengthMs;
    char text[64];
    std::snprintf(text, sizeof text, "%i:%i%i.%i", ms / 60000, (ms % 60000) / 10000, (ms / 1000) % 10, (ms / 100) % 10);
    return text;
}

std::string CLiedkramEntry::GetBitrateText() const
{
    const int b = m_nBitrate;
    if (b % 1000 == 0)
        return std::to_string(b / 1000);
    char text[64];
    std::snprintf(text, sizeof text, "%i.%i%i", b / 1000, (b / 100) % 10, (b / 10) % 10);
    return text;
}

void CLiedkramEntry::SetOriginal(int bit)
{
    const auto word = mpeg::withOriginalBit(m_dwHeader, bit != 0);
    if (word != m_dwHeader)
        m_nFlags |= ENTRY_HEADER_DIRTY;
    m_dwHeader = word;
}

void CLiedkramEntry::SetCopyright(int bit)
{
    const auto word = mpeg::withCopyrightBit(m_dwHeader, bit != 0);
    if (word != m_dwHeader)
        m_nFlags |= ENTRY_HEADER_DIRTY;
    m_dwHeader = word;
}

std::string CLiedkramEntry::GetColumnText(Column column) const
{
    return columnInfo(column).text(*this);
}

#include "entry/id3v1_reading.h"

#include "entry/liedkram_entry.h"
#include "tags/genre_list.h"
#include "tags/id3v1.h"

namespace entry {

bool readId3v1Into(CLiedkramEntry& entry, std::span<const std::uint8_t> fileTail, std::int64_t fileSize)
{
    std::optional<tags::Id3v1Tag> tag;
    if (fileTail.size() >= tags::kId3v1Size)
        tag = tags::parseId3v1(fileTail.last(tags::kId3v1Size));

    if (!tag) {
        entry.m_szTitle = "";
        entry.m_szArtist = "";
        entry.m_szAlbum = "";
        entry.m_szComment = "";
        entry.m_nGenre = tags::kNoGenre;
        entry.m_nYear = tags::kNoYear;
        entry.m_nAudioEnd = static_cast<int>(fileSize);
        entry.m_nFlags |= ENTRY_TAG_DIRTY;
        return false;
    }

    entry.m_nAudioEnd = static_cast<int>(fileSize - static_cast<std::int64_t>(tags::kId3v1Size));
    entry.m_nGenre = tag->genre;
    entry.m_nTrack = tag->track;
    entry.m_szComment = tag->comment;
    entry.m_szAlbum = tag->album;
    entry.m_szArtist = tag->artist;
    entry.m_szTitle = tag->title;
    entry.m_nYear = tag->year;
    if (tag->yearWidened)
        entry.m_nFlags |= ENTRY_TAG_DIRTY;
    return true;
}

}  // namespace entry

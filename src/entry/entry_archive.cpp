#include "entry/archive.h"
#include "entry/liedkram_entry.h"

void CLiedkramEntry::Serialize(entry::ArchiveWriter& archive) const
{
    archive.writeString(m_szFileName.view());
    archive.writeString(m_szPath.view());
    archive.writeString(m_szTitle.view());
    archive.writeString(m_szArtist.view());
    archive.writeString(m_szAlbum.view());
    archive.writeString(m_szComment.view());
    archive.writeI32(m_nFileSize);
    archive.writeI32(m_nGenre);
    archive.writeI32(m_nYear);
    // The header word holds the file's four header bytes, so they are stored in file order.
    archive.writeU32(m_dwHeader);
    archive.writeI32(m_nLengthMs);
    archive.writeI32(m_nBitrate);
    archive.writeI32(m_nFrames);
    archive.writeI32(m_nAudioStart);
    archive.writeI32(m_nAudioEnd);
    archive.writeU32(m_nFlags);
    archive.writeU8(m_bVerified);
    archive.writeU8(m_nTrack);
}

void CLiedkramEntry::Serialize(entry::ArchiveReader& archive)
{
    m_szFileName = archive.readString();
    m_szPath = archive.readString();
    m_szTitle = archive.readString();
    m_szArtist = archive.readString();
    m_szAlbum = archive.readString();
    m_szComment = archive.readString();
    m_nFileSize = archive.readI32();
    m_nGenre = archive.readI32();
    m_nYear = archive.readI32();
    m_dwHeader = archive.readU32();
    m_nLengthMs = archive.readI32();
    m_nBitrate = archive.readI32();
    m_nFrames = archive.readI32();
    m_nAudioStart = archive.readI32();
    m_nAudioEnd = archive.readI32();
    m_nFlags = archive.readU32();
    m_bVerified = archive.readU8();
    m_nTrack = archive.readU8();
    // Offsets that do not fit the file would have a repair cut the wrong
    // bytes: the entry is listed, but measured again before any repair.
    if (!HasPossibleRange()) {
        m_bNeedsRescan = true;
        m_bVerified = 0;
    }
}

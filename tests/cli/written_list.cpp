#include "written_list.h"

#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "support/seam_fixture.h"

#include <memory>
#include <stdexcept>

namespace clitest {

void writeList(const std::string& path, const std::vector<ListedEntry>& entries)
{
    const testsupport::ScopedSeams seams;
    CLiedkramDoc doc;
    document::DuplicatePolicy answer;
    for (const ListedEntry& listed : entries) {
        auto entry = std::make_unique<CLiedkramEntry>();
        entry->m_szPath = listed.folder;
        entry->m_szFileName = listed.name;
        entry->m_szArtist = listed.artist;
        entry->m_szTitle = listed.title;
        entry->m_szAlbum = listed.album;
        entry->m_szComment = listed.comment;
        entry->m_nGenre = listed.genre;
        entry->m_nFileSize = listed.fileSize;
        entry->m_nLengthMs = listed.lengthMs;
        entry->m_nBitrate = listed.bitrate;
        entry->m_nAudioStart = listed.audioStart;
        entry->m_nAudioEnd = listed.audioEnd;
        entry->m_dwHeader = 0x4490FBFF;
        doc.AddEntry(std::move(entry), false, answer);
    }
    if (!doc.OnSaveDocument(path))
        throw std::runtime_error("cannot write the list " + path);
}

}  // namespace clitest

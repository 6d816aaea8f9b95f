#include "document/file_presence.h"

#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

namespace document {

std::string PresenceText(entry::FilePresence presence)
{
    switch (presence) {
    case entry::FilePresence::Present:
        return {};
    case entry::FilePresence::Missing:
        return "Die Datei fehlt";
    case entry::FilePresence::Changed:
        return "Die Datei hat nicht mehr die Größe der Liste";
    }
    return {};
}

std::vector<std::size_t> RowsPresent(const CLiedkramDoc& doc, const std::vector<std::size_t>& rows)
{
    std::vector<std::size_t> present;
    present.reserve(rows.size());
    for (const std::size_t row : rows) {
        const CLiedkramEntry& entry = doc.GetEntry(row);
        const std::string path = entry.GetFullPath();
        const entry::FilePresence presence = entry::CheckPresence(path, entry.m_nFileSize);
        if (presence == entry::FilePresence::Present)
            present.push_back(row);
        else
            platform::prompter().showFileMessage(path, PresenceText(presence) + "; sie wird übersprungen.");
    }
    return present;
}

}  // namespace document

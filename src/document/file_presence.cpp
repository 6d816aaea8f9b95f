#include "document/file_presence.h"

#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

#include <sys/stat.h>

namespace document {

FilePresence CheckPresence(const std::string& path, std::int64_t listedSize)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return FilePresence::Missing;
    return info.st_size == listedSize ? FilePresence::Present : FilePresence::Changed;
}

std::string PresenceText(FilePresence presence)
{
    switch (presence) {
    case FilePresence::Present:
        return {};
    case FilePresence::Missing:
        return "Die Datei fehlt";
    case FilePresence::Changed:
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
        const FilePresence presence = CheckPresence(path, entry.m_nFileSize);
        if (presence == FilePresence::Present)
            present.push_back(row);
        else
            platform::prompter().showFileMessage(path, PresenceText(presence) + "; sie wird übersprungen.");
    }
    return present;
}

}  // namespace document

#include "document/liedkram_doc.h"
#include "document/list_file.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/file_error.h"
#include "platform/path.h"
#include "platform/prompter.h"
#include "platform/text.h"

namespace {

std::string extensionOf(const std::string& path)
{
    const std::string name = platform::splitPath(path).name;
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

void reportFileError(const platform::FileError& error)
{
    platform::prompter().showMessage("Cannot access '" + error.path() + "' cause: " + error.causeText());
}

}  // namespace

bool CLiedkramDoc::SaveModified()
{
    if (!m_bChanged)
        return true;
    const std::string name = pathName_.empty() ? m_strPlainTitle : pathName_;
    const platform::Answer answer = platform::prompter().askYesNoCancel("Save changes to " + name + "?");
    if (answer == platform::Answer::Cancel)
        return false;
    if (answer == platform::Answer::Yes)
        return DoSave();
    return true;
}

bool CLiedkramDoc::OnNewDocument()
{
    if (!SaveModified())
        return false;
    DeleteContents();
    pathName_.clear();
    pathStamp_.reset();
    m_bClosing = false;
    m_bChanged = false;
    SetTitle("Untitled");
    return true;
}

bool CLiedkramDoc::loadListFile(const std::string& path, const platform::RepairSettings& settings)
{
    // The list on show stays until the new one is read and taken.
    document::OpenListFile list;
    document::ListRecords read;
    try {
        list = document::openListFile(path);
        // An empty file is an empty list.
        if (list.length > 0) {
            entry::ArchiveReader archive(list.file, static_cast<std::uint64_t>(list.length));
            read = document::readListFile(archive, settings);
        }
    } catch (const platform::FileError& error) {
        reportFileError(error);
        return false;
    }
    if (!takeReadable(path, read,
                      "\xC3\xB6"
                      "ffnen"))
        return false;
    DeleteContents();
    if (!read.entries.empty())
        appendAll(std::move(read.entries));
    if (read.shape == document::ListShape::Whole) {
        pathName_ = path;
        pathStamp_ = list.file.stamp();
        m_bChanged = false;
    } else {
        // Not the file's list: saving asks where to, so the damaged file is
        // never written over unasked.
        pathName_.clear();
        pathStamp_.reset();
        m_bChanged = true;
    }
    SetTitle(platform::splitPath(path).name);
    return true;
}

bool CLiedkramDoc::takeReadable(const std::string& path, const document::ListRecords& read, std::string_view verb)
{
    switch (read.shape) {
    case document::ListShape::Whole:
        return true;
    case document::ListShape::NotAList:
        platform::prompter().showFileMessage(path, entry::ArchiveFormatError().what());
        return false;
    case document::ListShape::CutShort:
        break;
    }
    const std::string question = "'" + path +
                                 "' ist besch\xC3\xA4"
                                 "digt: " +
                                 std::to_string(read.entries.size()) + " von " + std::to_string(read.claimed) +
                                 " Eintr\xC3\xA4"
                                 "gen lesbar. Die lesbaren " +
                                 std::string(verb) + "?";
    return platform::prompter().askYesNo(question) == platform::Answer::Yes;
}

bool CLiedkramDoc::OnOpenDocument(const std::string& path, const platform::RepairSettings& settings)
{
    const std::string extension = extensionOf(path);
    if (platform::equalsIgnoreAsciiCase(extension, ".m3l")) {
        if (!SaveModified())
            return false;
        return loadListFile(path, settings);
    }
    if (platform::equalsIgnoreAsciiCase(extension, ".mp3")) {
        auto entry = std::make_unique<CLiedkramEntry>(path, settings);
        if (!entry->IsListable())
            return false;
        document::DuplicatePolicy duplicates;
        if (AddEntry(std::move(entry), true, duplicates))
            SetChanged();
        return false;
    }
    return false;
}

bool CLiedkramDoc::OnSaveDocument(const std::string& path)
{
    entry::ArchiveWriter archive;
    Serialize(archive);
    try {
        document::writeWholeFile(path, archive.bytes());
    } catch (const platform::FileError& error) {
        // The error may name the replacement file; the user knows the list's name.
        platform::prompter().showMessage("Cannot save '" + path + "' cause: " + error.causeText());
        return false;
    }
    pathName_ = path;
    pathStamp_ = platform::findFileStamp(path);
    m_bChanged = false;
    SetTitle(platform::splitPath(path).name);
    return true;
}

bool CLiedkramDoc::CanSaveTo(const std::string& path)
{
    try {
        document::requireWritableList(path);
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot save '" + path + "' cause: " + error.causeText());
        return false;
    }
    return true;
}

bool CLiedkramDoc::DoSave()
{
    std::string path = pathName_;
    if (path.empty()) {
        const auto chosen = askSavePath ? askSavePath() : std::nullopt;
        if (!chosen)
            return false;
        path = *chosen;
    } else if (pathStamp_ && platform::findFileStamp(path) != pathStamp_ &&
               platform::prompter().askYesNo("Die Liste '" + path +
                                             "' wurde seit dem Lesen von einem anderen Programm ge\xC3\xA4ndert. "
                                             "Trotzdem speichern?") != platform::Answer::Yes) {
        return false;
    }
    return OnSaveDocument(path);
}

bool CLiedkramDoc::CanCloseFrame()
{
    return SaveModified();
}

void CLiedkramDoc::OnCloseDocument()
{
    DeleteContents();
    m_bClosing = true;
    pictures_.clear();
}

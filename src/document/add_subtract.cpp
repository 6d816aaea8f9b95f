#include "document/liedkram_doc.h"
#include "document/list_file.h"
#include "document/track_index.h"
#include "entry/archive.h"
#include "entry/entry_file.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/text.h"

#include <algorithm>
#include <cassert>
#include <cerrno>

namespace {

constexpr const char* kDeclinedSuffix = ".cop";

// Full path, then artist and title in quotes on an indented line, then the
// bitrate, length and size, so the user can keep the better copy.
std::string describe(const CLiedkramEntry& entry)
{
    return entry.GetFullPath() + "\n\t\"" + platform::cp1252ToUtf8(entry.m_szArtist.view()) + "\"  -  \"" +
           platform::cp1252ToUtf8(entry.m_szTitle.view()) + "\"\n\t" + entry.GetBitrateText() + " kbit/s, " +
           entry.GetLengthText() + ", " + std::to_string(entry.m_nFileSize) + " Bytes";
}

std::string duplicateQuestion(const CLiedkramEntry& listed, const CLiedkramEntry& incoming)
{
    return "Dieser Eintrag ist bereits in der MP3-Liste enthalten:\n" + describe(listed) +
           "\n\nSoll folgender Eintrag hinzugef\xC3\xBCgt werden?:\n" + describe(incoming);
}

bool isListFile(const std::string& path)
{
    // These commands take only the exact lower-case extension as a list.
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".m3l") == 0;
}

}  // namespace

document::TrackIndex& CLiedkramDoc::trackIndex()
{
    if (!index_)
        index_ = std::make_unique<document::TrackIndex>(entries_);
    return *index_;
}

std::size_t CLiedkramDoc::rowOf(const CLiedkramEntry& entry) const
{
    // The rows keep the index's order: appends go behind, removals keep it.
    const std::uint64_t order = index_->orderOf(entry);
    const auto row =
        std::lower_bound(entries_.begin(), entries_.end(), order, [this](const auto& listed, std::uint64_t wanted) {
            return index_->orderOf(*listed) < wanted;
        });
    assert(row != entries_.end() && row->get() == &entry);
    return static_cast<std::size_t>(row - entries_.begin());
}

std::vector<std::size_t> CLiedkramDoc::FindSameTracks(const CLiedkramEntry& probe)
{
    std::vector<std::size_t> rows;
    for (const CLiedkramEntry* listed : trackIndex().sameTracks(probe))
        rows.push_back(rowOf(*listed));
    return rows;
}

bool CLiedkramDoc::isListedFile(const std::string& fullPath)
{
    return trackIndex().hasPath(fullPath);
}

bool CLiedkramDoc::AddEntry(std::unique_ptr<CLiedkramEntry> entry, bool check, document::DuplicatePolicy& duplicates)
{
    bool changed = false;
    // Asked about in list order, as a pass over the list would meet them.
    const auto sameTracks = check ? trackIndex().sameTracks(*entry) : std::vector<const CLiedkramEntry*>();
    for (const CLiedkramEntry* listed : sameTracks) {
        using platform::DuplicateChoice;
        const DuplicateChoice choice =
            duplicates.choose([&] { return platform::prompter().askDuplicate(duplicateQuestion(*listed, *entry)); });
        if (choice == DuplicateChoice::Replace || choice == DuplicateChoice::ReplaceAll) {
            removeRowAt(rowOf(*listed));
            changed = true;
        } else if (choice == DuplicateChoice::Skip || choice == DuplicateChoice::Cancel) {
            const bool cancelled = choice == DuplicateChoice::Cancel;
            const CLiedkramEntry& declined = *entry;
            notify([&](DocumentObserver& o) { o.entryDeclined(declined, cancelled); });
            markDeclined(declined);
            return changed;
        }
    }
    std::vector<std::unique_ptr<CLiedkramEntry>> added;
    added.push_back(std::move(entry));
    appendAll(std::move(added));
    return true;
}

void CLiedkramDoc::markDeclined(const CLiedkramEntry& entry)
{
    const std::string path = entry.GetFullPath();
    if (isListedFile(path))
        return;
    try {
        const std::string marked = path + kDeclinedSuffix;
        // Only the MP3 file the entry names gets the mark, whatever stands there now.
        const platform::File file = entry::openEntryFile(entry);
        if (platform::fileExists(marked))
            throw platform::FileError::fromErrno(EEXIST, marked, "cannot rename '" + path + "' to");
        if (changes)
            changes->recordRename(path, marked, file.stamp());
        platform::renameOpenFile(file, path, marked);
    } catch (const platform::FileError&) {
        // A failed mark is no reason to stop adding the others.
        ++report_.unmarked;
    }
}

void CLiedkramDoc::SubtractEntry(std::unique_ptr<CLiedkramEntry> entry, bool& removed)
{
    for (const CLiedkramEntry* listed : trackIndex().sameTracks(*entry)) {
        removeRowAt(rowOf(*listed));
        removed = true;
    }
}

bool CLiedkramDoc::readRecords(const std::string& path, std::string_view verb, const platform::RepairSettings& settings,
                               const std::function<bool(std::unique_ptr<CLiedkramEntry>)>& handle)
{
    document::ListRecords read;
    try {
        auto list = document::openListFile(path);
        entry::ArchiveReader archive(list.file, static_cast<std::uint64_t>(list.length));
        read = document::readListFile(archive, settings);
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot access '" + error.path() + "' cause: " + error.causeText());
        ++report_.skipped;
        return false;
    }
    if (!takeReadable(path, read, verb)) {
        ++report_.skipped;
        return false;
    }
    for (auto& entry : read.entries) {
        if (!handle(std::move(entry)))
            return false;
    }
    return true;
}

bool CLiedkramDoc::forEachPath(const std::vector<std::string>& paths, std::string_view verb,
                               const platform::RepairSettings& settings,
                               const std::function<bool(std::unique_ptr<CLiedkramEntry>)>& handle)
{
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        if (isListFile(path)) {
            // A list file that cannot be read ends the command; what was done stays.
            if (!readRecords(path, verb, settings, handle))
                return false;
        } else {
            auto entry = std::make_unique<CLiedkramEntry>(path, settings);
            if (!entry->IsListable())
                ++report_.skipped;
            else if (!handle(std::move(entry)))
                return false;
        }
        if (progress && !progress(i + 1, paths.size(), path))
            return false;
    }
    return true;
}

PathsReport CLiedkramDoc::OnAddMp3s(const std::vector<std::string>& paths, const platform::RepairSettings& settings)
{
    report_ = PathsReport();
    document::DuplicatePolicy duplicates;
    forEachPath(paths, "hinzuf\xC3\xBCgen", settings, [&](std::unique_ptr<CLiedkramEntry> entry) {
        if (AddEntry(std::move(entry), true, duplicates))
            m_bChanged = true;
        return !duplicates.cancelled();
    });
    report_.cancelled = duplicates.cancelled();
    SetTitle("");
    return report_;
}

PathsReport CLiedkramDoc::OnSubtractMp3s(const std::vector<std::string>& paths,
                                         const platform::RepairSettings& settings)
{
    report_ = PathsReport();
    bool removed = false;
    forEachPath(paths, "subtrahieren", settings, [&](std::unique_ptr<CLiedkramEntry> entry) {
        SubtractEntry(std::move(entry), removed);
        if (removed)
            m_bChanged = true;
        return true;
    });
    SetTitle("");
    return report_;
}

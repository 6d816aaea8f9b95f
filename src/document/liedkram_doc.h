#pragma once

#include "document/duplicate_policy.h"
#include "entry/column.h"
#include "platform/file.h"
#include "platform/private_temp_dir.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CLiedkramEntry;

namespace history {
class ChangeSet;
}

namespace platform {
struct RepairSettings;
}

namespace document {
class ListEdit;
class TrackIndex;
struct ListRecords;
}  // namespace document

namespace entry {
class ArchiveReader;
class ArchiveWriter;
}  // namespace entry

// What an add or subtract command could not do, for fronts that report it
// beyond the messages already shown.
struct PathsReport {
    std::size_t skipped = 0;  // files and list files that gave no entries
    std::size_t unmarked = 0;  // declined files that could not be given the ".cop" name
    bool cancelled = false;  // the duplicate question was answered with "Abbrechen"

    bool allDone() const { return skipped == 0 && unmarked == 0 && !cancelled; }
};

// Told about every change of the list, so that a view can follow it. Each
// change is announced before it is made ("about to") and told again once it
// is done, so a Qt model can bracket it; observers that only follow after the
// fact need not listen to the announcements.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void rowsAboutToBeAppended(std::size_t first, std::size_t count);
    virtual void rowsAppended(std::size_t first, std::size_t count) = 0;
    virtual void rowsAboutToBeRemoved(std::size_t first, std::size_t count);
    // The rows first .. first + count - 1 are gone; by default told as that
    // many removals of the row at first.
    virtual void rowsRemoved(std::size_t first, std::size_t count);
    virtual void rowRemoved(std::size_t row);
    virtual void rowsAboutToBeReordered();
    virtual void rowsReordered() = 0;
    // Many separate runs of rows went at once; the remaining rows are to be
    // read again. By default told as a reordering.
    virtual void rowsAboutToBeReset();
    virtual void rowsReset();
    virtual void rowRefreshed(std::size_t row) = 0;
    virtual void listAboutToBeCleared();
    virtual void listCleared() = 0;
    virtual void titleChanged() = 0;
    // A new entry turned away at the duplicate question (cancelled: the
    // answer also ended the run), told before the entry is discarded.
    virtual void entryDeclined(const CLiedkramEntry& entry, bool cancelled);
};

// The MP3 list: the ordered entries it owns, its list file and its title with
// the change marker.
class CLiedkramDoc {
public:
    CLiedkramDoc();
    ~CLiedkramDoc();
    CLiedkramDoc(const CLiedkramDoc&) = delete;
    CLiedkramDoc& operator=(const CLiedkramDoc&) = delete;

    void addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

    // The rows.
    std::size_t GetCount() const { return entries_.size(); }
    // An entry handed out for change; read-only users take the const one.
    CLiedkramEntry& GetEntry(std::size_t row);
    const CLiedkramEntry& GetEntry(std::size_t row) const { return *entries_.at(row); }
    // Every entry, read-only, in list order.
    std::vector<const CLiedkramEntry*> Entries() const;
    // The rows of the entries that are the same track as probe, in list order.
    std::vector<std::size_t> FindSameTracks(const CLiedkramEntry& probe);
    // Appends the entry; with the check, every listed entry that is the same
    // track is put to the duplicate question first (answer is the run's
    // answer memory). Returns whether the list changed.
    bool AddEntry(std::unique_ptr<CLiedkramEntry> entry, bool check, document::DuplicatePolicy& duplicates);
    // Removes every row that is the same track as the entry.
    void SubtractEntry(std::unique_ptr<CLiedkramEntry> entry, bool& removed);
    void RemoveRow(std::size_t row);
    // Removes the rows (any order, repeats ignored) in one pass.
    void RemoveRows(std::vector<std::size_t> rows);
    // Tells the observers that the row's entry changed.
    void RefreshRow(std::size_t row);
    // Sorts all rows ascending by a column, or reversed: then the rows stand
    // in exactly the opposite order. Not a change of the list.
    void SortByColumn(Column column, bool reversed = false);
    void DeleteContents();

    // The list file: a count, then the entries' records (read ones marked
    // with the cuts the settings ask for).
    void Serialize(entry::ArchiveWriter& archive) const;
    void Serialize(entry::ArchiveReader& archive, const platform::RepairSettings& settings);

    // The title shown: the plain title, and " *" while the list has unsaved changes.
    std::string GetTitle() const;
    // A non-empty title becomes the plain title; an empty one only refreshes the marker.
    void SetTitle(std::string_view title);
    const std::string& GetPathName() const { return pathName_; }
    // Marks the list changed and refreshes the title.
    void SetChanged();

    // The commands. Each returns false when it did not go through. Those
    // that load files and list files take the settings of the command.
    bool OnNewDocument();
    // A list file replaces the list; an MP3 file is added to it.
    bool OnOpenDocument(const std::string& path, const platform::RepairSettings& settings);
    bool OnSaveDocument(const std::string& path);
    // Whether the list could be saved to path, as far as can be told without
    // writing; says why not as saving would.
    bool CanSaveTo(const std::string& path);
    // Saves to the list's path, asking for one when it has none; a list
    // file another program changed since it was read or saved here is
    // replaced only when the user says so.
    bool DoSave();
    // Asks whether to save a changed list; false when the user cancels.
    bool SaveModified();
    bool CanCloseFrame();
    void OnCloseDocument();
    PathsReport OnAddMp3s(const std::vector<std::string>& paths, const platform::RepairSettings& settings);
    PathsReport OnSubtractMp3s(const std::vector<std::string>& paths, const platform::RepairSettings& settings);

    // Where pictures shown from ID3v2 tags are written; removed on close.
    platform::PrivateTempDir& pictureDirectory() { return pictures_; }

    // Asked for a path when a list without one is saved; nothing cancels.
    std::function<std::optional<std::string>()> askSavePath;
    // Told after each path of the add and subtract commands (done, total,
    // the path); returning false stops the command after that path.
    std::function<bool(std::size_t, std::size_t, const std::string&)> progress;

    // Where the renames of declined files go, while a command records its changes.
    history::ChangeSet* changes = nullptr;
    // Where every change of the list goes, while a command of the window
    // records them so that it can be taken back.
    document::ListEdit* edits = nullptr;

    bool m_bChanged = false;
    bool m_bClosing = false;
    std::string m_strPlainTitle;

private:
    // A list edit taken back or done again changes the rows through these.
    friend class document::ListEdit;
    // Puts the entries in at their rows (ascending, as they were).
    void insertRows(const std::vector<std::size_t>& rows, std::vector<std::unique_ptr<CLiedkramEntry>> entries);
    // Takes the rows (ascending) out of the list.
    std::vector<std::unique_ptr<CLiedkramEntry>> takeRows(const std::vector<std::size_t>& rows);
    // Row i gets the entry of row order[i].
    void putInOrder(const std::vector<std::size_t>& order);
    void replaceEntry(std::size_t row, const CLiedkramEntry& entry);

    void notify(const std::function<void(DocumentObserver&)>& call);
    void removeRowAt(std::size_t row);
    void removeRun(std::size_t first, std::size_t count);
    // The rows (ascending) out of the list, without telling anyone.
    std::vector<std::unique_ptr<CLiedkramEntry>> takeOut(const std::vector<std::size_t>& rows);
    void appendAll(std::vector<std::unique_ptr<CLiedkramEntry>> added);
    bool loadListFile(const std::string& path, const platform::RepairSettings& settings);
    // Whether the records read from a list file are to be taken: all of a
    // whole list; of one cut short, the readable ones when the user says so
    // (the question names what is done with them); none of what is no list.
    bool takeReadable(const std::string& path, const document::ListRecords& read, std::string_view verb);
    // Reads a list file for the add and subtract commands (verb: what is
    // done with its entries); false when it failed (reported), was declined
    // or the handler asked to stop.
    bool readRecords(const std::string& path, std::string_view verb, const platform::RepairSettings& settings,
                     const std::function<bool(std::unique_ptr<CLiedkramEntry>)>& handle);
    // Hands the entries of the paths (an MP3 file's, or every record of a
    // list file) to handle, in order; false when handle, the progress or a
    // list file that cannot be read stopped the command.
    bool forEachPath(const std::vector<std::string>& paths, std::string_view verb,
                     const platform::RepairSettings& settings,
                     const std::function<bool(std::unique_ptr<CLiedkramEntry>)>& handle);
    // Gives the declined file the ".cop" name, unless it is listed itself.
    void markDeclined(const CLiedkramEntry& entry);
    bool isListedFile(const std::string& fullPath);
    // Built when first asked, then kept up to date until the list is reordered or cleared.
    document::TrackIndex& trackIndex();
    std::size_t rowOf(const CLiedkramEntry& entry) const;

    std::vector<std::unique_ptr<CLiedkramEntry>> entries_;
    std::unique_ptr<document::TrackIndex> index_;
    // Of the add or subtract command that runs.
    PathsReport report_;
    std::vector<DocumentObserver*> observers_;
    std::string pathName_;
    // The list file as it was when read or saved here.
    std::optional<platform::FileStamp> pathStamp_;
    platform::PrivateTempDir pictures_;
};

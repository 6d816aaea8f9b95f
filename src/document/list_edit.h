#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

class CLiedkramDoc;
class CLiedkramEntry;

namespace document {

// What one command of the window did to the list, so that it can be taken
// back and done again: rows removed, appended and put in another order,
// entries changed, and the change sets of the journal that hold what it
// did to the files. The document records into it while it is installed as
// CLiedkramDoc::edits; undo and redo expect the list as the edit left it
// (or as its undo left it), as a stack of edits keeps it.
class ListEdit {
public:
    ListEdit();
    ~ListEdit();
    ListEdit(ListEdit&&) noexcept;
    ListEdit& operator=(ListEdit&&) noexcept;

    // What undo or redo did.
    struct Applied {
        // False when the list was not as the edit expects it; then nothing was done.
        bool matched = true;
        // The rows the edit put back or changed, to be shown selected.
        std::vector<std::size_t> rows;
    };
    Applied undo(CLiedkramDoc& doc);
    Applied redo(CLiedkramDoc& doc);

    // Nothing was done to the list and no change set was recorded.
    bool empty() const;
    // The list was emptied under the edit (another list opened): it can no longer be taken back.
    bool isVoid() const { return void_; }

    // The change sets recorded for the command, in their order.
    const std::vector<int>& changeSets() const { return changeSets_; }
    void setChangeSets(std::vector<int> sets) { changeSets_ = std::move(sets); }
    void addChangeSet(int number) { changeSets_.push_back(number); }

    // Called by the document while it records.
    void touched(const CLiedkramEntry& entry);
    void removed(std::vector<std::size_t> rows, std::vector<std::unique_ptr<CLiedkramEntry>> entries);
    void appended(std::size_t first, std::size_t count);
    void reordered(std::vector<std::size_t> order);
    void cleared() { void_ = true; }
    // The entries handed out for change are compared with what they were;
    // called before each change of the rows and when the command ends.
    void settle(const CLiedkramDoc& doc);

private:
    struct Step;

    std::vector<Step> steps_;
    // Entries handed out for change, with a copy of them from before.
    std::map<const CLiedkramEntry*, std::unique_ptr<CLiedkramEntry>> touched_;
    std::vector<int> changeSets_;
    bool void_ = false;
};

}  // namespace document

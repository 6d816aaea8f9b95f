#pragma once

#include "history/change_lock.h"
#include "history/change_record.h"
#include "platform/directory.h"
#include "platform/file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace history {

// The changes one command makes to the user's files, recorded in the
// journal as they happen, each durably before it is made, so that the
// changes done when the program is killed can still be undone, and what a
// killed run left behind is found by the next one. Nothing is written until
// the first change: a command that changes nothing leaves no change set.
// From its first change on, it holds the change lock of its data directory.
class ChangeSet {
public:
    // dataDirectory holds the journal and the kept originals; command names
    // the command for the history ("fix", "Automatisch bearbeiten", ...).
    // Without keeping, replacements are recorded but their originals not
    // kept. An undo names the set it undoes.
    ChangeSet(std::string dataDirectory, std::string command, bool keepOriginals, int undoes = 0);
    ~ChangeSet();
    ChangeSet(const ChangeSet&) = delete;
    ChangeSet& operator=(const ChangeSet&) = delete;

    bool keepsOriginals() const { return keepOriginals_; }

    // Before the content of original, the open file at path, is replaced by
    // content that will have the stamp after (lying at temporary for a
    // moment): records the change durably, then keeps the present content
    // (a second name for the open file on the same file system, else a
    // copy). Returns false when the original cannot be kept anywhere; then
    // the change counts for nothing. The first change waits for the change
    // lock. Throws
    // platform::FileError when the lock cannot be had or the journal cannot
    // be written; then nothing may be changed.
    bool recordReplacement(platform::File& original, const std::string& path, const platform::FileStamp& after,
                           const std::string& temporary = {});
    // Records a replacement whose original is not kept.
    void recordUnkeptReplacement(const std::string& path, const platform::FileStamp& before,
                                 const platform::FileStamp& after, const std::string& temporary = {});
    // Before the file at from (with the stamp) is renamed to to.
    void recordRename(const std::string& from, const std::string& to, const platform::FileStamp& stamp);
    // Before the file at from is moved to to as another file (a copy on
    // another file system, with the stamp after, lying at temporary for a moment).
    void recordRename(const std::string& from, const std::string& to, const platform::FileStamp& before,
                      const platform::FileStamp& after, const std::string& temporary = {});
    // The change recorded last is not made after all (the file changed
    // meanwhile): it leaves the set, and its original's kept name goes.
    void withdrawLast();

    // The set's number in the journal; 0 while nothing was recorded.
    int number() const { return number_; }

private:
    struct KeptName {
        platform::Directory folder;
        std::string name;
    };

    void begin();
    void claimNumber(const platform::Directory& journal, const std::string& header);
    void append(const Change& change);
    void write(const std::string& text);
    void withdraw(const Change& change);
    std::string keptName();
    // The folders where a second name of a file on this device can go.
    std::vector<platform::Directory> linkFolders(const std::string& path, std::uint64_t device);
    platform::Directory ownOriginals();

    std::string dataDirectory_;
    std::string command_;
    bool keepOriginals_;
    int undoes_;
    std::optional<ChangeLock> lock_;
    int number_ = 0;
    platform::File file_;
    std::int64_t size_ = 0;
    bool broken_ = false;
    std::size_t kept_ = 0;
    std::optional<Change> last_;
    std::optional<KeptName> lastKept_;
};

}  // namespace history

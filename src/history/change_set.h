#pragma once

#include "history/change_record.h"
#include "platform/file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace history {

// The changes one command makes to the user's files, recorded in the
// journal as they happen, each before it is made, so that the changes done
// when the program is killed can still be undone. Nothing is written until
// the first change: a command that changes nothing leaves no change set.
class ChangeSet {
public:
    // dataDirectory holds the journal and the kept originals; command names
    // the command for the history ("fix", "Automatisch bearbeiten", ...).
    // Without keeping, replacements are recorded but their originals not kept.
    ChangeSet(std::string dataDirectory, std::string command, bool keepOriginals);
    ~ChangeSet();
    ChangeSet(const ChangeSet&) = delete;
    ChangeSet& operator=(const ChangeSet&) = delete;

    bool keepsOriginals() const { return keepOriginals_; }

    // Before the content of the file at path is replaced by content that
    // will have the stamp after: keeps its present content (a second name
    // for it on the same file system, else a copy) and records the change,
    // durably. Returns false when the original cannot be kept anywhere;
    // then nothing is recorded. Throws platform::FileError when the journal
    // cannot be written.
    bool recordReplacement(const std::string& path, const platform::FileStamp& before,
                           const platform::FileStamp& after);
    // Records a replacement whose original is not kept.
    void recordUnkeptReplacement(const std::string& path, const platform::FileStamp& before,
                                 const platform::FileStamp& after);
    // Before the file at from (with the stamp) is renamed to to.
    void recordRename(const std::string& from, const std::string& to, const platform::FileStamp& stamp);
    // Before the file at from is moved to to as another file (a copy on
    // another file system, with the stamp after).
    void recordRename(const std::string& from, const std::string& to, const platform::FileStamp& before,
                      const platform::FileStamp& after);
    // The change recorded last is not made after all (the file changed
    // meanwhile): it leaves the set, and its original's kept name goes.
    void withdrawLast();

    // The set's number in the journal; 0 while nothing was recorded.
    int number() const { return number_; }

private:
    void begin();
    void append(const Change& change);
    // Where the file's content is kept from now on; empty when nowhere.
    std::string keep(const std::string& path);
    std::string keptName();

    std::string dataDirectory_;
    std::string command_;
    bool keepOriginals_;
    int number_ = 0;
    int fd_ = -1;
    std::size_t kept_ = 0;
    std::optional<Change> last_;
};

}  // namespace history

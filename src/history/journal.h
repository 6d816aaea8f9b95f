#pragma once

#include "history/change_record.h"
#include "platform/directory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace history {

// The journal's folder and the originals' folder below the data directory.
std::string journalDirectory(const std::string& dataDirectory);
std::string originalsDirectory(const std::string& dataDirectory, int number);
// The journal file of change set number.
std::string changeSetFile(const std::string& dataDirectory, int number);
// The folder at the top of another file system where this user's originals
// are kept, as the trash keeps its files there.
std::string backupFolderName();

// A folder of the data directory, opened (made with no access for others
// when create and it is missing): used only when it is this user's and
// nobody else may write in it, else FileError with AccessDenied.
platform::Directory openOwnFolder(const std::string& path, bool create);
// The message for a folder or journal file that is not used.
std::string notOwnedMessage(const std::string& path);

// A change set as the journal holds it.
struct ChangeSetRecord {
    int number = 0;
    std::int64_t time = 0;  // seconds since 1970
    std::string command;
    // The set this one undid (an undo of an undo redoes); 0 for a set of a
    // command's own changes.
    int undoes = 0;
    std::vector<Change> changes;  // in the order they were made
    // Closed by its program; a set that is not was left by a killed run.
    bool finished = true;
};

// Every change set of the journal, oldest first; unreadable files are
// passed over. Folders and set files that are not this user's alone are not
// read either; their paths go to notOwned when given.
std::vector<ChangeSetRecord> readJournal(const std::string& dataDirectory,
                                         std::vector<std::string>* notOwned = nullptr);
std::optional<ChangeSetRecord> readChangeSet(const std::string& dataDirectory, int number);

// Where a change set keeps an original: the kept file's name in its open
// folder, and that folder's name in the one above.
struct KeptPlace {
    platform::Directory parent;
    std::string folderName;
    platform::Directory folder;
    std::string name;
};
// The place kept names, opened without following a link, when it is where
// a change set of this number keeps an original (its folder below the data
// directory or at the top of a file system) and the folder is this user's
// alone. A journal that names anything else is not followed.
std::optional<KeptPlace> openKeptPlace(const std::string& dataDirectory, int number, const std::string& kept);

// How many names the file at path has in the places where change sets keep
// originals (a kept original is a second name of the file it was taken
// from until that file is replaced; a program killed in between leaves it).
std::size_t keptNamesOf(const std::string& dataDirectory, const std::string& path);

// The files a change set changed, and the bytes its kept originals take.
std::size_t filesChanged(const ChangeSetRecord& set);
std::uint64_t bytesKept(const ChangeSetRecord& set);

struct Purged {
    std::size_t sets = 0;
    std::uint64_t bytes = 0;
};
// Removes the change sets made more than days ago (all of them for days 0)
// with their kept originals, but for the sets this program is writing.
// Call it under the change lock.
Purged purgeJournal(const std::string& dataDirectory, int days, std::int64_t now);

}  // namespace history

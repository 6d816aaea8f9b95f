#pragma once

#include "history/change_record.h"

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

// A change set as the journal holds it.
struct ChangeSetRecord {
    int number = 0;
    std::int64_t time = 0;  // seconds since 1970
    std::string command;
    std::vector<Change> changes;  // in the order they were made
};

// Every change set of the journal, oldest first; unreadable files are passed over.
std::vector<ChangeSetRecord> readJournal(const std::string& dataDirectory);
std::optional<ChangeSetRecord> readChangeSet(const std::string& dataDirectory, int number);

// Whether kept is where a change set of this number keeps an original: its
// folder below the data directory or at the top of a file system. A journal
// that names anything else is not followed.
bool isKeptPlace(const std::string& dataDirectory, int number, const std::string& kept);

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
// with their kept originals.
Purged purgeJournal(const std::string& dataDirectory, int days, std::int64_t now);

}  // namespace history

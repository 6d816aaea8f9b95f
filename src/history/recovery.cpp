#include "history/recovery.h"

#include "history/journal.h"
#include "platform/directory.h"
#include "platform/file_error.h"
#include "platform/path.h"

#include <optional>
#include <span>

namespace history {

namespace {

struct Named {
    platform::Directory folder;
    std::string name;
};

std::optional<Named> openName(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    try {
        const auto split = platform::splitPath(path);
        return Named{platform::Directory(platform::directoryPath(split.directory)), split.name};
    } catch (const platform::FileError&) {
        return std::nullopt;
    }
}

std::optional<platform::FileStamp> stampAt(const std::string& path)
{
    const auto named = openName(path);
    return named ? named->folder.find(named->name) : std::nullopt;
}

// Removes the name when it still is the file of that stamp.
void removeIf(const std::string& path, const platform::FileStamp& stamp)
{
    if (auto named = openName(path); named && named->folder.find(named->name) == stamp)
        named->folder.remove(named->name);
}

// Where the file at path went through the renames of the set behind change i.
std::string nameAfterLaterRenames(const ChangeSetRecord& set, std::size_t i, std::string path)
{
    for (std::size_t later = i + 1; later < set.changes.size(); ++later) {
        if (set.changes[later].kind == ChangeKind::Renamed && set.changes[later].path == path)
            path = set.changes[later].newPath;
    }
    return path;
}

// Whether change i of the set was never made; what it left on its way is removed.
bool clearUnmade(const std::string& dataDirectory, const ChangeSetRecord& set, std::size_t i)
{
    const Change& change = set.changes[i];
    const int number = set.number;
    if (change.kind == ChangeKind::Replaced) {
        // Where the renames behind it would have taken the file, or where it was, when they never came.
        auto now = stampAt(nameAfterLaterRenames(set, i, change.path));
        if (!now)
            now = stampAt(change.path);
        if (now == change.after)
            return false;
        removeIf(change.temporary, change.after);
        // The original still has its name: the second one is of no use.
        if (now == change.before) {
            if (auto place = openKeptPlace(dataDirectory, number, change.kept);
                place && place->folder.find(place->name) == change.keptStamp)
                place->folder.remove(place->name);
        }
        return true;
    }
    if (change.kind != ChangeKind::Renamed)
        return false;
    if (change.before == change.after) {
        // A rename (of a link, perhaps: the file it leads to was recorded) that never came.
        return !platform::findFileStamp(nameAfterLaterRenames(set, i, change.newPath)) &&
               platform::findFileStamp(change.path) == change.before;
    }
    // A copy to another file system.
    const auto placed = stampAt(nameAfterLaterRenames(set, i, change.newPath));
    if (placed != change.after) {
        removeIf(change.temporary, change.after);
        return true;
    }
    // Killed between placing the copy and removing the original: the original is whole.
    if (stampAt(change.path) == change.before) {
        removeIf(change.newPath, change.after);
        return true;
    }
    return false;
}

}  // namespace

void recoverUnfinished(const std::string& dataDirectory, const std::set<int>& open)
{
    std::optional<platform::Directory> journal;
    for (const ChangeSetRecord& set : readJournal(dataDirectory)) {
        if (set.finished || open.count(set.number))
            continue;
        try {
            if (!journal)
                journal = openOwnFolder(journalDirectory(dataDirectory), false);
            platform::File file = journal->open(std::to_string(set.number) + ".set", platform::File::Mode::ReadWrite);
            // A record cut short by the kill ends where the closing begins.
            std::uint8_t last = '\n';
            if (file.length() > 0)
                file.readAt(file.length() - 1, std::span(&last, 1));
            std::string closing = last == '\n' ? "" : "\n";
            for (std::size_t i = 0; i < set.changes.size(); ++i) {
                if (clearUnmade(dataDirectory, set, i)) {
                    Change withdrawn = set.changes[i];
                    withdrawn.kind = ChangeKind::Withdrawn;
                    closing += formatChange(withdrawn);
                }
            }
            closing += "end\n";
            file.seek(file.length());
            file.write(std::span(reinterpret_cast<const std::uint8_t*>(closing.data()), closing.size()));
            file.sync();
        } catch (const platform::FileError&) {
            // Tried again by the next run.
        }
    }
}

}  // namespace history

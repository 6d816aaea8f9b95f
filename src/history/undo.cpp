#include "history/undo.h"

#include "history/change_set.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/file_move.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/prompter.h"
#include "platform/replacement_file.h"

#include <map>
#include <optional>
#include <set>

namespace history {

namespace {

struct Named {
    platform::Directory folder;
    std::string name;
};

Named openName(const std::string& path)
{
    const auto split = platform::splitPath(path);
    return {platform::Directory(platform::directoryPath(split.directory)), split.name};
}

// What the name is now, a link not followed; none when it is not there.
std::optional<platform::FileStamp> stampAt(const std::string& path)
{
    try {
        const Named named = openName(path);
        return named.folder.find(named.name);
    } catch (const platform::FileError&) {
        return std::nullopt;
    }
}

// The file at path, opened, only while it is the file of the stamp.
std::optional<platform::File> openIfStill(const std::string& path, const platform::FileStamp& stamp)
{
    platform::File file = platform::File::openRegular(path);
    if (file.stamp() != stamp || stampAt(path) != stamp)
        return std::nullopt;
    return file;
}

class Undoing {
public:
    Undoing(const std::string& dataDirectory, const ChangeSetRecord& set, ChangeSet& undo)
        : dataDirectory_(dataDirectory), set_(set), undo_(undo)
    {
    }

    UndoResult run()
    {
        for (std::size_t i = set_.changes.size(); i-- > 0;) {
            const Change& change = set_.changes[i];
            // Whatever became of a file that could not be given back is not touched again.
            if (blocked_.count(change.kind == ChangeKind::Renamed ? change.newPath : change.path))
                continue;
            try {
                if (change.kind == ChangeKind::Renamed)
                    renameBack(change);
                else
                    putBack(change, i);
            } catch (const platform::FileError& error) {
                leaveAlone(change.path, "cause: " + error.causeText());
            }
        }
        return result_;
    }

private:
    // A file renamed back and then given its content back is one file.
    void noteRestored(const std::string& was, const std::string& now)
    {
        for (Restored& restored : result_.restored) {
            if (restored.now == was) {
                restored.now = now;
                return;
            }
        }
        result_.restored.push_back({was, now});
    }

    void leaveAlone(const std::string& path, const std::string& why)
    {
        platform::prompter().showMessage("'" + path + "' " + why + " -> bleibt, wie es ist.");
        blocked_.insert(path);
        ++result_.leftAlone;
    }

    void changedSince(const std::string& path)
    {
        leaveAlone(path, "wurde seit \"" + set_.command + "\" ge\xC3\xA4ndert");
    }

    // Where the file at path was before the renames older than change i,
    // which an undo killed on its way may have undone already.
    std::string nameBeforeOlderRenames(std::size_t i, std::string path) const
    {
        while (i-- > 0) {
            const Change& older = set_.changes[i];
            if (older.kind == ChangeKind::Renamed && older.newPath == path)
                path = older.path;
        }
        return path;
    }

    void renameBack(const Change& change)
    {
        // A rename may have been of a link: the file it leads to is what was recorded.
        const auto now = platform::findFileStamp(change.newPath);
        if (!now) {
            // Given back by an undo that was killed before its end.
            if (platform::findFileStamp(change.path) == change.before) {
                noteRestored(change.newPath, change.path);
                return;
            }
            leaveAlone(change.newPath, "ist nicht mehr da");
            return;
        }
        if (*now != change.after) {
            changedSince(change.newPath);
            return;
        }
        if (platform::fileExists(change.path)) {
            if (change.before != change.after && platform::findFileStamp(change.path) == change.before) {
                // Killed between putting the copy in place and removing the
                // original: the original is whole, the copy is ours.
                Named copy = openName(change.newPath);
                if (copy.folder.find(copy.name) == change.after)
                    copy.folder.remove(copy.name);
                noteRestored(change.newPath, change.path);
                return;
            }
            leaveAlone(change.newPath, "kann nicht zur\xC3\xBC"
                                       "ck: der Name '" +
                                           change.path + "' ist vergeben");
            blocked_.insert(change.path);
            return;
        }
        platform::File file = platform::File::openRegular(change.newPath);
        if (file.stamp() != change.after) {
            changedSince(change.newPath);
            return;
        }
        if (change.before == change.after &&
            platform::splitPath(change.path).directory == platform::splitPath(change.newPath).directory) {
            undo_.recordRename(change.newPath, change.path, change.after);
            try {
                platform::renameOpenFile(file, change.newPath, change.path);
            } catch (const platform::FileError&) {
                undo_.withdrawLast();
                throw;
            }
        } else {
            platform::FileMove back(file, change.newPath, change.path);
            undo_.recordRename(change.newPath, change.path, back.before(), back.after(), back.temporaryPath());
            try {
                back.commit();
            } catch (const platform::FileError&) {
                undo_.withdrawLast();
                throw;
            }
        }
        noteRestored(change.newPath, change.path);
    }

    void putBack(const Change& change, std::size_t index)
    {
        const auto now = stampAt(change.path);
        if (!now) {
            // The file may have its old content and its old name again from
            // an undo that was killed before its end.
            const std::string older = nameBeforeOlderRenames(index, change.path);
            if (older != change.path && stampAt(older) == change.before) {
                noteRestored(change.path, change.path);
                return;
            }
            leaveAlone(change.path, "ist nicht mehr da");
            return;
        }
        // A change that never reached the file needs nothing; one given back
        // by an undo killed before its end has its kept original in place.
        if (*now == change.before) {
            const auto place = openKeptPlace(dataDirectory_, set_.number, change.kept);
            if (!change.kept.empty() && !(place && place->folder.find(place->name)))
                noteRestored(change.path, change.path);
            return;
        }
        if (*now != change.after) {
            changedSince(change.path);
            return;
        }
        auto place = openKeptPlace(dataDirectory_, set_.number, change.kept);
        const auto kept = place ? place->folder.find(place->name) : std::nullopt;
        // Only the file that was kept comes back, not one put in its place.
        if (!kept || !isKeptOriginal(change, *kept)) {
            leaveAlone(change.path, "hat kein aufbewahrtes Original");
            return;
        }
        auto current = openIfStill(change.path, change.after);
        if (!current) {
            changedSince(change.path);
            return;
        }
        if (kept->device == now->device) {
            // The old content takes the file's place whole.
            if (!undo_.recordReplacement(*current, change.path, *kept)) {
                leaveAlone(change.path, "kann nicht aufbewahrt werden");
                return;
            }
            const Named target = openName(change.path);
            if (target.folder.find(target.name) != change.after) {
                undo_.withdrawLast();
                changedSince(change.path);
                return;
            }
            place->folder.replace(place->name, target.folder, target.name);
            target.folder.sync();
        } else if (!copyBack(*place, change, *current)) {
            return;
        }
        noteRestored(change.path, change.path);
    }

    // An original kept as a copy on another file system comes back as new
    // content. Returns false when the file was left alone.
    bool copyBack(const KeptPlace& place, const Change& change, platform::File& current)
    {
        platform::ReplacementFile replacement(change.path);
        platform::File kept = place.folder.open(place.name, platform::File::Mode::Read);
        platform::copyContent(kept, replacement.file());
        replacement.prepareLike(current);
        if (!undo_.recordReplacement(current, change.path, replacement.stamp(), replacement.temporaryPath())) {
            leaveAlone(change.path, "kann nicht aufbewahrt werden");
            return false;
        }
        if (!replacement.commit(change.after)) {
            undo_.withdrawLast();
            changedSince(change.path);
            return false;
        }
        return true;
    }

    const std::string& dataDirectory_;
    const ChangeSetRecord& set_;
    ChangeSet& undo_;
    UndoResult result_;
    std::set<std::string> blocked_;
};

}  // namespace

UndoResult undoChangeSet(const std::string& dataDirectory, const ChangeSetRecord& set, ChangeSet& undo)
{
    return Undoing(dataDirectory, set, undo).run();
}

std::vector<std::string> filesChangedSince(const ChangeSetRecord& set)
{
    struct Left {
        platform::FileStamp stamp;
        bool renamed;  // a rename may have been of a link: the file it leads to counts
    };
    // Each file under its last name, as the last change left it.
    std::map<std::string, Left> left;
    for (const Change& change : set.changes) {
        if (change.kind == ChangeKind::Renamed) {
            left.erase(change.path);
            left[change.newPath] = {change.after, true};
        } else {
            left[change.path] = {change.after, false};
        }
    }
    std::vector<std::string> changed;
    for (const auto& [path, file] : left) {
        if ((file.renamed ? platform::findFileStamp(path) : stampAt(path)) != file.stamp)
            changed.push_back(path);
    }
    return changed;
}

}  // namespace history

#include "history/undo.h"

#include "history/change_set.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/file_move.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/prompter.h"
#include "platform/replacement_file.h"

#include <cstdio>
#include <optional>
#include <set>
#include <unistd.h>

namespace history {

namespace {

class Undoing {
public:
    Undoing(const std::string& dataDirectory, const ChangeSetRecord& set, ChangeSet& undo)
        : dataDirectory_(dataDirectory), set_(set), undo_(undo)
    {
    }

    UndoResult run()
    {
        for (auto change = set_.changes.rbegin(); change != set_.changes.rend(); ++change) {
            // Whatever became of a file that could not be given back is not touched again.
            if (blocked_.count(change->kind == ChangeKind::Renamed ? change->newPath : change->path))
                continue;
            try {
                if (change->kind == ChangeKind::Renamed)
                    renameBack(*change);
                else
                    putBack(*change);
            } catch (const platform::FileError& error) {
                leaveAlone(change->path, "cause: " + error.causeText());
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

    void renameBack(const Change& change)
    {
        const auto now = platform::findFileStamp(change.newPath);
        if (!now) {
            // Killed before the rename: the file still has its old name, and
            // a copy on its way to another file system is of no use.
            if (platform::findFileStamp(change.path) == change.before) {
                ::unlink(platform::ReplacementFile::temporaryPathFor(change.newPath).c_str());
                return;
            }
            leaveAlone(change.newPath, "ist nicht mehr da");
            return;
        }
        if (*now != change.after) {
            leaveAlone(change.newPath, "wurde seit \"" + set_.command + "\" geändert");
            return;
        }
        if (platform::fileExists(change.path)) {
            if (change.before != change.after && platform::findFileStamp(change.path) == change.before) {
                // Killed between putting the copy in place and removing the
                // original: the original is whole, the copy is ours.
                platform::removeFile(change.newPath);
                noteRestored(change.newPath, change.path);
                return;
            }
            leaveAlone(change.newPath, "kann nicht zurück: der Name '" + change.path + "' ist vergeben");
            blocked_.insert(change.path);
            return;
        }
        platform::FileMove back(change.newPath, change.path);
        undo_.recordRename(change.newPath, change.path, back.before(), back.after());
        try {
            back.commit();
        } catch (const platform::FileError&) {
            undo_.withdrawLast();
            throw;
        }
        noteRestored(change.newPath, change.path);
    }

    void putBack(const Change& change)
    {
        const auto now = platform::findFileStamp(change.path);
        // Killed before the replacement: the file still has its old content,
        // and the unfinished new content beside it is of no use.
        if (now && *now == change.before) {
            ::unlink(platform::ReplacementFile::temporaryPathFor(change.path).c_str());
            return;
        }
        if (!now || *now != change.after) {
            leaveAlone(change.path,
                       now ? "wurde seit \"" + set_.command + "\" geändert" : std::string("ist nicht mehr da"));
            return;
        }
        const auto original =
            isKeptPlace(dataDirectory_, set_.number, change.kept) ? platform::findFileStamp(change.kept) : std::nullopt;
        if (!original) {
            leaveAlone(change.path, "hat kein aufbewahrtes Original");
            return;
        }
        if (original->device == now->device) {
            // A second name of the old content: it takes the file's place whole.
            if (!undo_.recordReplacement(change.path, *now, *original)) {
                leaveAlone(change.path, "kann nicht aufbewahrt werden");
                return;
            }
            if (std::rename(change.kept.c_str(), change.path.c_str()) != 0)
                throw platform::FileError::fromErrno(errno, change.path, "cannot replace");
            platform::syncDirectory(platform::splitPath(change.path).directory);
        } else if (!copyBack(change, *now)) {
            return;
        }
        noteRestored(change.path, change.path);
    }

    // An original kept as a copy on another file system comes back as new
    // content. Returns false when the file was left alone.
    bool copyBack(const Change& change, const platform::FileStamp& now)
    {
        platform::ReplacementFile replacement(change.path);
        platform::File kept(change.kept, platform::File::Mode::Read);
        std::vector<std::uint8_t> block(1 << 20);
        for (std::size_t got; (got = kept.read(block)) > 0;)
            replacement.file().write(std::span(block).first(got));
        replacement.prepare();
        if (!undo_.recordReplacement(change.path, now, replacement.stamp())) {
            leaveAlone(change.path, "kann nicht aufbewahrt werden");
            return false;
        }
        replacement.commit();
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

}  // namespace history

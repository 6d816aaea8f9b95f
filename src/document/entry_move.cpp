#include "document/entry_move.h"

#include "document/liedkram_doc.h"
#include "entry/entry_file.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/file_move.h"
#include "platform/path.h"
#include "platform/prompter.h"

#include <cerrno>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace document {

namespace {

bool sameFolder(const std::string& a, const std::string& b)
{
    const auto left = platform::findFileStamp(platform::directoryPath(a));
    const auto right = platform::findFileStamp(platform::directoryPath(b));
    return left && right && left->device == right->device && left->inode == right->inode;
}

// Why no file can go into the folder; empty when files can.
std::string folderProblem(const std::string& folder)
{
    const std::string path = platform::directoryPath(folder);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return "'" + path + "' ist kein Verzeichnis";
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return "In '" + path + "' kann nicht geschrieben werden, cause: " +
               platform::FileError::fromErrno(errno, path, "cannot write").causeText();
    return {};
}

void leaveAlone(const std::string& why, const std::string& path)
{
    platform::prompter().showMessage(why + " -> '" + path + "' bleibt, wo es ist.");
}

class Mover {
public:
    Mover(const std::string& folder, history::ChangeSet* changes, MoveReport& report)
        : folder_(folder), changes_(changes), report_(report)
    {
    }

    // Whether the entry changed.
    bool move(CLiedkramEntry& entry)
    {
        const std::string from = entry.GetFullPath();
        // Another row of the same file follows it.
        if (moved_.count(from)) {
            entry.m_szPath = folder_;
            return true;
        }
        if (sameFolder(entry.m_szPath.str(), folder_))
            return false;
        const std::string to = platform::joinPath(folder_, entry.m_szFileName.view());
        try {
            if (!moveFile(from, to, entry))
                return false;
        } catch (const platform::FileError& error) {
            ++report_.leftAlone;
            if (!platform::fileExists(from))
                platform::prompter().showMessage("'" + from + "' ist nicht mehr da -> nicht verschoben.");
            else if (platform::fileExists(to))
                leaveAlone("'" + to + "' gibt es schon", from);
            else
                leaveAlone("Verschieben geht nicht, cause: " + error.causeText(), from);
            return false;
        }
        moved_.insert(from);
        report_.moved.push_back({from, to});
        return true;
    }

private:
    // False when the run has to stop (reported).
    bool moveFile(const std::string& from, const std::string& to, CLiedkramEntry& entry)
    {
        // Only the MP3 file the entry names moves, whatever stands there now.
        platform::File file = entry::openEntryFile(entry);
        // A taken name fails here, before anything is copied or recorded.
        platform::FileMove move(file, from, to);
        if (changes_ && !record(from, to, move))
            return false;
        try {
            move.commit();
        } catch (const platform::FileError&) {
            if (changes_)
                changes_->withdrawLast();
            throw;
        }
        entry.m_szPath = folder_;
        // A copy keeps the time, but not every file system keeps it to the nanosecond.
        if (entry.m_nModifiedNs != 0)
            entry.m_nModifiedNs = move.after().modifiedNs;
        return true;
    }

    bool record(const std::string& from, const std::string& to, const platform::FileMove& move)
    {
        try {
            changes_->recordRename(from, to, move.before(), move.after(), move.temporaryPath());
            return true;
        } catch (const platform::FileError& error) {
            platform::prompter().showMessage("Cannot save '" + error.path() + "' cause: " + error.causeText() +
                                             " -> nichts mehr verschoben.");
            report_.stopped = true;
            return false;
        }
    }

    const std::string& folder_;
    history::ChangeSet* changes_;
    MoveReport& report_;
    std::set<std::string> moved_;
};

}  // namespace

std::string EntryFolder(const std::string& folder)
{
    std::string absolute = platform::absolutePath(folder);
    while (!absolute.empty() && absolute.back() == platform::kSeparator)
        absolute.pop_back();
    return absolute;
}

MoveReport MoveEntryFiles(CLiedkramDoc& doc, const std::vector<std::size_t>& rows, const std::string& folder,
                          history::ChangeSet* changes, const std::function<bool(std::size_t, std::size_t)>& progress)
{
    MoveReport report;
    if (const std::string problem = folderProblem(folder); !problem.empty()) {
        platform::prompter().showMessage(problem + " -> nichts verschoben.");
        report.leftAlone = rows.size();
        return report;
    }
    Mover mover(folder, changes, report);
    bool changed = false;
    for (std::size_t done = 0; done < rows.size() && !report.stopped; ++done) {
        if (rows[done] < doc.GetCount() && mover.move(doc.GetEntry(rows[done]))) {
            doc.RefreshRow(rows[done]);
            changed = true;
        }
        if (progress && !progress(done + 1, rows.size()))
            report.stopped = true;
    }
    if (changed)
        doc.SetChanged();
    return report;
}

}  // namespace document

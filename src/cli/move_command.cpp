#include "cli/move_command.h"

#include "cli/list_command.h"
#include "cli/scan_table.h"
#include "cli/usage.h"
#include "document/entry_move.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "history/journal_location.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/prompter.h"

#include <cstdint>
#include <map>
#include <numeric>
#include <optional>
#include <utility>

namespace cli {

namespace {

using FileId = std::pair<std::uint64_t, std::uint64_t>;

std::optional<FileId> fileIdOf(const std::string& path)
{
    const auto stamp = platform::findFileStamp(path);
    if (!stamp)
        return std::nullopt;
    return FileId{stamp->device, stamp->inode};
}

struct NamedRows {
    std::vector<std::size_t> rows;
    bool allFound = true;
};

// The rows whose files the paths name, in list order: by the path itself,
// or as the same file reached another way (a link, a relative name). A
// path that names no entry is reported.
NamedRows rowsNamed(const CLiedkramDoc& doc, const std::vector<std::string>& paths)
{
    std::map<std::string, std::size_t> byPath;
    std::map<std::string, std::size_t> byName;
    std::map<FileId, std::size_t> byFile;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string absolute = platform::absolutePath(paths[i]);
        byPath.emplace(absolute, i);
        byName.emplace(platform::splitPath(absolute).name, i);
        if (const auto id = fileIdOf(absolute))
            byFile.emplace(*id, i);
    }
    const auto pathNamed = [&](const CLiedkramEntry& entry) -> std::optional<std::size_t> {
        const std::string path = entry.GetFullPath();
        if (const auto same = byPath.find(path); same != byPath.end())
            return same->second;
        // Only a file of a named name can be a named file: no look at every other file.
        if (!byName.count(entry.m_szFileName.str()))
            return std::nullopt;
        const auto id = fileIdOf(path);
        if (!id || !byFile.count(*id))
            return std::nullopt;
        return byFile.at(*id);
    };
    std::vector<bool> found(paths.size(), false);
    NamedRows named;
    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        if (const auto path = pathNamed(doc.GetEntry(row))) {
            found[*path] = true;
            named.rows.push_back(row);
        }
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!found[i]) {
            platform::prompter().showMessage("'" + paths[i] + "' is not in the list -> not moved.");
            named.allFound = false;
        }
    }
    return named;
}

}  // namespace

int runMove(const platform::RepairSettings& settings, const std::string& listPath, const std::string& folder,
            const std::vector<std::string>& paths, bool all, std::ostream& out)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    // Files moved under a list that cannot be saved would be lost to it.
    if (!doc.CanSaveTo(listPath))
        return kExitSkipped;
    std::vector<std::size_t> rows(doc.GetCount());
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    bool allNamed = true;
    if (!all) {
        NamedRows named = rowsNamed(doc, paths);
        rows = std::move(named.rows);
        allNamed = named.allFound;
    }
    history::ChangeSet changes(history::dataDirectory(), "move", history::keepingIsOn());
    const document::MoveReport report = document::MoveEntryFiles(doc, rows, document::EntryFolder(folder), &changes);
    for (const document::MovedFile& moved : report.moved)
        out << "moved " << escapeField(moved.from) << " -> " << escapeField(moved.to) << '\n';
    out << std::flush;
    if (doc.m_bChanged && !saveList(doc, listPath))
        return kExitSkipped;
    return report.allDone() && allNamed ? kExitOk : kExitSkipped;
}

}  // namespace cli

#include "history/journal.h"

#include "history/change_lock.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace history {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFirstMagic = "liedkram-journal 1\n";
constexpr std::string_view kMagic = "liedkram-journal 2\n";
constexpr std::string_view kTime = "time ";
constexpr std::string_view kCommand = "command ";
constexpr std::string_view kUndoes = "undoes ";
constexpr std::string_view kEnd = "end\n";
constexpr std::string_view kExtension = ".set";
constexpr std::string_view kFirstBackupFolder = ".liedkram-backup";
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kReadBlock = 1 << 16;

std::optional<int> numberOf(std::string_view name)
{
    if (!name.ends_with(kExtension))
        return std::nullopt;
    int number = 0;
    const char* end = name.data() + name.size() - kExtension.size();
    const auto [stop, error] = std::from_chars(name.data(), end, number);
    if (error != std::errc() || stop != end || number <= 0)
        return std::nullopt;
    return number;
}

// The lines of the text, each with its line break; a last line without one
// (cut short by a crash) is kept without it.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = text.find('\n', begin);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(begin, stop - begin));
        begin = stop;
    }
    return lines;
}

std::optional<ChangeSetRecord> parseChangeSet(int number, std::string_view text)
{
    const auto lines = linesOf(text);
    if (lines.size() < 3 || (lines[0] != kMagic && lines[0] != kFirstMagic) || !lines[1].starts_with(kTime) ||
        !lines[2].starts_with(kCommand) || !lines[2].ends_with('\n'))
        return std::nullopt;
    ChangeSetRecord set;
    set.number = number;
    // The first layout marked no end: its sets count as closed.
    set.finished = lines[0] == kFirstMagic;
    const std::string_view time = lines[1].substr(kTime.size(), lines[1].size() - kTime.size() - 1);
    if (std::from_chars(time.data(), time.data() + time.size(), set.time).ec != std::errc())
        return std::nullopt;
    const auto command =
        platform::unescapedControls(lines[2].substr(kCommand.size(), lines[2].size() - kCommand.size() - 1));
    if (!command)
        return std::nullopt;
    set.command = *command;
    std::size_t first = 3;
    // Journals written before undos named their set have no such line.
    if (lines.size() > first && lines[first].starts_with(kUndoes) && lines[first].ends_with('\n')) {
        const std::string_view undoes = lines[first].substr(kUndoes.size(), lines[first].size() - kUndoes.size() - 1);
        const auto [end, error] = std::from_chars(undoes.data(), undoes.data() + undoes.size(), set.undoes);
        // Only an older set can have been undone; anything else names none.
        if (error != std::errc() || end != undoes.data() + undoes.size() || set.undoes <= 0 || set.undoes >= number)
            set.undoes = 0;
        ++first;
    }
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (lines[i] == kEnd) {
            set.finished = true;
            continue;
        }
        auto change = parseChange(lines[i]);
        if (!change)
            continue;
        if (change->kind != ChangeKind::Withdrawn) {
            set.changes.push_back(std::move(*change));
            continue;
        }
        // The same change: a rewrite and a rename of one file are two.
        const auto withdrawn = std::find_if(set.changes.rbegin(), set.changes.rend(), [&](const Change& made) {
            return made.path == change->path && made.newPath == change->newPath && made.before == change->before &&
                   made.after == change->after;
        });
        if (withdrawn != set.changes.rend())
            set.changes.erase(std::next(withdrawn).base());
    }
    return set;
}

bool isOwnAndUnshared(const platform::FileOwner& owner)
{
    return owner.user == ::geteuid() && (owner.permissions & 022) == 0;
}

// A set file is read only when it is this user's alone.
std::optional<ChangeSetRecord> readSetFile(const platform::Directory& journal, const std::string& name, int number,
                                           std::vector<std::string>* notOwned)
{
    try {
        platform::File file = journal.open(name, platform::File::Mode::Read);
        if (!isOwnAndUnshared(file.owner())) {
            if (notOwned)
                notOwned->push_back(file.path());
            return std::nullopt;
        }
        std::string text;
        std::vector<std::uint8_t> block(kReadBlock);
        for (std::size_t got; (got = file.read(block)) > 0;)
            text.append(reinterpret_cast<const char*>(block.data()), got);
        return parseChangeSet(number, text);
    } catch (const platform::FileError&) {
        return std::nullopt;
    }
}

// The journal folder for reading: none when there is none, or when it (or
// the data directory) is not this user's alone.
std::optional<platform::Directory> journalForReading(const std::string& dataDirectory,
                                                     std::vector<std::string>* notOwned)
{
    for (const std::string& folder : {dataDirectory, journalDirectory(dataDirectory)}) {
        try {
            platform::Directory opened = openOwnFolder(folder, false);
            if (folder != dataDirectory)
                return opened;
        } catch (const platform::FileError& error) {
            if (error.cause() == platform::FileCause::AccessDenied && notOwned)
                notOwned->push_back(folder);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The folder of a kept name, if it is this user's alone and no link.
std::optional<KeptPlace> openPlace(platform::Directory parent, const std::string& folderName, const std::string& name)
{
    try {
        platform::Directory folder = parent.child(folderName);
        if (!folder.isOwnAndUnshared())
            return std::nullopt;
        return KeptPlace{std::move(parent), folderName, std::move(folder), name};
    } catch (const platform::FileError&) {
        return std::nullopt;
    }
}

}  // namespace

std::string journalDirectory(const std::string& dataDirectory)
{
    return dataDirectory + "/journal";
}

std::string originalsDirectory(const std::string& dataDirectory, int number)
{
    return dataDirectory + "/originals/" + std::to_string(number);
}

std::string changeSetFile(const std::string& dataDirectory, int number)
{
    return journalDirectory(dataDirectory) + "/" + std::to_string(number) + std::string(kExtension);
}

std::string backupFolderName()
{
    return std::string(kFirstBackupFolder) + "-" + std::to_string(::geteuid());
}

platform::Directory openOwnFolder(const std::string& path, bool create)
{
    if (create)
        platform::makeDirectories(path, 0700);
    platform::Directory folder(path);
    if (!folder.isOwnAndUnshared())
        throw platform::FileError(platform::FileCause::AccessDenied, path, notOwnedMessage(path),
                                  "Not the user's own folder");
    return folder;
}

std::string notOwnedMessage(const std::string& path)
{
    return "'" + path + "' geh\xC3\xB6rt nicht Ihnen -> nicht verwendet.";
}

std::vector<ChangeSetRecord> readJournal(const std::string& dataDirectory, std::vector<std::string>* notOwned)
{
    std::vector<ChangeSetRecord> sets;
    const auto journal = journalForReading(dataDirectory, notOwned);
    if (!journal)
        return sets;
    for (const std::string& name : journal->names()) {
        if (const auto number = numberOf(name)) {
            if (auto set = readSetFile(*journal, name, *number, notOwned))
                sets.push_back(std::move(*set));
        }
    }
    std::sort(sets.begin(), sets.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return sets;
}

std::optional<ChangeSetRecord> readChangeSet(const std::string& dataDirectory, int number)
{
    const auto journal = journalForReading(dataDirectory, nullptr);
    if (!journal)
        return std::nullopt;
    return readSetFile(*journal, std::to_string(number) + std::string(kExtension), number, nullptr);
}

std::optional<KeptPlace> openKeptPlace(const std::string& dataDirectory, int number, const std::string& kept)
{
    const fs::path path(kept);
    const fs::path folder = path.parent_path();
    const std::string name = path.filename().string();
    if (!path.is_absolute() || name.empty() || path.lexically_normal() != path ||
        folder.filename() != std::to_string(number))
        return std::nullopt;
    const std::string numberName = std::to_string(number);
    try {
        if (folder == fs::path(originalsDirectory(dataDirectory, number))) {
            openOwnFolder(dataDirectory, false);
            auto originals = openPlace(platform::Directory(dataDirectory), "originals", "");
            if (!originals)
                return std::nullopt;
            return openPlace(std::move(originals->folder), numberName, name);
        }
        const fs::path user = folder.parent_path();
        if (user.filename() == backupFolderName()) {
            auto backup = openPlace(platform::Directory(user.parent_path().string()), backupFolderName(), "");
            if (!backup || !backup->folder.isPrivate())
                return std::nullopt;
            return openPlace(std::move(backup->folder), numberName, name);
        }
        // The first layout: a folder of the user's own in a folder shared by every user.
        if (user.parent_path().filename() == kFirstBackupFolder && user.filename() == std::to_string(::geteuid())) {
            auto shared =
                platform::Directory(user.parent_path().parent_path().string()).child(std::string(kFirstBackupFolder));
            auto own = openPlace(std::move(shared), user.filename().string(), "");
            if (!own || !own->folder.isPrivate())
                return std::nullopt;
            return openPlace(std::move(own->folder), numberName, name);
        }
    } catch (const platform::FileError&) {
    }
    return std::nullopt;
}

std::size_t keptNamesOf(const std::string& dataDirectory, const std::string& path)
{
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0)
        return 0;
    const fs::path top = platform::mountTopOf(path);
    const std::vector<fs::path> places = {fs::path(dataDirectory) / "originals", top / backupFolderName(),
                                          top / kFirstBackupFolder / std::to_string(::geteuid())};
    std::error_code failed;
    std::size_t names = 0;
    for (const fs::path& place : places) {
        for (const auto& entry : fs::recursive_directory_iterator(place, failed)) {
            struct stat kept {};
            if (::lstat(entry.path().c_str(), &kept) == 0 && S_ISREG(kept.st_mode) && kept.st_dev == file.st_dev &&
                kept.st_ino == file.st_ino)
                ++names;
        }
    }
    return names;
}

std::size_t filesChanged(const ChangeSetRecord& set)
{
    // A file renamed and then rewritten is one file: follow it by its names.
    std::map<std::string, std::size_t> fileAt;
    std::size_t files = 0;
    for (const Change& change : set.changes) {
        auto found = fileAt.find(change.path);
        const std::size_t file = found != fileAt.end() ? found->second : ++files;
        if (change.kind == ChangeKind::Renamed) {
            fileAt.erase(change.path);
            fileAt[change.newPath] = file;
        } else {
            fileAt[change.path] = file;
        }
    }
    return files;
}

std::uint64_t bytesKept(const ChangeSetRecord& set)
{
    std::uint64_t bytes = 0;
    for (const Change& change : set.changes) {
        struct stat info {};
        if (!change.kept.empty() && ::lstat(change.kept.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            bytes += static_cast<std::uint64_t>(info.st_size);
    }
    return bytes;
}

Purged purgeJournal(const std::string& dataDirectory, int days, std::int64_t now)
{
    ChangeLock lock(dataDirectory);
    Purged purged;
    const auto journal = journalForReading(dataDirectory, nullptr);
    if (!journal)
        return purged;
    for (const ChangeSetRecord& set : readJournal(dataDirectory)) {
        if ((days > 0 && set.time > now - days * kSecondsPerDay) || lock.openSets().count(set.number))
            continue;
        try {
            for (const Change& change : set.changes) {
                // Only what was opened as a place of ours goes.
                if (auto place = openKeptPlace(dataDirectory, set.number, change.kept)) {
                    purged.bytes += place->folder.removeTree(place->name);
                    place->parent.removeTree(place->folderName);
                }
            }
            if (auto originals = openPlace(platform::Directory(dataDirectory), "originals", ""))
                originals->folder.removeTree(std::to_string(set.number));
            journal->remove(std::to_string(set.number) + std::string(kExtension));
            ++purged.sets;
        } catch (const platform::FileError&) {
            // What cannot be removed now is tried again by the next purge.
        }
    }
    return purged;
}

}  // namespace history

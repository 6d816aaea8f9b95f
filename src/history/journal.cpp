#include "history/journal.h"

#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace history {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "liedkram-journal 1\n";
constexpr std::string_view kTime = "time ";
constexpr std::string_view kCommand = "command ";
constexpr std::string_view kExtension = ".set";
constexpr std::int64_t kSecondsPerDay = 86400;

std::optional<int> numberOf(const fs::path& file)
{
    const std::string name = file.filename().string();
    if (file.extension() != kExtension)
        return std::nullopt;
    int number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size() - kExtension.size(), number);
    if (error != std::errc() || end != name.data() + name.size() - kExtension.size() || number <= 0)
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
    if (lines.size() < 3 || lines[0] != kMagic || !lines[1].starts_with(kTime) || !lines[2].starts_with(kCommand) ||
        !lines[2].ends_with('\n'))
        return std::nullopt;
    ChangeSetRecord set;
    set.number = number;
    const std::string_view time = lines[1].substr(kTime.size(), lines[1].size() - kTime.size() - 1);
    if (std::from_chars(time.data(), time.data() + time.size(), set.time).ec != std::errc())
        return std::nullopt;
    const auto command =
        platform::unescapedControls(lines[2].substr(kCommand.size(), lines[2].size() - kCommand.size() - 1));
    if (!command)
        return std::nullopt;
    set.command = *command;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        auto change = parseChange(lines[i]);
        if (!change)
            continue;
        if (change->kind != ChangeKind::Withdrawn) {
            set.changes.push_back(std::move(*change));
            continue;
        }
        const auto withdrawn = std::find_if(set.changes.rbegin(), set.changes.rend(),
                                            [&](const Change& made) { return made.path == change->path; });
        if (withdrawn != set.changes.rend())
            set.changes.erase(std::next(withdrawn).base());
    }
    return set;
}

std::optional<ChangeSetRecord> readSetFile(const fs::path& file, int number)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseChangeSet(number, text);
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

std::vector<ChangeSetRecord> readJournal(const std::string& dataDirectory)
{
    std::vector<ChangeSetRecord> sets;
    std::error_code failed;
    for (const auto& entry : fs::directory_iterator(journalDirectory(dataDirectory), failed)) {
        if (const auto number = numberOf(entry.path())) {
            if (auto set = readSetFile(entry.path(), *number))
                sets.push_back(std::move(*set));
        }
    }
    std::sort(sets.begin(), sets.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return sets;
}

std::optional<ChangeSetRecord> readChangeSet(const std::string& dataDirectory, int number)
{
    return readSetFile(changeSetFile(dataDirectory, number), number);
}

bool isKeptPlace(const std::string& dataDirectory, int number, const std::string& kept)
{
    const fs::path path(kept);
    const fs::path folder = path.parent_path();
    if (!path.is_absolute() || path.filename().empty() || path.lexically_normal() != path ||
        folder.filename() != std::to_string(number))
        return false;
    if (folder == fs::path(originalsDirectory(dataDirectory, number)))
        return true;
    return folder.parent_path().parent_path().filename() == ".liedkram-backup";
}

std::size_t keptNamesOf(const std::string& dataDirectory, const std::string& path)
{
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0)
        return 0;
    std::vector<fs::path> places = {fs::path(dataDirectory) / "originals"};
    std::error_code failed;
    const std::string top = platform::mountTopOf(path);
    places.push_back(fs::path(top) / ".liedkram-backup" / std::to_string(::getuid()));
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
        if (!change.kept.empty() && ::stat(change.kept.c_str(), &info) == 0)
            bytes += static_cast<std::uint64_t>(info.st_size);
    }
    return bytes;
}

Purged purgeJournal(const std::string& dataDirectory, int days, std::int64_t now)
{
    Purged purged;
    for (const ChangeSetRecord& set : readJournal(dataDirectory)) {
        if (days > 0 && set.time > now - days * kSecondsPerDay)
            continue;
        std::set<std::string> folders;
        for (const Change& change : set.changes) {
            if (isKeptPlace(dataDirectory, set.number, change.kept)) {
                purged.bytes += platform::removeTree(change.kept);
                folders.insert(platform::splitPath(change.kept).directory);
            }
        }
        for (const std::string& folder : folders)
            platform::removeTree(folder);
        platform::removeTree(originalsDirectory(dataDirectory, set.number));
        platform::removeTree(changeSetFile(dataDirectory, set.number));
        ++purged.sets;
    }
    return purged;
}

}  // namespace history

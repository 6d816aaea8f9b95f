#include "history/change_set.h"

#include "history/journal.h"
#include "history/journal_location.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace history {

namespace {

constexpr const char* kMountFolder = ".liedkram-backup";

void writeAll(int fd, const std::string& text, const std::string& path)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote < 0)
            throw platform::FileError::fromErrno(errno, path, "cannot write");
        done += static_cast<std::size_t>(wrote);
    }
    if (::fdatasync(fd) != 0)
        throw platform::FileError::fromErrno(errno, path, "cannot write");
}

int highestNumber(const std::string& dataDirectory)
{
    int highest = 0;
    for (const ChangeSetRecord& set : readJournal(dataDirectory))
        highest = std::max(highest, set.number);
    return highest;
}

}  // namespace

ChangeSet::ChangeSet(std::string dataDirectory, std::string command, bool keepOriginals)
    : dataDirectory_(std::move(dataDirectory)), command_(std::move(command)), keepOriginals_(keepOriginals)
{
}

ChangeSet::~ChangeSet()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void ChangeSet::begin()
{
    if (fd_ >= 0)
        return;
    const std::string directory = journalDirectory(dataDirectory_);
    platform::makeDirectories(directory, 0700);
    const std::int64_t now = std::time(nullptr);
    // What has been kept long enough goes when a new change set begins.
    purgeJournal(dataDirectory_, keptDays(), now);
    // Another program may claim a number at the same time: the file's
    // exclusive creation decides.
    for (int number = highestNumber(dataDirectory_) + 1;; ++number) {
        const std::string file = changeSetFile(dataDirectory_, number);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            throw platform::FileError::fromErrno(errno, file, "cannot create");
        fd_ = fd;
        number_ = number;
        writeAll(fd_,
                 "liedkram-journal 1\ntime " + std::to_string(now) + "\ncommand " +
                     platform::escapedControls(command_) + "\n",
                 file);
        platform::syncDirectory(directory);
        return;
    }
}

void ChangeSet::append(const Change& change)
{
    begin();
    writeAll(fd_, formatChange(change), changeSetFile(dataDirectory_, number_));
    last_ = change;
}

void ChangeSet::withdrawLast()
{
    if (!last_)
        return;
    Change withdrawn = *last_;
    withdrawn.kind = ChangeKind::Withdrawn;
    append(withdrawn);
    if (!withdrawn.kept.empty())
        ::unlink(withdrawn.kept.c_str());
    last_.reset();
}

std::string ChangeSet::keptName()
{
    return std::to_string(++kept_) + ".mp3";
}

std::string ChangeSet::keep(const std::string& path)
{
    begin();
    const std::string name = keptName();
    const std::string ownFolder = originalsDirectory(dataDirectory_, number_);
    const std::uint64_t device = platform::deviceOf(path);
    // A second name costs no copy: in the data directory when it is on the
    // same file system, else in a folder at the top of the file's own. It
    // needs no sync of its own: the file system records it before the rename
    // that replaces the file, and the rewrite makes that rename durable.
    try {
        platform::makeDirectories(ownFolder, 0700);
        if (platform::deviceOf(ownFolder) == device) {
            const std::string kept = platform::joinPath(ownFolder, name);
            platform::linkFile(path, kept);
            return kept;
        }
    } catch (const platform::FileError&) {
    }
    try {
        const std::string shared = platform::joinPath(platform::mountTopOf(path), kMountFolder);
        // Shared by every user of the file system, like /tmp; each has a folder of their own.
        if (::mkdir(shared.c_str(), 01777) == 0)
            ::chmod(shared.c_str(), 01777);
        const std::string folder = shared + "/" + std::to_string(::getuid()) + "/" + std::to_string(number_);
        platform::makeDirectories(folder, 0700);
        const std::string kept = platform::joinPath(folder, name);
        platform::linkFile(path, kept);
        return kept;
    } catch (const platform::FileError&) {
    }
    try {
        const std::string kept = platform::joinPath(ownFolder, name);
        platform::copyFileDurably(path, kept);
        platform::syncDirectory(ownFolder);
        return kept;
    } catch (const platform::FileError&) {
    }
    return {};
}

bool ChangeSet::recordReplacement(const std::string& path, const platform::FileStamp& before,
                                  const platform::FileStamp& after)
{
    if (!keepOriginals_) {
        recordUnkeptReplacement(path, before, after);
        return true;
    }
    const std::string kept = keep(path);
    if (kept.empty())
        return false;
    append({ChangeKind::Replaced, path, {}, kept, before, after});
    return true;
}

void ChangeSet::recordUnkeptReplacement(const std::string& path, const platform::FileStamp& before,
                                        const platform::FileStamp& after)
{
    append({ChangeKind::Replaced, path, {}, {}, before, after});
}

void ChangeSet::recordRename(const std::string& from, const std::string& to, const platform::FileStamp& stamp)
{
    recordRename(from, to, stamp, stamp);
}

void ChangeSet::recordRename(const std::string& from, const std::string& to, const platform::FileStamp& before,
                             const platform::FileStamp& after)
{
    append({ChangeKind::Renamed, from, to, {}, before, after});
}

}  // namespace history

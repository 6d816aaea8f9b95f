#include "history/change_set.h"

#include "history/journal.h"
#include "history/journal_location.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text.h"

#include <cerrno>
#include <ctime>
#include <span>
#include <unistd.h>

namespace history {

namespace {

constexpr std::string_view kEnd = "end\n";

std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

int highestNumber(const std::string& dataDirectory)
{
    int highest = 0;
    for (const ChangeSetRecord& set : readJournal(dataDirectory))
        highest = std::max(highest, set.number);
    return highest;
}

std::string setName(int number)
{
    return std::to_string(number) + ".set";
}

}  // namespace

ChangeSet::ChangeSet(std::string dataDirectory, std::string command, bool keepOriginals, int undoes)
    : dataDirectory_(std::move(dataDirectory)),
      command_(std::move(command)),
      keepOriginals_(keepOriginals),
      undoes_(undoes)
{
}

ChangeSet::~ChangeSet()
{
    if (!file_.isOpen())
        return;
    // A set without its end is taken for the leftover of a killed run.
    try {
        if (!broken_)
            write(std::string(kEnd));
    } catch (const platform::FileError&) {
    }
    lock_->openSets().erase(number_);
}

void ChangeSet::begin()
{
    if (file_.isOpen())
        return;
    if (broken_)
        throw platform::FileError(platform::FileCause::HardIO, changeSetFile(dataDirectory_, number_),
                                  "the journal could not be written");
    if (!lock_)
        lock_.emplace(dataDirectory_);
    openOwnFolder(dataDirectory_, true);
    const platform::Directory journal = openOwnFolder(journalDirectory(dataDirectory_), true);
    const std::int64_t now = std::time(nullptr);
    // What has been kept long enough goes when a new change set begins.
    purgeJournal(dataDirectory_, keptDays(), now);
    claimNumber(journal, "liedkram-journal 2\ntime " + std::to_string(now) + "\ncommand " +
                             platform::escapedControls(command_) + "\n" +
                             (undoes_ > 0 ? "undoes " + std::to_string(undoes_) + "\n" : std::string()));
    lock_->openSets().insert(number_);
}

void ChangeSet::claimNumber(const platform::Directory& journal, const std::string& header)
{
    // The set gets its name only once its header is durable, so a set that
    // is listed is one that can be read. Another program may claim a number
    // at the same time: the name that cannot be taken twice decides.
    auto unnamed = platform::File::unnamedIn(journal, 0600);
    const std::string claim = ".claim-" + std::to_string(::getpid());
    if (!unnamed) {
        journal.removeTree(claim);
        unnamed = journal.open(claim, platform::File::Mode::CreateExclusive);
    }
    platform::File file = std::move(*unnamed);
    try {
        file.write(bytesOf(header));
        file.sync();
        for (int number = highestNumber(dataDirectory_) + 1;; ++number) {
            try {
                if (journal.find(claim))
                    journal.renameNoReplace(claim, journal, setName(number));
                else
                    platform::linkOpenFile(file, journal, setName(number));
            } catch (const platform::FileError&) {
                if (journal.find(setName(number)))
                    continue;
                throw;
            }
            number_ = number;
            break;
        }
    } catch (...) {
        if (journal.find(claim))
            journal.remove(claim);
        throw;
    }
    journal.sync();
    file_ = std::move(file);
    size_ = static_cast<std::int64_t>(header.size());
}

void ChangeSet::write(const std::string& text)
{
    try {
        file_.seek(size_);
        file_.write(bytesOf(text));
        file_.sync();
    } catch (const platform::FileError&) {
        // A record cut short would run into the next one: it goes, and the
        // change it was for is not made.
        try {
            file_.setLength(size_);
            file_.sync();
        } catch (const platform::FileError&) {
            broken_ = true;
        }
        throw;
    }
    size_ += static_cast<std::int64_t>(text.size());
}

void ChangeSet::append(const Change& change)
{
    begin();
    if (broken_)
        throw platform::FileError(platform::FileCause::HardIO, changeSetFile(dataDirectory_, number_),
                                  "the journal could not be written");
    write(formatChange(change));
    last_ = change;
    lastKept_.reset();
}

void ChangeSet::withdraw(const Change& change)
{
    Change withdrawn = change;
    withdrawn.kind = ChangeKind::Withdrawn;
    write(formatChange(withdrawn));
    last_.reset();
}

void ChangeSet::withdrawLast()
{
    if (!last_)
        return;
    const platform::FileStamp kept = last_->keptStamp;
    withdraw(*last_);
    if (lastKept_) {
        const auto there = lastKept_->folder.find(lastKept_->name);
        if (there && there->sameFile(kept))
            lastKept_->folder.remove(lastKept_->name);
        lastKept_.reset();
    }
}

std::string ChangeSet::keptName()
{
    return std::to_string(++kept_) + ".mp3";
}

platform::Directory ChangeSet::ownOriginals()
{
    const std::string folder = originalsDirectory(dataDirectory_, number_);
    platform::makeDirectories(folder, 0700);
    platform::Directory originals(folder);
    if (!originals.isPrivate())
        throw platform::FileError(platform::FileCause::AccessDenied, folder, notOwnedMessage(folder),
                                  "Not the user's own folder");
    return originals;
}

std::vector<platform::Directory> ChangeSet::linkFolders(const std::string& path, std::uint64_t device)
{
    std::vector<platform::Directory> folders;
    try {
        platform::Directory own = ownOriginals();
        if (own.stamp().device == device) {
            folders.push_back(std::move(own));
            return folders;
        }
    } catch (const platform::FileError&) {
    }
    // At the top of the file's own file system, in a folder of this user's
    // that nobody else may enter, as the trash keeps its files.
    try {
        const platform::Directory top(platform::mountTopOf(path));
        top.makeChild(backupFolderName(), 0700);
        const platform::Directory backup = top.child(backupFolderName());
        if (!backup.isPrivate() || backup.stamp().device != device)
            return folders;
        backup.makeChild(std::to_string(number_), 0700);
        platform::Directory set = backup.child(std::to_string(number_));
        if (set.isOwnAndUnshared())
            folders.push_back(std::move(set));
    } catch (const platform::FileError&) {
    }
    return folders;
}

bool ChangeSet::recordReplacement(platform::File& original, const std::string& path, const platform::FileStamp& after,
                                  const std::string& temporary)
{
    const platform::FileStamp before = original.stamp();
    if (!keepOriginals_) {
        recordUnkeptReplacement(path, before, after, temporary);
        return true;
    }
    begin();
    const std::string name = keptName();
    // A second name costs no copy. It is made only once its record is
    // durable, so no kept name is ever unknown to the journal.
    for (platform::Directory& folder : linkFolders(path, before.device)) {
        append({ChangeKind::Replaced, path, {}, folder.pathOf(name), temporary, before, after, before});
        try {
            platform::linkOpenFile(original, folder, name);
            lastKept_ = KeptName{std::move(folder), name};
            return true;
        } catch (const platform::FileError&) {
            withdraw(*last_);
        }
    }
    // A copy in the data directory, durable before its record.
    platform::Directory own;
    platform::FileStamp copied;
    try {
        own = ownOriginals();
        copied = platform::copyInto(original, own, name);
        own.sync();
    } catch (const platform::FileError&) {
        return false;
    }
    try {
        append({ChangeKind::Replaced, path, {}, own.pathOf(name), temporary, before, after, copied});
    } catch (...) {
        own.remove(name);
        throw;
    }
    lastKept_ = KeptName{std::move(own), name};
    return true;
}

void ChangeSet::recordUnkeptReplacement(const std::string& path, const platform::FileStamp& before,
                                        const platform::FileStamp& after, const std::string& temporary)
{
    append({ChangeKind::Replaced, path, {}, {}, temporary, before, after, {}});
}

void ChangeSet::recordRename(const std::string& from, const std::string& to, const platform::FileStamp& stamp)
{
    recordRename(from, to, stamp, stamp);
}

void ChangeSet::recordRename(const std::string& from, const std::string& to, const platform::FileStamp& before,
                             const platform::FileStamp& after, const std::string& temporary)
{
    append({ChangeKind::Renamed, from, to, {}, temporary, before, after, {}});
}

}  // namespace history

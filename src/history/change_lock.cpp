#include "history/change_lock.h"

#include "history/recovery.h"
#include "platform/directory.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/prompter.h"

#include <cassert>
#include <cerrno>
#include <map>
#include <sys/file.h>
#include <utility>

namespace history {

namespace {

constexpr const char* kLockName = "lock";

struct Held {
    platform::File file;
    int holders = 0;
    std::set<int> openSets;
};

// Per data directory: one lock file held by this program, however many
// commands share it.
std::map<std::string, Held>& heldLocks()
{
    static std::map<std::string, Held> locks;
    return locks;
}

bool tryLock(const platform::File& file)
{
    if (::flock(file.fd(), LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno != EWOULDBLOCK && errno != EINTR)
        throw platform::FileError::fromErrno(errno, file.path(), "cannot lock");
    return false;
}

}  // namespace

ChangeLock::ChangeLock(const std::string& dataDirectory) : dataDirectory_(dataDirectory)
{
    Held& held = heldLocks()[dataDirectory_];
    if (held.holders > 0) {
        ++held.holders;
        return;
    }
    try {
        platform::makeDirectories(dataDirectory_, 0700);
        platform::File file = platform::Directory(dataDirectory_).open(kLockName, platform::File::Mode::CreateOpen);
        if (!tryLock(file) &&
            !platform::prompter().waitFor("Ein anderes Liedkram-Programm ändert gerade Dateien; es wird gewartet, "
                                          "bis es fertig ist.",
                                          [&] { return tryLock(file); }))
            throw platform::FileError(platform::FileCause::LockViolation, file.path(), "gave up waiting",
                                      "Another Liedkram program is changing files");
        held.file = std::move(file);
        held.holders = 1;
        // Whoever gets the lock first clears away what killed runs left behind.
        recoverUnfinished(dataDirectory_, held.openSets);
    } catch (...) {
        heldLocks().erase(dataDirectory_);
        throw;
    }
}

ChangeLock::ChangeLock(ChangeLock&& other) noexcept : dataDirectory_(std::exchange(other.dataDirectory_, {})) {}

ChangeLock::~ChangeLock()
{
    if (dataDirectory_.empty())
        return;
    auto found = heldLocks().find(dataDirectory_);
    if (found != heldLocks().end() && --found->second.holders == 0)
        heldLocks().erase(found);
}

std::set<int>& ChangeLock::openSets()
{
    assert(!dataDirectory_.empty());
    return heldLocks()[dataDirectory_].openSets;
}

std::optional<ChangeLock> takeChangeLock(const std::string& dataDirectory)
{
    try {
        return ChangeLock(dataDirectory);
    } catch (const platform::FileError& error) {
        platform::prompter().showMessage("Cannot access '" + error.path() + "' cause: " + error.causeText());
        return std::nullopt;
    }
}

}  // namespace history

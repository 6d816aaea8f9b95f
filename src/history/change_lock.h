#pragma once

#include <optional>
#include <set>
#include <string>

namespace history {

// One change to the user's files at a time: while a change lock of a data
// directory lives, no other program of the same user gets one of it (fix,
// undo, move, the window's runs, purging). A second one waits, and says
// so; within one program the lock is held once and shared. The program
// that gets it first clears away what killed runs left behind.
class ChangeLock {
public:
    // Throws platform::FileError when the lock file cannot be made, or the
    // user gave up waiting (LockViolation).
    explicit ChangeLock(const std::string& dataDirectory);
    ~ChangeLock();
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;
    ChangeLock(ChangeLock&& other) noexcept;
    ChangeLock& operator=(ChangeLock&&) = delete;

    // The change sets this program is writing under the lock: they are not
    // the leftovers of a killed run.
    std::set<int>& openSets();

private:
    // Empty once moved from: such a lock releases nothing.
    std::string dataDirectory_;
};

// The change lock for a command the user started; when it cannot be had,
// the user is told why ("Cannot access ...") and nothing is returned, so the
// command gives up without touching anything.
std::optional<ChangeLock> takeChangeLock(const std::string& dataDirectory);

}  // namespace history

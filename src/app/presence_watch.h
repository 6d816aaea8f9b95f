#pragma once

#include "entry/file_presence.h"

#include <QObject>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class CLiedkramDoc;

// Checks on a worker thread that each listed file is still there as listed,
// so a list from a drive that is gone opens at once and shows which of its
// files it cannot reach. Only the latest check's answer is kept.
class PresenceWatch : public QObject {
    Q_OBJECT
public:
    explicit PresenceWatch(QObject* parent = nullptr);
    ~PresenceWatch() override;

    // Starts a check of every listed file; the answer of one still running
    // is dropped.
    void check(const CLiedkramDoc& doc);
    // Present for a file the last check found, or one it did not check.
    entry::FilePresence presenceOf(const std::string& path) const;
    // Whether a check is running.
    bool busy() const { return running_ != 0; }

signals:
    // A check is done and its answer in place.
    void checked();

private:
    using Files = std::vector<std::pair<std::string, std::int64_t>>;
    using Absent = std::map<std::string, entry::FilePresence>;

    void take(unsigned generation, const Absent& absent);

    Absent absent_;
    unsigned generation_ = 0;
    int running_ = 0;
    std::map<unsigned, std::thread> workers_;
};

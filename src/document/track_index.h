#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CLiedkramEntry;

namespace document {

// Answers "which listed entries does IsSameTrack call the same track as this
// one" and "is this file listed" in logarithmic time, so adding a file to a
// long list does not compare it with every listed entry. The entries are
// kept under hashes of their comparison keys (folded title and artist, the
// file name without case, the full path) and their list order; a hash only
// names candidates, the comparison itself decides.
class TrackIndex {
public:
    // Indexes the entries, in list order.
    explicit TrackIndex(std::span<const std::unique_ptr<CLiedkramEntry>> entries);

    // The entry was appended behind all others.
    void append(const CLiedkramEntry& entry);
    void remove(const CLiedkramEntry& entry);
    // The entry's texts may change; its keys are made again before the next answer.
    void touch(const CLiedkramEntry& entry);

    // The listed entries that are the same track as probe, in list order.
    std::vector<const CLiedkramEntry*> sameTracks(const CLiedkramEntry& probe);
    bool hasPath(const std::string& fullPath);
    // Grows with the list order; for finding a listed entry's row.
    std::uint64_t orderOf(const CLiedkramEntry& entry) const;

private:
    struct Keys {
        std::uint64_t track = 0;
        std::uint64_t name = 0;
        std::uint64_t path = 0;
        std::uint64_t order = 0;
        bool stale = false;
    };
    // (key hash, order) to entry: the entries of one hash come in list order.
    using Table = std::map<std::pair<std::uint64_t, std::uint64_t>, const CLiedkramEntry*>;

    void insert(const CLiedkramEntry& entry, std::uint64_t order);
    void erase(std::unordered_map<const CLiedkramEntry*, Keys>::iterator keys);
    void refresh();
    static void collect(const Table& table, std::uint64_t key, std::vector<const CLiedkramEntry*>& into);

    std::unordered_map<const CLiedkramEntry*, Keys> keys_;
    Table byTrack_;
    Table byName_;
    Table byPath_;
    std::vector<const CLiedkramEntry*> touched_;
    std::uint64_t nextOrder_ = 0;
};

}  // namespace document

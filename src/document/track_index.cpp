#include "document/track_index.h"

#include "document/track_compare.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"

#include <algorithm>
#include <cassert>
#include <functional>
#include <string_view>

namespace document {

namespace {

std::uint64_t hashOf(std::string_view text)
{
    return std::hash<std::string_view>{}(text);
}

std::uint64_t trackKey(const CLiedkramEntry& entry)
{
    const std::uint64_t title = hashOf(FoldName(entry.m_szTitle.view()));
    return title * 0x9E3779B97F4A7C15u ^ hashOf(FoldName(entry.m_szArtist.view()));
}

std::uint64_t nameKey(const CLiedkramEntry& entry)
{
    return hashOf(platform::asciiLowered(entry.m_szFileName.view()));
}

}  // namespace

TrackIndex::TrackIndex(std::span<const std::unique_ptr<CLiedkramEntry>> entries)
{
    keys_.reserve(entries.size());
    for (const auto& entry : entries)
        append(*entry);
}

void TrackIndex::append(const CLiedkramEntry& entry)
{
    insert(entry, nextOrder_++);
}

void TrackIndex::insert(const CLiedkramEntry& entry, std::uint64_t order)
{
    Keys keys;
    keys.track = trackKey(entry);
    keys.name = nameKey(entry);
    keys.path = hashOf(entry.GetFullPath());
    keys.order = order;
    const bool inserted = keys_.emplace(&entry, keys).second;
    assert(inserted);
    (void)inserted;
    byTrack_.emplace(std::pair(keys.track, order), &entry);
    byName_.emplace(std::pair(keys.name, order), &entry);
    byPath_.emplace(std::pair(keys.path, order), &entry);
}

void TrackIndex::erase(std::unordered_map<const CLiedkramEntry*, Keys>::iterator keys)
{
    const Keys& k = keys->second;
    byTrack_.erase(std::pair(k.track, k.order));
    byName_.erase(std::pair(k.name, k.order));
    byPath_.erase(std::pair(k.path, k.order));
    keys_.erase(keys);
}

void TrackIndex::remove(const CLiedkramEntry& entry)
{
    const auto keys = keys_.find(&entry);
    if (keys != keys_.end())
        erase(keys);
}

void TrackIndex::touch(const CLiedkramEntry& entry)
{
    const auto keys = keys_.find(&entry);
    if (keys == keys_.end() || keys->second.stale)
        return;
    keys->second.stale = true;
    touched_.push_back(&entry);
}

void TrackIndex::refresh()
{
    for (const CLiedkramEntry* entry : touched_) {
        // A touched entry removed since is no longer known, and not read.
        const auto keys = keys_.find(entry);
        if (keys == keys_.end() || !keys->second.stale)
            continue;
        const std::uint64_t order = keys->second.order;
        erase(keys);
        insert(*entry, order);
    }
    touched_.clear();
}

void TrackIndex::collect(const Table& table, std::uint64_t key, std::vector<const CLiedkramEntry*>& into)
{
    for (auto it = table.lower_bound(std::pair(key, std::uint64_t{0})); it != table.end() && it->first.first == key;
         ++it)
        into.push_back(it->second);
}

std::vector<const CLiedkramEntry*> TrackIndex::sameTracks(const CLiedkramEntry& probe)
{
    refresh();
    std::vector<const CLiedkramEntry*> candidates;
    collect(byTrack_, trackKey(probe), candidates);
    collect(byName_, nameKey(probe), candidates);
    std::sort(candidates.begin(), candidates.end(),
              [this](const CLiedkramEntry* l, const CLiedkramEntry* r) { return orderOf(*l) < orderOf(*r); });
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    std::erase_if(candidates, [&probe](const CLiedkramEntry* listed) { return !IsSameTrack(*listed, probe); });
    return candidates;
}

bool TrackIndex::hasPath(const std::string& fullPath)
{
    refresh();
    std::vector<const CLiedkramEntry*> candidates;
    collect(byPath_, hashOf(fullPath), candidates);
    return std::any_of(candidates.begin(), candidates.end(),
                       [&fullPath](const CLiedkramEntry* listed) { return listed->GetFullPath() == fullPath; });
}

std::uint64_t TrackIndex::orderOf(const CLiedkramEntry& entry) const
{
    const auto keys = keys_.find(&entry);
    assert(keys != keys_.end());
    return keys->second.order;
}

}  // namespace document

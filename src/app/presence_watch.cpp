#include "app/presence_watch.h"

#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"

#include <QMetaObject>

PresenceWatch::PresenceWatch(QObject* parent) : QObject(parent) {}

PresenceWatch::~PresenceWatch()
{
    // A worker's answer is posted to this object; once it is gone, the
    // queued call is dropped with it.
    for (auto& [generation, worker] : workers_)
        worker.join();
}

void PresenceWatch::check(const CLiedkramDoc& doc)
{
    Files files;
    files.reserve(doc.GetCount());
    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        const CLiedkramEntry& entry = doc.GetEntry(row);
        files.emplace_back(entry.GetFullPath(), entry.m_nFileSize);
    }
    const unsigned generation = ++generation_;
    ++running_;
    workers_.emplace(generation, std::thread([this, generation, files = std::move(files)] {
                         Absent absent;
                         for (const auto& [path, size] : files) {
                             const entry::FilePresence presence = entry::CheckPresence(path, size);
                             if (presence != entry::FilePresence::Present)
                                 absent.emplace(path, presence);
                         }
                         QMetaObject::invokeMethod(
                             this, [this, generation, absent] { take(generation, absent); }, Qt::QueuedConnection);
                     }));
}

entry::FilePresence PresenceWatch::presenceOf(const std::string& path) const
{
    const auto found = absent_.find(path);
    return found == absent_.end() ? entry::FilePresence::Present : found->second;
}

void PresenceWatch::take(unsigned generation, const Absent& absent)
{
    // The worker has nothing left to do but return.
    workers_.at(generation).join();
    workers_.erase(generation);
    --running_;
    if (generation != generation_)
        return;
    absent_ = absent;
    emit checked();
}

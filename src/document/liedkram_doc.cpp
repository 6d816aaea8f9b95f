#include "document/liedkram_doc.h"
#include "document/list_edit.h"
#include "document/list_file.h"

#include "document/track_compare.h"
#include "document/track_index.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace {

constexpr const char* kChangeMarker = " *";
constexpr const char* kUntitled = "Untitled";
// The smallest record: six empty strings and 42 bytes of numbers.
// Removing run by run moves the rows behind each run; past this many runs one
// compacting pass is cheaper.
constexpr std::size_t kMaxRunsRemovedOneByOne = 32;

}  // namespace

void DocumentObserver::rowsAboutToBeAppended(std::size_t, std::size_t) {}

void DocumentObserver::rowsAboutToBeRemoved(std::size_t, std::size_t) {}

void DocumentObserver::rowsRemoved(std::size_t first, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        rowRemoved(first);
}

void DocumentObserver::rowRemoved(std::size_t) {}

void DocumentObserver::rowsAboutToBeReordered() {}

void DocumentObserver::rowsAboutToBeReset() {}

void DocumentObserver::rowsReset()
{
    rowsReordered();
}

void DocumentObserver::listAboutToBeCleared() {}

void DocumentObserver::entryDeclined(const CLiedkramEntry&, bool) {}

CLiedkramDoc::CLiedkramDoc() : m_strPlainTitle(kUntitled) {}

CLiedkramDoc::~CLiedkramDoc() = default;

void CLiedkramDoc::addObserver(DocumentObserver* observer)
{
    observers_.push_back(observer);
}

void CLiedkramDoc::removeObserver(DocumentObserver* observer)
{
    std::erase(observers_, observer);
}

void CLiedkramDoc::notify(const std::function<void(DocumentObserver&)>& call)
{
    for (DocumentObserver* observer : observers_)
        call(*observer);
}

void CLiedkramDoc::removeRun(std::size_t first, std::size_t count)
{
    if (edits)
        edits->settle(*this);
    notify([=](DocumentObserver& o) { o.rowsAboutToBeRemoved(first, count); });
    const auto begin = entries_.begin() + static_cast<std::ptrdiff_t>(first);
    if (index_) {
        for (auto entry = begin; entry != begin + static_cast<std::ptrdiff_t>(count); ++entry)
            index_->remove(**entry);
    }
    if (edits) {
        // Kept by the edit, so that taking it back brings the very entries back.
        std::vector<std::size_t> rows;
        std::vector<std::unique_ptr<CLiedkramEntry>> removed;
        for (std::size_t i = 0; i < count; ++i) {
            rows.push_back(first + i);
            removed.push_back(std::move(entries_[first + i]));
        }
        edits->removed(std::move(rows), std::move(removed));
    }
    entries_.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
    notify([=](DocumentObserver& o) { o.rowsRemoved(first, count); });
}

void CLiedkramDoc::removeRowAt(std::size_t row)
{
    removeRun(row, 1);
}

void CLiedkramDoc::RemoveRow(std::size_t row)
{
    if (row < entries_.size())
        removeRowAt(row);
}

void CLiedkramDoc::RemoveRows(std::vector<std::size_t> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    while (!rows.empty() && rows.back() >= entries_.size())
        rows.pop_back();
    if (rows.empty())
        return;

    // Runs of neighbouring rows, as (first, count).
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (const std::size_t row : rows) {
        if (!runs.empty() && runs.back().first + runs.back().second == row)
            ++runs.back().second;
        else
            runs.emplace_back(row, 1);
    }
    if (runs.size() <= kMaxRunsRemovedOneByOne) {
        // From the last run up, so the rows of the others keep their numbers.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run)
            removeRun(run->first, run->second);
        return;
    }
    if (edits)
        edits->settle(*this);
    notify([](DocumentObserver& o) { o.rowsAboutToBeReset(); });
    auto removed = takeOut(rows);
    if (edits)
        edits->removed(std::move(rows), std::move(removed));
    notify([](DocumentObserver& o) { o.rowsReset(); });
}

std::vector<std::unique_ptr<CLiedkramEntry>> CLiedkramDoc::takeOut(const std::vector<std::size_t>& rows)
{
    std::vector<std::unique_ptr<CLiedkramEntry>> removed;
    removed.reserve(rows.size());
    std::size_t kept = 0;
    auto next = rows.begin();
    for (std::size_t row = 0; row < entries_.size(); ++row) {
        if (next != rows.end() && *next == row) {
            if (index_)
                index_->remove(*entries_[row]);
            removed.push_back(std::move(entries_[row]));
            ++next;
        } else
            entries_[kept++] = std::move(entries_[row]);
    }
    entries_.resize(kept);
    return removed;
}

std::vector<std::unique_ptr<CLiedkramEntry>> CLiedkramDoc::takeRows(const std::vector<std::size_t>& rows)
{
    notify([](DocumentObserver& o) { o.rowsAboutToBeReset(); });
    auto removed = takeOut(rows);
    notify([](DocumentObserver& o) { o.rowsReset(); });
    return removed;
}

void CLiedkramDoc::insertRows(const std::vector<std::size_t>& rows,
                              std::vector<std::unique_ptr<CLiedkramEntry>> entries)
{
    notify([](DocumentObserver& o) { o.rowsAboutToBeReset(); });
    // The index keeps the rows' order only for appends: it is built anew when asked.
    index_.reset();
    for (std::size_t i = 0; i < rows.size(); ++i)
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(rows[i]), std::move(entries[i]));
    notify([](DocumentObserver& o) { o.rowsReset(); });
}

void CLiedkramDoc::putInOrder(const std::vector<std::size_t>& order)
{
    notify([](DocumentObserver& o) { o.rowsAboutToBeReordered(); });
    index_.reset();
    std::vector<std::unique_ptr<CLiedkramEntry>> ordered;
    ordered.reserve(order.size());
    for (const std::size_t row : order)
        ordered.push_back(std::move(entries_[row]));
    entries_ = std::move(ordered);
    notify([](DocumentObserver& o) { o.rowsReordered(); });
}

void CLiedkramDoc::replaceEntry(std::size_t row, const CLiedkramEntry& entry)
{
    CLiedkramEntry& listed = *entries_.at(row);
    if (index_)
        index_->touch(listed);
    listed = entry;
    RefreshRow(row);
}

CLiedkramEntry& CLiedkramDoc::GetEntry(std::size_t row)
{
    CLiedkramEntry& entry = *entries_.at(row);
    if (index_)
        index_->touch(entry);
    if (edits)
        edits->touched(entry);
    return entry;
}

std::vector<const CLiedkramEntry*> CLiedkramDoc::Entries() const
{
    std::vector<const CLiedkramEntry*> entries;
    entries.reserve(entries_.size());
    for (const auto& entry : entries_)
        entries.push_back(entry.get());
    return entries;
}

void CLiedkramDoc::RefreshRow(std::size_t row)
{
    if (row < entries_.size())
        notify([row](DocumentObserver& o) { o.rowRefreshed(row); });
}

void CLiedkramDoc::SortByColumn(Column column, bool reversed)
{
    if (edits)
        edits->settle(*this);
    // Where each entry stood, for the edit that takes the sort back.
    std::unordered_map<const CLiedkramEntry*, std::size_t> rowBefore;
    if (edits) {
        rowBefore.reserve(entries_.size());
        for (std::size_t row = 0; row < entries_.size(); ++row)
            rowBefore.emplace(entries_[row].get(), row);
    }
    notify([](DocumentObserver& o) { o.rowsAboutToBeReordered(); });
    index_.reset();
    const SortKey& first = columnInfo(column).keys[0];
    if (first.order == KeyOrder::FoldedName) {
        // The folded name is made once per row, not once per comparison.
        std::vector<std::pair<std::string, std::unique_ptr<CLiedkramEntry>>> keyed;
        keyed.reserve(entries_.size());
        std::string scratch;
        for (auto& entry : entries_)
            keyed.emplace_back(document::FoldName(first.text(*entry, scratch)), std::move(entry));
        std::stable_sort(keyed.begin(), keyed.end(), [column](const auto& l, const auto& r) {
            const int byFirst = platform::compareIgnoreAsciiCase(l.first, r.first);
            return byFirst != 0 ? byFirst < 0 : document::CompareEntries(*l.second, *r.second, column) < 0;
        });
        for (std::size_t i = 0; i < keyed.size(); ++i)
            entries_[i] = std::move(keyed[i].second);
    } else {
        std::stable_sort(entries_.begin(), entries_.end(), [column](const auto& l, const auto& r) {
            return document::CompareEntries(*l, *r, column) < 0;
        });
    }
    if (reversed)
        std::reverse(entries_.begin(), entries_.end());
    if (edits) {
        std::vector<std::size_t> order;
        order.reserve(entries_.size());
        for (const auto& entry : entries_)
            order.push_back(rowBefore.at(entry.get()));
        edits->reordered(std::move(order));
    }
    notify([](DocumentObserver& o) { o.rowsReordered(); });
}

void CLiedkramDoc::DeleteContents()
{
    if (m_bClosing)
        return;
    if (edits)
        edits->cleared();
    notify([](DocumentObserver& o) { o.listAboutToBeCleared(); });
    entries_.clear();
    index_.reset();
    notify([](DocumentObserver& o) { o.listCleared(); });
}

void CLiedkramDoc::Serialize(entry::ArchiveWriter& archive) const
{
    archive.writeI32(static_cast<std::int32_t>(entries_.size()));
    for (const auto& entry : entries_)
        entry->Serialize(archive);
}

void CLiedkramDoc::Serialize(entry::ArchiveReader& archive, const platform::RepairSettings& settings)
{
    // All records are read before the rows are announced; a file that ends
    // early adds none.
    std::vector<std::unique_ptr<CLiedkramEntry>> read;
    document::readListRecords(
        archive, settings,
        [&read](std::unique_ptr<CLiedkramEntry> entry) {
            read.push_back(std::move(entry));
            return true;
        },
        [&read](std::size_t, std::size_t possible) { read.reserve(possible); });
    if (!read.empty())
        appendAll(std::move(read));
    m_bChanged = false;
}

void CLiedkramDoc::appendAll(std::vector<std::unique_ptr<CLiedkramEntry>> added)
{
    const std::size_t first = entries_.size();
    const std::size_t count = added.size();
    if (edits)
        edits->settle(*this);
    notify([=](DocumentObserver& o) { o.rowsAboutToBeAppended(first, count); });
    // Grown geometrically: adding one file at a time must not copy the list each time.
    if (entries_.capacity() < first + count)
        entries_.reserve(std::max(first + count, 2 * entries_.capacity()));
    for (auto& entry : added) {
        if (index_)
            index_->append(*entry);
        entries_.push_back(std::move(entry));
    }
    if (edits)
        edits->appended(first, count);
    notify([=](DocumentObserver& o) { o.rowsAppended(first, count); });
}

std::string CLiedkramDoc::GetTitle() const
{
    return m_bChanged ? m_strPlainTitle + kChangeMarker : m_strPlainTitle;
}

void CLiedkramDoc::SetTitle(std::string_view title)
{
    if (!title.empty())
        m_strPlainTitle = title;
    notify([](DocumentObserver& o) { o.titleChanged(); });
}

void CLiedkramDoc::SetChanged()
{
    m_bChanged = true;
    SetTitle("");
}

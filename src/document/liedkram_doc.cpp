#include "document/liedkram_doc.h"

#include "document/track_compare.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/text.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr const char* kChangeMarker = " *";
constexpr const char* kUntitled = "Untitled";
// The smallest record: six empty strings and 42 bytes of numbers.
constexpr std::size_t kMinRecordSize = 6 + 42;

}  // namespace

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

void CLiedkramDoc::removeRowAt(std::size_t row)
{
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(row));
    notify([row](DocumentObserver& o) { o.rowRemoved(row); });
}

void CLiedkramDoc::RemoveRow(std::size_t row)
{
    if (row < entries_.size())
        removeRowAt(row);
}

void CLiedkramDoc::RefreshRow(std::size_t row)
{
    if (row < entries_.size())
        notify([row](DocumentObserver& o) { o.rowRefreshed(row); });
}

void CLiedkramDoc::SortByColumn(int column)
{
    if (column < 0 || column >= kColumnCount)
        return;
    if (column == 3) {
        // The folded artist is made once per row, not once per comparison.
        std::vector<std::pair<std::string, std::unique_ptr<CLiedkramEntry>>> keyed;
        keyed.reserve(entries_.size());
        for (auto& entry : entries_)
            keyed.emplace_back(document::FoldName(entry->m_szArtist.view()), std::move(entry));
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& l, const auto& r) {
            const int byArtist = platform::compareIgnoreAsciiCase(l.first, r.first);
            return byArtist != 0 ? byArtist < 0 : document::CompareEntries(*l.second, *r.second, 3) < 0;
        });
        for (std::size_t i = 0; i < keyed.size(); ++i)
            entries_[i] = std::move(keyed[i].second);
    } else {
        std::stable_sort(entries_.begin(), entries_.end(), [column](const auto& l, const auto& r) {
            return document::CompareEntries(*l, *r, column) < 0;
        });
    }
    notify([](DocumentObserver& o) { o.rowsReordered(); });
}

void CLiedkramDoc::DeleteContents()
{
    if (m_bClosing)
        return;
    entries_.clear();
    notify([](DocumentObserver& o) { o.listCleared(); });
}

void CLiedkramDoc::Serialize(entry::ArchiveWriter& archive) const
{
    archive.writeI32(static_cast<std::int32_t>(entries_.size()));
    for (const auto& entry : entries_)
        entry->Serialize(archive);
}

void CLiedkramDoc::Serialize(entry::ArchiveReader& archive)
{
    const std::int32_t count = archive.readI32();
    if (count > 0) {
        // A count the rest of the file cannot hold reserves nothing.
        const std::size_t plausible = archive.remaining() / kMinRecordSize;
        entries_.reserve(entries_.size() + std::min(static_cast<std::size_t>(count), plausible));
        const std::size_t first = entries_.size();
        for (std::int32_t i = 0; i < count; ++i) {
            auto entry = std::make_unique<CLiedkramEntry>();
            entry->Serialize(archive);
            entries_.push_back(std::move(entry));
        }
        notify([first, count](DocumentObserver& o) { o.rowsAppended(first, static_cast<std::size_t>(count)); });
    }
    m_bChanged = false;
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

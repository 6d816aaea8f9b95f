#include "app/shown_rows_model.h"

#include "app/entry_table_model.h"
#include "document/liedkram_doc.h"
#include "document/similar_tracks.h"

#include <utility>
#include <vector>

ShownRowsModel::ShownRowsModel(EntryTableModel& entries, CLiedkramDoc& document, QObject* parent)
    : QSortFilterProxyModel(parent), document_(document)
{
    // A cached text must not outlive its entry (a new entry may get its
    // address), nor its entry's change: forgotten before the rows are
    // filtered again, so connected first.
    connect(&entries, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) { forgetSearchTexts(from.row(), to.row()); });
    connect(&entries, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { forgetSearchTexts(first, last); });
    connect(&entries, &QAbstractItemModel::modelAboutToBeReset, this, [this] { searchTexts_.clear(); });
    setSourceModel(&entries);
    // Whether an entry has a similar one depends on the others.
    connect(&entries, &QAbstractItemModel::rowsInserted, this, &ShownRowsModel::regroupLater);
    connect(&entries, &QAbstractItemModel::rowsRemoved, this, &ShownRowsModel::regroupLater);
    connect(&entries, &QAbstractItemModel::modelReset, this, &ShownRowsModel::regroupLater);
    regroupTimer_.setSingleShot(true);
    regroupTimer_.setInterval(0);
    connect(&regroupTimer_, &QTimer::timeout, this, [this] {
        if (mode_ != Mode::Similar)
            return;
        regroup();
        invalidate();
    });
}

void ShownRowsModel::showAll()
{
    mode_ = Mode::All;
    groupOf_.clear();
    groupCount_ = 0;
    invalidate();
    sort(-1);
}

void ShownRowsModel::showMatching(const QString& typed)
{
    mode_ = Mode::Search;
    filter_ = document::TextFilter(typed.toStdString());
    groupOf_.clear();
    groupCount_ = 0;
    invalidate();
    sort(-1);
}

void ShownRowsModel::showSimilar()
{
    mode_ = Mode::Similar;
    regroup();
    invalidate();
    sort(0);
}

QString ShownRowsModel::statusText() const
{
    switch (mode_) {
    case Mode::Search:
        return QStringLiteral("%1 von %2 Einträgen").arg(rowCount()).arg(document_.GetCount());
    case Mode::Similar:
        return groupCount_ == 1 ? QStringLiteral("1 Gruppe ähnlicher Einträge")
                                : QStringLiteral("%1 Gruppen ähnlicher Einträge").arg(groupCount_);
    case Mode::All:
        break;
    }
    return {};
}

QVariant ShownRowsModel::data(const QModelIndex& index, int role) const
{
    if (role != ShadedRole)
        return QSortFilterProxyModel::data(index, role);
    if (mode_ != Mode::Similar || !index.isValid())
        return false;
    const auto group = groupOf_.find(&entryAt(mapToSource(index).row()));
    return group != groupOf_.end() && group->second % 2 == 1;
}

bool ShownRowsModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    switch (mode_) {
    case Mode::All:
        break;
    case Mode::Search:
        return filter_.empty() || filter_.matches(searchTextOf(entryAt(sourceRow)));
    case Mode::Similar:
        return groupOf_.count(&entryAt(sourceRow)) != 0;
    }
    return true;
}

bool ShownRowsModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    // Group by group, and in a group in list order.
    const auto group = [this](const QModelIndex& index) {
        const auto found = groupOf_.find(&entryAt(index.row()));
        return found == groupOf_.end() ? -1 : found->second;
    };
    const int leftGroup = group(left);
    const int rightGroup = group(right);
    return leftGroup != rightGroup ? leftGroup < rightGroup : left.row() < right.row();
}

const CLiedkramEntry& ShownRowsModel::entryAt(int sourceRow) const
{
    return std::as_const(document_).GetEntry(static_cast<std::size_t>(sourceRow));
}

const std::string& ShownRowsModel::searchTextOf(const CLiedkramEntry& entry) const
{
    auto found = searchTexts_.find(&entry);
    if (found == searchTexts_.end())
        found = searchTexts_.emplace(&entry, document::SearchText(entry)).first;
    return found->second;
}

void ShownRowsModel::forgetSearchTexts(int first, int last)
{
    if (searchTexts_.empty())
        return;
    for (int row = first; row <= last && static_cast<std::size_t>(row) < document_.GetCount(); ++row)
        searchTexts_.erase(&entryAt(row));
}

void ShownRowsModel::regroup()
{
    const std::vector<const CLiedkramEntry*> entries = document_.Entries();
    const auto groups = document::SimilarGroups(entries);
    groupOf_.clear();
    for (std::size_t group = 0; group < groups.size(); ++group) {
        for (const std::size_t index : groups[group])
            groupOf_.emplace(entries[index], static_cast<int>(group));
    }
    groupCount_ = static_cast<int>(groups.size());
}

void ShownRowsModel::regroupLater()
{
    if (mode_ == Mode::Similar)
        regroupTimer_.start();
}

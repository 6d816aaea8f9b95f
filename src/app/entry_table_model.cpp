#include "app/entry_table_model.h"

#include "document/file_presence.h"
#include "entry/liedkram_entry.h"

#include <unordered_map>
#include <utility>

EntryTableModel::EntryTableModel(CLiedkramDoc& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document)
{
    document_.addObserver(this);
    connect(&presence_, &PresenceWatch::checked, this, &EntryTableModel::presenceChecked);
}

void EntryTableModel::presenceChecked()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1), {AbsentRole, Qt::ToolTipRole});
}

EntryTableModel::~EntryTableModel()
{
    document_.removeObserver(this);
}

QString EntryTableModel::headerText(Column column)
{
    const std::string_view header = columnHeader(column);
    return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

int EntryTableModel::columnWidth(Column column)
{
    return columnInfo(column).width;
}

int EntryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(document_.GetCount());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= document_.GetCount())
        return {};
    const CLiedkramEntry& entry = std::as_const(document_).GetEntry(static_cast<std::size_t>(index.row()));
    const auto column = columnAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return column ? QString::fromStdString(entry.GetColumnText(*column)) : QVariant();
    case FlagsRole:
        return static_cast<uint>(entry.m_nFlags);
    case AbsentRole:
        return presence_.presenceOf(entry.GetFullPath()) != entry::FilePresence::Present;
    case Qt::ToolTipRole: {
        const entry::FilePresence presence = presence_.presenceOf(entry.GetFullPath());
        if (presence != entry::FilePresence::Present)
            return QString::fromStdString(document::PresenceText(presence) + ": " + entry.GetFullPath());
        return {};
    }
    default:
        return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const auto column = columnAt(section);
    if (orientation != Qt::Horizontal || !column)
        return {};
    if (role == Qt::DisplayRole)
        return headerText(*column);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void EntryTableModel::rowsAboutToBeAppended(std::size_t first, std::size_t count)
{
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(first + count - 1));
}

void EntryTableModel::rowsAppended(std::size_t, std::size_t)
{
    endInsertRows();
}

void EntryTableModel::rowsAboutToBeRemoved(std::size_t first, std::size_t count)
{
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(first + count - 1));
}

void EntryTableModel::rowsRemoved(std::size_t, std::size_t)
{
    endRemoveRows();
}

void EntryTableModel::rowsAboutToBeReordered()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    reorderedIndexes_ = persistentIndexList();
    reorderedEntries_.clear();
    reorderedEntries_.reserve(static_cast<std::size_t>(reorderedIndexes_.size()));
    for (const QModelIndex& index : reorderedIndexes_)
        reorderedEntries_.push_back(&std::as_const(document_).GetEntry(static_cast<std::size_t>(index.row())));
}

void EntryTableModel::rowsReordered()
{
    std::unordered_map<const CLiedkramEntry*, int> rowOf;
    rowOf.reserve(document_.GetCount());
    for (std::size_t row = 0; row < document_.GetCount(); ++row)
        rowOf.emplace(&std::as_const(document_).GetEntry(row), static_cast<int>(row));
    QModelIndexList moved;
    moved.reserve(reorderedIndexes_.size());
    for (qsizetype i = 0; i < reorderedIndexes_.size(); ++i)
        moved.append(index(rowOf.at(reorderedEntries_[static_cast<std::size_t>(i)]), reorderedIndexes_[i].column()));
    changePersistentIndexList(reorderedIndexes_, moved);
    reorderedIndexes_.clear();
    reorderedEntries_.clear();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void EntryTableModel::rowsAboutToBeReset()
{
    beginResetModel();
}

void EntryTableModel::rowsReset()
{
    endResetModel();
}

void EntryTableModel::rowRefreshed(std::size_t row)
{
    emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), kColumnCount - 1));
}

void EntryTableModel::listAboutToBeCleared()
{
    beginResetModel();
}

void EntryTableModel::listCleared()
{
    endResetModel();
}

void EntryTableModel::titleChanged()
{
    emit documentTitleChanged();
}

#include "app/entry_table_model.h"

#include "entry/liedkram_entry.h"

#include <array>
#include <unordered_map>

namespace {

struct Column {
    const char* header;
    int width;
};

constexpr std::array<Column, kColumnCount> kColumns = {{
    {"Datei", 200}, {"Pfad", 70}, {"Titel", 100}, {"Interpret", 100}, {"Album", 100},
    {"Größe", 60}, {"Länge", 60}, {"Genre", 50}, {"Jahr", 40}, {"Kommentar", 100},
    {"Track#", 21}, {"Bitrate", 30}, {"®", 21}, {"©", 21},
}};

}  // namespace

EntryTableModel::EntryTableModel(CLiedkramDoc& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document)
{
    document_.addObserver(this);
}

EntryTableModel::~EntryTableModel()
{
    document_.removeObserver(this);
}

QString EntryTableModel::columnHeader(int column)
{
    return QString::fromUtf8(kColumns.at(static_cast<std::size_t>(column)).header);
}

int EntryTableModel::columnWidth(int column)
{
    return kColumns.at(static_cast<std::size_t>(column)).width;
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
    const CLiedkramEntry& entry = document_.GetEntry(static_cast<std::size_t>(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(entry.GetColumnText(index.column()));
    case FlagsRole:
        return static_cast<uint>(entry.m_nFlags);
    default:
        return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return columnHeader(section);
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
        reorderedEntries_.push_back(&document_.GetEntry(static_cast<std::size_t>(index.row())));
}

void EntryTableModel::rowsReordered()
{
    std::unordered_map<const CLiedkramEntry*, int> rowOf;
    rowOf.reserve(document_.GetCount());
    for (std::size_t row = 0; row < document_.GetCount(); ++row)
        rowOf.emplace(&document_.GetEntry(row), static_cast<int>(row));
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

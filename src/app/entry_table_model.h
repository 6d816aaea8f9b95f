#pragma once

#include "app/presence_watch.h"
#include "document/liedkram_doc.h"

#include <QAbstractTableModel>

#include <vector>

// The document's entries as table rows; follows every change of the list.
class EntryTableModel : public QAbstractTableModel, private DocumentObserver {
    Q_OBJECT
public:
    // The entry's pending-work flags, for drawing rows with work to do in red.
    static constexpr int FlagsRole = Qt::UserRole + 1;
    // True when the last check found the row's file missing or changed.
    static constexpr int AbsentRole = Qt::UserRole + 3;

    explicit EntryTableModel(CLiedkramDoc& document, QObject* parent = nullptr);
    ~EntryTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    CLiedkramDoc& document() { return document_; }
    // Checks in the background that the listed files are there; the rows
    // follow each answer.
    PresenceWatch& presence() { return presence_; }

    static QString headerText(Column column);
    static int columnWidth(Column column);

signals:
    void documentTitleChanged();

private:
    void rowsAboutToBeAppended(std::size_t first, std::size_t count) override;
    void rowsAppended(std::size_t first, std::size_t count) override;
    void rowsAboutToBeRemoved(std::size_t first, std::size_t count) override;
    void rowsRemoved(std::size_t first, std::size_t count) override;
    void rowsAboutToBeReordered() override;
    void rowsReordered() override;
    void rowsAboutToBeReset() override;
    void rowsReset() override;
    void rowRefreshed(std::size_t row) override;
    void listAboutToBeCleared() override;
    void listCleared() override;
    void titleChanged() override;

    // Every row again after a presence check.
    void presenceChecked();

    CLiedkramDoc& document_;
    PresenceWatch presence_;
    // While rows are reordered: the model's persistent indexes and the
    // entries they stood on, so they can follow their entries.
    QModelIndexList reorderedIndexes_;
    std::vector<const CLiedkramEntry*> reorderedEntries_;
};

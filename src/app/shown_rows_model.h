#pragma once

#include "document/text_filter.h"

#include <QSortFilterProxyModel>
#include <QTimer>

#include <string>
#include <unordered_map>

class CLiedkramDoc;
class CLiedkramEntry;
class EntryTableModel;

// The rows the view shows, and their order: the whole list in list order,
// the entries the full-text search finds (in list order), or the entries
// that have a similar entry, group by group. Rows stay selected as long as
// they are shown.
class ShownRowsModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    enum class Mode { All, Search, Similar };
    // True for the rows of every other group of similar entries.
    static constexpr int ShadedRole = Qt::UserRole + 2;

    ShownRowsModel(EntryTableModel& entries, CLiedkramDoc& document, QObject* parent = nullptr);

    Mode mode() const { return mode_; }
    void showAll();
    // The entries in which every word typed occurs in a column text.
    void showMatching(const QString& typed);
    // The groups are found again whenever rows come or go, once the change
    // is over (a run that adds many rows finds them once).
    void showSimilar();
    // The groups shown, while similar entries are shown.
    int groupCount() const { return groupCount_; }
    // How much of the list is shown ("3 von 10 Einträgen", "2 Gruppen
    // ähnlicher Einträge"); empty while the whole list is.
    QString statusText() const;

    QVariant data(const QModelIndex& index, int role) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    const CLiedkramEntry& entryAt(int sourceRow) const;
    const std::string& searchTextOf(const CLiedkramEntry& entry) const;
    void forgetSearchTexts(int first, int last);
    void regroup();
    void regroupLater();

    CLiedkramDoc& document_;
    Mode mode_ = Mode::All;
    document::TextFilter filter_{""};
    // The entries' search texts, made the first time they are searched and
    // forgotten when an entry changes or goes.
    mutable std::unordered_map<const CLiedkramEntry*, std::string> searchTexts_;
    // The group of every entry shown as similar.
    std::unordered_map<const CLiedkramEntry*, int> groupOf_;
    int groupCount_ = 0;
    QTimer regroupTimer_;
};

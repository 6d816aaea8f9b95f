#pragma once

#include <QTableView>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class CLiedkramDoc;
class CLiedkramEntry;
class EntryTableModel;
class SessionUndo;
class ShownRowsModel;
class QAction;

namespace platform {
class ShellOpener;
}

// The one view of the list: rows of entries in fourteen columns, selection,
// the keys, the context menu and the commands that act on the selected rows.
class CLiedkramView : public QTableView {
    Q_OBJECT
public:
    CLiedkramView(CLiedkramDoc& document, platform::ShellOpener& shell, QWidget* parent = nullptr);

    // The actions the context menu shows, by command id.
    void setCommandActions(std::map<int, QAction*> actions);
    // Where deleting and sorting rows go as steps that can be taken back.
    void setSession(SessionUndo* session) { session_ = session; }
    // Selects the list's rows, and only them, the first with the focus.
    void selectRows(const std::vector<std::size_t>& rows);

    // The list's rows the view shows selected, from top to bottom.
    std::vector<int> selectedRows() const;
    std::vector<const CLiedkramEntry*> selectedEntries() const;
    // The selected entries, or every entry of the list when none is selected.
    std::vector<const CLiedkramEntry*> selectedOrAllEntries() const;

    // Every entry of the list follows the document; which of them the view
    // shows, and in which order, is up to these.
    EntryTableModel& entries() const { return *model_; }
    ShownRowsModel& shownRows() const { return *shown_; }
    void showAll();
    void showMatching(const QString& typed);
    void showSimilar();

    bool stateIcons() const { return m_bStateIcons; }

    // What the cell's tooltip tells: why its file is greyed, its whole text
    // where the column cuts it, and the repairs its row still waits for.
    QString toolTipFor(const QModelIndex& index) const;
    // The repairs the flags ask for, in German words; empty for none.
    static QString pendingRepairs(std::uint32_t flags);

public slots:
    void OnExportXls();
    void OnExportM3u();
    void OnExportTxt();
    void OnStatistics();
    void OnCdCover();
    void OnToggleStateIcons();
    void OnDeleteRows();
    void OnPlay();
    void OnColumnClick(int section);

signals:
    // Enter, Ctrl+Enter and a double click ask for these; the frame decides.
    void manualEditRequested();
    void autoEditRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void exportSelection(int kind);
    // The column widths the user left, from the settings store, and back.
    void restoreWidths();
    void storeWidths() const;
    // Rows added or the list replaced: no longer in the order shown.
    void forgetSortOrder();

    CLiedkramDoc& document_;
    platform::ShellOpener& shell_;
    EntryTableModel* model_;
    ShownRowsModel* shown_;
    std::map<int, QAction*> actions_;
    SessionUndo* session_ = nullptr;
    bool m_bStateIcons = false;
    bool m_bCtrlDown = false;
    int sortedSection_ = -1;
    bool sortedReversed_ = false;
};

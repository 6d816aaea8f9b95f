#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QPushButton;
class QTableWidget;

// "Änderungsverlauf": the change sets of the journal, newest first, with
// time, command, files, bytes kept and whether each is undone.
// "Rückgängig machen" undoes the chosen set (and the files it names) through
// undoSet, as liedkram-cli undo N does; the list is read again afterwards.
class CHistoryDlg : public QDialog {
    Q_OBJECT
public:
    using UndoSet = std::function<void(int number, const std::string& command)>;
    explicit CHistoryDlg(UndoSet undoSet, QWidget* parent = nullptr);

    QTableWidget* sets() const { return sets_; }
    QPushButton* undoButton() const { return undo_; }

private:
    void fill();
    void onUndo();
    void updateButton();

    UndoSet undoSet_;
    QTableWidget* sets_;
    QPushButton* undo_;
};

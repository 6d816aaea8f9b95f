#pragma once

#include "platform/prompter.h"

#include <QDialog>

#include <vector>

class QTreeWidget;

// Every proposed name beside the old one before a run over many files, a
// tick per row; names that are taken or not allowed are marked and cannot
// be ticked, a name lacking a field of the pattern is shown as kept, with
// why. "Umbenennen" takes the ticked ones, "Nicht umbenennen" none;
// "Abbrechen", Escape and the close box end the run before it starts.
class RenamePreviewDlg : public QDialog {
    Q_OBJECT
public:
    enum Result { kCancelled = 0, kRename = 1, kKeepNames = 2 };

    enum Column { kOldName, kNewName, kNote };

    explicit RenamePreviewDlg(const std::vector<platform::RenameProposal>& proposals, QWidget* parent = nullptr);

    // Whether each proposal is ticked, in the order given.
    std::vector<bool> ticked() const;
    QTreeWidget* list() const { return list_; }

    // The dialog's answer in the prompter's terms: Answer::Yes, Answer::No or
    // Answer::Cancel.
    static platform::Answer answerOf(int result);

private:
    QTreeWidget* list_;
};

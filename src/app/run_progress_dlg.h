#pragma once

#include <QDialog>

class QProgressBar;

// How far a command over many files has come, with "Abbrechen"; Escape and
// the close box cancel as well. Application-modal, so the list cannot change
// under the command.
class RunProgressDlg : public QDialog {
    Q_OBJECT
public:
    RunProgressDlg(const QString& text, int total, QWidget* parent);

    void setValue(int done);
    bool cancelled() const { return cancelled_; }
    void reject() override;

private:
    QProgressBar* bar_;
    bool cancelled_ = false;
};

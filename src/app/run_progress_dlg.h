#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QProgressBar;

// How far a command over many files has come (files done, their rate, the
// current file), with "Abbrechen"; Escape and the close box cancel as well.
// Application-modal, so the list cannot change under the command.
class RunProgressDlg : public QDialog {
    Q_OBJECT
public:
    RunProgressDlg(const QString& text, int total, QWidget* parent);

    void setValue(int done);
    // The bar, "<done> von <total> Dateien, <rate> Dateien/s" and the path,
    // elided in the middle.
    void setProgress(int done, const std::string& path, double filesPerSecond);
    bool cancelled() const { return cancelled_; }
    void reject() override;

private:
    static constexpr int kFileWidth = 420;

    int total_;
    QProgressBar* bar_;
    QLabel* count_;
    QLabel* file_;
    bool cancelled_ = false;
};

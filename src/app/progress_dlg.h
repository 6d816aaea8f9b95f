#pragma once

#include "platform/prompter.h"

#include <QDialog>

#include <string_view>

class QEventLoop;
class QLabel;
class QProgressBar;
class QPushButton;

// The window of an auto-edit run: how far the run has come, and where the
// run asks its yes/no questions about one entry. It is application-modal,
// so while it is up the list cannot change under the run. Every control's
// objectName is its id.
class CProgressDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId : int {
        IDC_PROGRESS = 1049,
        IDC_STEP = 1050,
        IDC_QUESTION = 1051,
        IDC_YES = 1053,
        IDC_NO = 3,
        IDC_CANCEL = 2,
    };

    explicit CProgressDlg(QWidget* parent = nullptr);

    // One more of the run's m entries is started: the bar runs over 1..m and
    // the step text reads "n/m".
    void Step(int m);
    // Shows the question and waits for the answer: Answer::Yes ("&Ja", Enter),
    // Answer::No ("&Nein") or Answer::Cancel ("&Abbrechen", Escape, the close
    // box). The question field is empty again afterwards.
    platform::Answer Ask(std::string_view text);
    // Lets the window repaint and take the clicks made while no question
    // waited; true once "&Abbrechen" was pressed at such a time.
    bool pollCancel();

    // Escape and the close box: the same as "&Abbrechen". The window stays.
    void reject() override;

private:
    void answer(platform::Answer reply);

    QLabel* m_step = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_question = nullptr;
    QPushButton* m_yes = nullptr;
    QEventLoop* m_loop = nullptr;
    int m_nStep = 0;
    bool m_bCancelPressed = false;
};

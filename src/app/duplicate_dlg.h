#pragma once

#include "platform/duplicate_choice.h"

#include <QDialog>

class QKeyEvent;

// Asks what to do with a new entry that is the same track as a listed one.
// exec() returns the answer's number (choiceOf names it). No button is the
// default: Enter presses the button that has the focus, and Escape or the
// close box answer Cancel like "Abbrechen". The message label is "1056",
// each button's objectName is its id.
class CDuplicateDlg : public QDialog {
    Q_OBJECT

public:
    explicit CDuplicateDlg(const QString& message, QWidget* parent = nullptr);

    void reject() override;
    static platform::DuplicateChoice choiceOf(int result);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

#pragma once

#include "document/liedkram_doc.h"
#include "document/list_edit.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <vector>

// The steps done in this window since its list was opened, newest last, on
// Qt's undo stack: what each command did to the list, and the change sets
// of what it did to the files. Change sets of other sessions, programs or
// windows are never on it. Any change of the list made outside a step, and
// every new list, empties it: its steps would no longer fit.
class SessionUndo : public QObject, private DocumentObserver {
    Q_OBJECT
public:
    explicit SessionUndo(CLiedkramDoc& document, QObject* parent = nullptr);
    ~SessionUndo() override;

    QUndoStack& stack() { return stack_; }
    CLiedkramDoc& document() { return document_; }

    // The rows a step put back or changed, to be shown selected.
    std::function<void(const std::vector<std::size_t>&)> showRows;

    // A finished step of the window; not done again when put on the stack.
    void push(const QString& text, document::ListEdit edit);

    // While a step is taken back or done again, its changes of the list are its own.
    bool applying() const { return applying_; }
    void setApplying(bool applying) { applying_ = applying; }
    // The list was not as the step expects it: the stack is emptied once the step is over.
    void giveUp() { givenUp_ = true; }

public slots:
    // The menu's commands. A step whose files were changed since by someone
    // else is reported and left as it is: it stays where it is on the stack.
    void undo();
    void redo();

private:
    void rowsAppended(std::size_t first, std::size_t count) override;
    void rowsRemoved(std::size_t first, std::size_t count) override;
    void rowsReordered() override;
    void rowRefreshed(std::size_t) override {}
    void listCleared() override;
    void titleChanged() override {}
    void changedOutsideAStep();
    // Undoes or redoes the step at `at` when its files are as it left them.
    void stepOver(int at, void (QUndoStack::*move)());
    void finish();

    CLiedkramDoc& document_;
    QUndoStack stack_;
    bool applying_ = false;
    bool givenUp_ = false;
};

// One command of the window as one step: while it lives, the list records
// what the command does; then the step goes on the stack. A step inside
// another one (or without a session) records nothing of its own.
class SessionStep {
public:
    SessionStep(SessionUndo* session, QString text);
    ~SessionStep();
    SessionStep(const SessionStep&) = delete;
    SessionStep& operator=(const SessionStep&) = delete;

private:
    SessionUndo* session_;
    QString text_;
    document::ListEdit edit_;
};

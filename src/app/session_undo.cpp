#include "app/session_undo.h"

#include "app/set_undo.h"
#include "history/change_lock.h"
#include "history/journal.h"
#include "history/journal_location.h"
#include "history/undo.h"
#include "platform/prompter.h"

#include <QUndoCommand>

#include <optional>

namespace {

// One step of the window: its list edit, and its change sets, which an
// undo or a redo replaces by the change sets that take it back in turn.
class SessionCommand : public QUndoCommand {
public:
    SessionCommand(SessionUndo& session, const QString& text, document::ListEdit edit)
        : QUndoCommand(text), session_(session), edit_(std::move(edit))
    {
    }

    void undo() override { takeStep(QStringLiteral("Rückgängig: "), &document::ListEdit::undo); }

    void redo() override
    {
        // Put on the stack once it is done.
        if (first_) {
            first_ = false;
            return;
        }
        takeStep(QStringLiteral("Wiederherstellen: "), &document::ListEdit::redo);
    }

private:
    using Apply = document::ListEdit::Applied (document::ListEdit::*)(CLiedkramDoc&);

    void takeStep(const QString& word, Apply apply)
    {
        CLiedkramDoc& doc = session_.document();
        // The files first, the change set made last first; each undo is a change set of its own.
        std::vector<int> next;
        const std::vector<int>& sets = edit_.changeSets();
        for (auto set = sets.rbegin(); set != sets.rend(); ++set) {
            const SetUndo undone = undoJournalSet(*set, (word + text()).toStdString());
            if (undone.undoSet)
                next.push_back(*undone.undoSet);
        }
        edit_.setChangeSets(std::move(next));
        session_.setApplying(true);
        const auto applied = (edit_.*apply)(doc);
        session_.setApplying(false);
        if (!applied.matched) {
            platform::prompter().showMessage(
                "Die Liste ist nicht mehr so, wie \"" + text().toStdString() +
                "\" sie hinterlassen hat; die Schritte davor lassen sich nicht mehr r\xC3\xBC"
                "ckg\xC3\xA4ngig machen.");
            session_.giveUp();
            return;
        }
        doc.SetChanged();
        if (session_.showRows && !applied.rows.empty())
            session_.showRows(applied.rows);
    }

    SessionUndo& session_;
    document::ListEdit edit_;
    bool first_ = true;

public:
    // Whether every file of the step's change sets is still as they left it;
    // says which are not.
    bool filesAsLeft() const;
};

bool SessionCommand::filesAsLeft() const
{
    const std::string step = text().toStdString();
    std::string changed;
    for (const int number : edit_.changeSets()) {
        const auto set = history::readChangeSet(history::dataDirectory(), number);
        if (!set)
            continue;
        for (const std::string& path : history::filesChangedSince(*set))
            changed.append("'").append(path).append("' wurde seit \"").append(step).append("\" ge\xC3\xA4ndert.\n");
    }
    if (changed.empty())
        return true;
    platform::prompter().showMessage(changed + "\"" + step + "\" bleibt darum, wie es ist.");
    return false;
}

// The step the stack would take next, as ours.
SessionCommand* commandAt(QUndoStack& stack, int index)
{
    if (index < 0 || index >= stack.count())
        return nullptr;
    return static_cast<SessionCommand*>(const_cast<QUndoCommand*>(stack.command(index)));
}

}  // namespace

SessionUndo::SessionUndo(CLiedkramDoc& document, QObject* parent) : QObject(parent), document_(document)
{
    document_.addObserver(this);
}

SessionUndo::~SessionUndo()
{
    document_.removeObserver(this);
}

void SessionUndo::push(const QString& text, document::ListEdit edit)
{
    stack_.push(new SessionCommand(*this, text, std::move(edit)));
}

void SessionUndo::undo()
{
    stepOver(stack_.index() - 1, &QUndoStack::undo);
}

void SessionUndo::redo()
{
    stepOver(stack_.index(), &QUndoStack::redo);
}

void SessionUndo::stepOver(int at, void (QUndoStack::*move)())
{
    SessionCommand* step = commandAt(stack_, at);
    if (!step)
        return;
    // Held over the check and the step, so no other program changes files in between.
    const auto lock = history::takeChangeLock(history::dataDirectory());
    if (!lock)
        return;
    if (step->filesAsLeft())
        (stack_.*move)();
    finish();
}

void SessionUndo::finish()
{
    if (givenUp_)
        stack_.clear();
    givenUp_ = false;
}

void SessionUndo::changedOutsideAStep()
{
    if (!applying_ && !document_.edits)
        stack_.clear();
}

void SessionUndo::rowsAppended(std::size_t, std::size_t)
{
    changedOutsideAStep();
}

void SessionUndo::rowsRemoved(std::size_t, std::size_t)
{
    changedOutsideAStep();
}

void SessionUndo::rowsReordered()
{
    changedOutsideAStep();
}

void SessionUndo::listCleared()
{
    // Another list, or none: a new stack.
    stack_.clear();
}

SessionStep::SessionStep(SessionUndo* session, QString text) : session_(session), text_(std::move(text))
{
    if (session_ && !session_->document().edits)
        session_->document().edits = &edit_;
    else
        session_ = nullptr;
}

SessionStep::~SessionStep()
{
    if (!session_)
        return;
    CLiedkramDoc& doc = session_->document();
    edit_.settle(doc);
    doc.edits = nullptr;
    if (!edit_.isVoid() && !edit_.empty())
        session_->push(text_, std::move(edit_));
}

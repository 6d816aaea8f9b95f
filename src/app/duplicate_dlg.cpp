#include "app/duplicate_dlg.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <array>
#include <cassert>

namespace {

struct AnswerButton {
    int id;
    const char* text;
    platform::DuplicateChoice answer;
    int row;
    int column;
};

// In tab order; row and column place them in two rows of three.
constexpr std::array<AnswerButton, 6> kButtons = {{
    {1055, "JA, hinzufügen", platform::DuplicateChoice::Add, 0, 0},
    {2, "Abbrechen", platform::DuplicateChoice::Cancel, 1, 2},
    {3, "JA, ersetzen", platform::DuplicateChoice::Replace, 0, 1},
    {7, "NEIN", platform::DuplicateChoice::Skip, 0, 2},
    {5, "JA, alle hinzufügen", platform::DuplicateChoice::AddAll, 1, 0},
    {6, "JA, alle ersetzen", platform::DuplicateChoice::ReplaceAll, 1, 1},
}};

constexpr int kMessageId = 1056;
// The message is as wide as 263 dialog units, a quarter of an average character each.
constexpr int kMessageWidthQuarterChars = 263;

}  // namespace

CDuplicateDlg::CDuplicateDlg(const QString& message, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Titel bereits in der Liste!"));

    auto* layout = new QGridLayout(this);
    auto* text = new QLabel(message, this);
    text->setObjectName(QString::number(kMessageId));
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Selecting text must not take the focus from the buttons, or Enter would press none.
    text->setFocusPolicy(Qt::NoFocus);
    text->setMinimumWidth(fontMetrics().averageCharWidth() * kMessageWidthQuarterChars / 4);
    layout->addWidget(text, 0, 0, 1, 3);

    QWidget* previous = nullptr;
    for (const auto& entry : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(entry.text), this);
        button->setObjectName(QString::number(entry.id));
        // Otherwise the dialog would make one button the default for Enter.
        button->setAutoDefault(false);
        const int answer = static_cast<int>(entry.answer);
        connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
        layout->addWidget(button, entry.row + 1, entry.column);
        if (previous)
            setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
    }
}

void CDuplicateDlg::reject()
{
    done(static_cast<int>(platform::DuplicateChoice::Cancel));
}

platform::DuplicateChoice CDuplicateDlg::choiceOf(int result)
{
    const auto choice = static_cast<platform::DuplicateChoice>(result);
    assert(choice >= platform::DuplicateChoice::Add && choice <= platform::DuplicateChoice::Cancel);
    return choice;
}

void CDuplicateDlg::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (!enter || !plain) {
        QDialog::keyPressEvent(event);
        return;
    }
    // A button without auto-default passes Enter on to its dialog; press it here.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
        button->click();
    event->accept();
}

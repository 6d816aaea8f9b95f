#include "app/duplicate_dlg.h"

#include "document/liedkram_doc.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace {

struct AnswerButton {
    int id;
    const char* text;
    int answer;
    int row;
    int column;
};

// In tab order; row and column place them in two rows of three.
constexpr std::array<AnswerButton, 6> kButtons = {{
    {1055, "JA, hinzufügen", DUP_ADD, 0, 0},
    {2, "Abbrechen", DUP_CANCEL, 1, 2},
    {3, "JA, ersetzen", DUP_REPLACE, 0, 1},
    {7, "NEIN", DUP_SKIP, 0, 2},
    {5, "JA, alle hinzufügen", DUP_ADD_ALL, 1, 0},
    {6, "JA, alle ersetzen", DUP_REPLACE_ALL, 1, 1},
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
        const int answer = entry.answer;
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
    done(DUP_CANCEL);
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

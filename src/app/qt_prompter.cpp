#include "app/qt_prompter.h"

#include "app/duplicate_dlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString textOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString caption()
{
    return QApplication::applicationName();
}

}  // namespace

QtPrompter::QtPrompter(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}

void QtPrompter::showMessage(std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, caption(), textOf(text), QMessageBox::Ok, parent_());
    box.exec();
}

int QtPrompter::askYesNoCancel(std::string_view text)
{
    QMessageBox box(QMessageBox::Question, caption(), textOf(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return platform::kAnswerYes;
    case QMessageBox::No:
        return platform::kAnswerNo;
    default:
        return platform::kAnswerCancel;
    }
}

int QtPrompter::askYesNo(std::string_view text)
{
    QMessageBox box(QMessageBox::Question, caption(), textOf(text), QMessageBox::Yes | QMessageBox::No, parent_());
    return box.exec() == QMessageBox::Yes ? platform::kAnswerYes : platform::kAnswerNo;
}

int QtPrompter::askDuplicate(std::string_view text)
{
    CDuplicateDlg dialog(textOf(text), parent_());
    return dialog.exec();
}

int QtPrompter::askProgress(std::string_view text)
{
    if (progressAsker_)
        return progressAsker_(text);
    QMessageBox box(QMessageBox::Question, caption(), textOf(text), QMessageBox::NoButton, parent_());
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.addButton(QStringLiteral("&Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return platform::kAnswerYes;
    if (box.clickedButton() == no)
        return platform::kAnswerNo;
    return platform::kAnswerCancel;
}

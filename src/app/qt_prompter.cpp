#include "app/qt_prompter.h"

#include "app/duplicate_dlg.h"
#include "app/rename_preview_dlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kWaitPollMs = 200;

QString textOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString caption()
{
    return QApplication::applicationName();
}

// A busy command's wait cursor gives way to the arrow while the user reads
// and answers.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() : busy_(QApplication::overrideCursor() != nullptr)
    {
        if (busy_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking()
    {
        if (busy_)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool busy_;
};

}  // namespace

QWidget* QtPrompter::owner() const
{
    // Above a modal window that is up (a command's progress), not under it.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return parent_();
}

QtPrompter::QtPrompter(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}

void QtPrompter::showMessage(std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, caption(), textOf(text), QMessageBox::Ok, owner());
    const ArrowWhileAsking arrow;
    box.exec();
}

void QtPrompter::showFileMessage(std::string_view path, std::string_view text)
{
    if (text.find(path) != std::string_view::npos) {
        showMessage(text);
        return;
    }
    showMessage("'" + std::string(path) + "': " + std::string(text));
}

platform::Answer QtPrompter::askYesNoCancel(std::string_view text)
{
    QMessageBox box(QMessageBox::Question, caption(), textOf(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner());
    const ArrowWhileAsking arrow;
    switch (box.exec()) {
    case QMessageBox::Yes:
        return platform::Answer::Yes;
    case QMessageBox::No:
        return platform::Answer::No;
    default:
        return platform::Answer::Cancel;
    }
}

platform::Answer QtPrompter::askYesNo(std::string_view text)
{
    QMessageBox box(QMessageBox::Question, caption(), textOf(text), QMessageBox::Yes | QMessageBox::No, owner());
    const ArrowWhileAsking arrow;
    return box.exec() == QMessageBox::Yes ? platform::Answer::Yes : platform::Answer::No;
}

platform::DuplicateChoice QtPrompter::askDuplicate(std::string_view text)
{
    CDuplicateDlg dialog(textOf(text), owner());
    const ArrowWhileAsking arrow;
    return CDuplicateDlg::choiceOf(dialog.exec());
}

platform::Answer QtPrompter::askProgress(std::string_view text)
{
    QMessageBox box(QMessageBox::Question, caption(), textOf(text), QMessageBox::NoButton, owner());
    const ArrowWhileAsking arrow;
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.addButton(QStringLiteral("&Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return platform::Answer::Yes;
    if (box.clickedButton() == no)
        return platform::Answer::No;
    return platform::Answer::Cancel;
}

platform::Answer QtPrompter::reviewRenames(std::vector<platform::RenameProposal>& proposals)
{
    RenamePreviewDlg dialog(proposals, owner());
    const ArrowWhileAsking arrow;
    const platform::Answer answer = RenamePreviewDlg::answerOf(dialog.exec());
    const std::vector<bool> ticks = dialog.ticked();
    for (std::size_t i = 0; i < proposals.size(); ++i)
        proposals[i].ticked = ticks[i];
    return answer;
}

bool QtPrompter::waitFor(std::string_view text, const std::function<bool()>& ready)
{
    // A busy box the user may close, asking again and again meanwhile.
    QProgressDialog box(textOf(text), QStringLiteral("&Abbrechen"), 0, 0, owner());
    box.setWindowTitle(caption());
    box.setMinimumDuration(0);
    const ArrowWhileAsking arrow;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
        if (ready())
            box.accept();
    });
    poll.start(kWaitPollMs);
    return box.exec() == QDialog::Accepted;
}

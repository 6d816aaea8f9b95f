#include "edit_fixture.h"

#include "app/manual_edit_dlg.h"
#include "app/progress_dlg.h"
#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QTest>

#include <memory>

namespace edittest {

namespace {
constexpr int kPollMs = 1;
constexpr int kSongFrames = 20;
}  // namespace

ScriptedUser::ScriptedUser(std::function<QDialog*()> waiting, std::vector<Step> steps)
    : waiting_(std::move(waiting)), steps_(steps.begin(), steps.end())
{
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(kPollMs);
}

void ScriptedUser::poll()
{
    QDialog* dialog = waiting_();
    if (!dialog)
        return;
    if (steps_.empty()) {
        ADD_FAILURE() << "a dialog nobody expected: " << dialog->windowTitle().toStdString();
        dialog->close();
        return;
    }
    const Step step = std::move(steps_.front());
    steps_.pop_front();
    step(*dialog);
}

QDialog* waitingEditDialog()
{
    auto* dialog = qobject_cast<CManualEditDlg*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

QDialog* waitingQuestion()
{
    for (QDialog* dialog : progressDialogs()) {
        if (dialog->isVisible() && !textOf(*dialog, CProgressDlg::IDC_QUESTION).isEmpty())
            return dialog;
    }
    return nullptr;
}

std::vector<QDialog*> progressDialogs()
{
    std::vector<QDialog*> found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<CProgressDlg*>(window))
            found.push_back(dialog);
    }
    return found;
}

void click(QAbstractButton* button)
{
    ASSERT_TRUE(button);
    QPoint where = button->rect().center();
    if (qobject_cast<QCheckBox*>(button)) {
        QStyleOptionButton option;
        option.initFrom(button);
        where = button->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, button).center();
    }
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
}

void click(const QDialog& dialog, int id)
{
    click(dialog.findChild<QAbstractButton*>(QString::number(id)));
}

void retype(const QDialog& dialog, int id, const QString& text)
{
    auto* edit = dialog.findChild<QLineEdit*>(QString::number(id));
    ASSERT_TRUE(edit);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    // Key by key with the character as its text: keyClicks knows ASCII only.
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

QString textOf(const QDialog& dialog, int id)
{
    const QString name = QString::number(id);
    if (const auto* label = dialog.findChild<QLabel*>(name))
        return label->text();
    if (const auto* edit = dialog.findChild<QLineEdit*>(name))
        return edit->text();
    return QStringLiteral("<no control %1>").arg(id);
}

void RunPrompter::showMessage(std::string_view text)
{
    ScriptedPrompter::showMessage(text);
    if (onMessage)
        onMessage(text);
}

void RunPrompter::showFileMessage(std::string_view path, std::string_view text)
{
    filesNamed.emplace_back(path);
    ScriptedPrompter::showFileMessage(path, text);
}

EditTest::EditTest() : previousPrompter_(platform::installPrompter(&prompter_))
{
    doc_.addObserver(&rows_);
    window_.resize(400, 300);
    window_.show();
}

EditTest::~EditTest()
{
    doc_.removeObserver(&rows_);
    platform::installPrompter(previousPrompter_);
}

std::string EditTest::writeSong(const std::string& name, const testsupport::Id3v1Fields& tag)
{
    testsupport::HeaderSpec copied;
    copied.copyright = true;
    testsupport::Bytes bytes = testsupport::frames(copied, kSongFrames);
    testsupport::append(bytes, testsupport::id3v1Tag(tag));
    return dir_.write(name, bytes);
}

CLiedkramEntry& EditTest::addSong(const std::string& name, const testsupport::Id3v1Fields& tag)
{
    auto entry = std::make_unique<CLiedkramEntry>(writeSong(name, tag), platform::readRepairSettings());
    CLiedkramEntry& added = *entry;
    document::DuplicatePolicy answer;
    doc_.AddEntry(std::move(entry), false, answer);
    return added;
}

}  // namespace edittest

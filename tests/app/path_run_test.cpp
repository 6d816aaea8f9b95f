// The add command's progress dialog against the questions the add asks.

#include "platform/repair_settings.h"
#include "window_fixture.h"

#include "app/duplicate_dlg.h"
#include "app/path_run.h"
#include "app/qt_prompter.h"
#include "entry/liedkram_entry.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

using apptest::WindowTest;

namespace {

constexpr const char* kProgressName = "runProgress";

// Notes every time the progress dialog is shown.
class ShowWatch : public QObject {
public:
    ShowWatch() { qApp->installEventFilter(this); }
    ~ShowWatch() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == kProgressName)
            ++shown;
        return false;
    }
};

QDialog* visibleProgress()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == kProgressName && widget->isVisible())
            return static_cast<QDialog*>(widget);
    }
    return nullptr;
}

// Answers the duplicate question after the user thought about it for a while.
class SlowPrompter : public testsupport::ScriptedPrompter {
public:
    platform::DuplicateChoice askDuplicate(std::string_view text) override
    {
        progressUpWhenAsked = visibleProgress() != nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(1300));
        return ScriptedPrompter::askDuplicate(text);
    }
    bool progressUpWhenAsked = false;
};

// Installs a prompter for one scope.
class PrompterScope {
public:
    explicit PrompterScope(platform::Prompter& prompter) : previous_(platform::installPrompter(&prompter)) {}
    ~PrompterScope() { platform::installPrompter(previous_); }
    PrompterScope(const PrompterScope&) = delete;
    PrompterScope& operator=(const PrompterScope&) = delete;

private:
    platform::Prompter* previous_;
};

class PathRun : public WindowTest {
protected:
    std::vector<std::string> songs(int count)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(writeSong("Band - Song " + std::to_string(i) + ".mp3"));
        return paths;
    }
};

}  // namespace

TEST_F(PathRun, AnsweringLateWorksLikeAnsweringEarly)
{
    addListed("Band - Song 0.mp3", "Band", "Song 0");
    SlowPrompter slow;
    slow.scriptDuplicate({platform::DuplicateChoice::Add});
    const PrompterScope scope(slow);
    const ShowWatch watch;
    runPathCommand(doc_, PathCommand::Add, songs(3), frame_.get());
    EXPECT_FALSE(slow.progressUpWhenAsked);
    EXPECT_EQ(watch.shown, 0) << "the time spent on the question is no work";
    EXPECT_EQ(doc_.GetCount(), 4u);
    EXPECT_TRUE(slow.messages().empty());
}

TEST_F(PathRun, QuestionsOpenAboveTheProgressWithTheArrowCursor)
{
    const auto paths = songs(2);
    addListed("Band - Song 1.mp3", "Band", "Song 1");
    QtPrompter real([this] { return frame_.get(); });
    const PrompterScope scope(real);
    QWidget* progressWhenAsked = nullptr;
    QWidget* ownerOfQuestion = nullptr;
    Qt::CursorShape cursorWhenAsked = Qt::BlankCursor;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* question = qobject_cast<CDuplicateDlg*>(QApplication::activeModalWidget());
        if (!question)
            return;
        progressWhenAsked = visibleProgress();
        ownerOfQuestion = question->parentWidget();
        cursorWhenAsked = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        question->findChild<QPushButton*>(QStringLiteral("1055"))->click();
    });
    answer.start();
    // No delay: the progress is up from the first path on.
    runPathCommand(doc_, PathCommand::Add, paths, frame_.get(), 0);
    ASSERT_NE(progressWhenAsked, nullptr);
    EXPECT_EQ(ownerOfQuestion, progressWhenAsked);
    EXPECT_EQ(cursorWhenAsked, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(doc_.GetCount(), 3u);
    EXPECT_EQ(visibleProgress(), nullptr);
}

TEST_F(PathRun, CancellingTellsHowFarTheAddCame)
{
    QTimer cancel;
    cancel.setInterval(0);
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (QDialog* progress = visibleProgress())
            progress->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    });
    cancel.start();
    runPathCommand(doc_, PathCommand::Add, songs(3), frame_.get(), 0);
    EXPECT_EQ(doc_.GetCount(), 1u);
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Hinzufügen abgebrochen: 1 von 3 Dateien gelesen, 1 Eintrag hinzugefügt."});
}

TEST_F(PathRun, EscapeCancelsTheSubtract)
{
    const auto paths = songs(3);
    doc_.OnAddMp3s(paths, platform::readRepairSettings());
    QTimer escape;
    escape.setInterval(0);
    QObject::connect(&escape, &QTimer::timeout, [&] {
        if (QDialog* progress = visibleProgress())
            QTest::keyClick(progress, Qt::Key_Escape);
    });
    escape.start();
    runPathCommand(doc_, PathCommand::Subtract, paths, frame_.get(), 0);
    EXPECT_EQ(doc_.GetCount(), 2u);
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Subtrahieren abgebrochen: 1 von 3 Dateien gelesen, 1 Eintrag entfernt."});
}

TEST_F(PathRun, TheProgressShowsTheFilesDoneTheirRateAndTheCurrentFile)
{
    const auto paths = songs(3);
    QStringList counts;
    QStringList files;
    QTimer look;
    look.setInterval(0);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (QDialog* progress = visibleProgress()) {
            counts << progress->findChild<QLabel*>(QStringLiteral("count"))->text();
            files << progress->findChild<QLabel*>(QStringLiteral("file"))->text();
        }
    });
    look.start();
    runPathCommand(doc_, PathCommand::Add, paths, frame_.get(), 0);
    ASSERT_FALSE(counts.isEmpty());
    EXPECT_TRUE(counts.first().startsWith(QStringLiteral("1 von 3 Dateien, "))) << counts.first().toStdString();
    EXPECT_TRUE(counts.first().endsWith(QStringLiteral(" Dateien/s"))) << counts.first().toStdString();
    // The name stays readable however deep the folder: elided in the middle.
    const QString first = QString::fromStdString(paths.front());
    EXPECT_TRUE(files.first() == first ||
                (files.first().contains(QChar(0x2026)) && first.endsWith(files.first().section(QChar(0x2026), -1))))
        << files.first().toStdString();
}

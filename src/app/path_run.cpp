#include "app/path_run.h"

#include "app/recorded_changes.h"
#include "app/run_progress_dlg.h"
#include "app/scoped_prompter.h"
#include "document/liedkram_doc.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>

namespace {

// Passes every message and question on to the installed prompter and keeps
// the time they were open, so that time does not count as work.
class QuestionClock : public ScopedPrompter {
public:
    qint64 milliseconds() const { return milliseconds_; }

private:
    // Defined before its callers: they take its answer's type from it.
    template <class Ask>
    auto timed(Ask&& ask)
    {
        QElapsedTimer open;
        open.start();
        const auto answer = ask();
        milliseconds_ += open.elapsed();
        return answer;
    }

public:
    void showMessage(std::string_view text) override
    {
        timed([&] {
            ScopedPrompter::showMessage(text);
            return 0;
        });
    }
    void showFileMessage(std::string_view path, std::string_view text) override
    {
        timed([&] {
            ScopedPrompter::showFileMessage(path, text);
            return 0;
        });
    }
    platform::Answer askYesNoCancel(std::string_view text) override
    {
        return timed([&] { return ScopedPrompter::askYesNoCancel(text); });
    }
    platform::Answer askYesNo(std::string_view text) override
    {
        return timed([&] { return ScopedPrompter::askYesNo(text); });
    }
    platform::DuplicateChoice askDuplicate(std::string_view text) override
    {
        return timed([&] { return ScopedPrompter::askDuplicate(text); });
    }
    platform::Answer askProgress(std::string_view text) override
    {
        return timed([&] { return ScopedPrompter::askProgress(text); });
    }

private:
    qint64 milliseconds_ = 0;
};

// Counts the rows the command adds and removes.
class RowCounter : public DocumentObserver {
public:
    explicit RowCounter(CLiedkramDoc& doc) : doc_(doc) { doc_.addObserver(this); }
    ~RowCounter() override { doc_.removeObserver(this); }
    RowCounter(const RowCounter&) = delete;
    RowCounter& operator=(const RowCounter&) = delete;

    void rowsAppended(std::size_t, std::size_t count) override { added += count; }
    void rowsRemoved(std::size_t, std::size_t count) override { removed += count; }
    void rowsReordered() override {}
    void rowRefreshed(std::size_t) override {}
    void listCleared() override {}
    void titleChanged() override {}

    std::size_t added = 0;
    std::size_t removed = 0;

private:
    CLiedkramDoc& doc_;
};

// The wait cursor and the progress callback, for as long as this lives.
class BusyWhile {
public:
    explicit BusyWhile(CLiedkramDoc& doc) : doc_(doc) { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyWhile()
    {
        QApplication::restoreOverrideCursor();
        doc_.progress = nullptr;
    }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    CLiedkramDoc& doc_;
};

QString entries(std::size_t count)
{
    return count == 1 ? QStringLiteral("1 Eintrag") : QStringLiteral("%1 Einträge").arg(count);
}

std::string cancelMessage(PathCommand command, std::size_t done, std::size_t total, const RowCounter& rows)
{
    const QString text = command == PathCommand::Add
                             ? QStringLiteral("Hinzufügen abgebrochen: %1 von %2 Dateien gelesen, %3 hinzugefügt.")
                                   .arg(done)
                                   .arg(total)
                                   .arg(entries(rows.added))
                             : QStringLiteral("Subtrahieren abgebrochen: %1 von %2 Dateien gelesen, %3 entfernt.")
                                   .arg(done)
                                   .arg(total)
                                   .arg(entries(rows.removed));
    return text.toStdString();
}

}  // namespace

void runPathCommand(CLiedkramDoc& doc, PathCommand command, const std::vector<std::string>& paths, QWidget* parent,
                    int delayMs)
{
    const bool add = command == PathCommand::Add;
    RunProgressDlg dialog(add ? QStringLiteral("MP3s hinzufügen") : QStringLiteral("MP3s subtrahieren"),
                          static_cast<int>(paths.size()), parent);
    const RowCounter rows(doc);
    std::size_t done = 0;
    {
        const QuestionClock questions;
        QElapsedTimer clock;
        clock.start();
        QElapsedTimer sinceEvents;
        doc.progress = [&](std::size_t finished, std::size_t total, const std::string& path) {
            done = finished;
            const qint64 working = clock.elapsed() - questions.milliseconds();
            if (!dialog.isVisible() && working >= delayMs)
                dialog.show();
            // Lets the dialog paint and its "Abbrechen" through; it is modal,
            // so the list cannot change meanwhile. Small files go by faster
            // than anyone reads, so not after every one of them.
            if (dialog.isVisible() &&
                (!sinceEvents.isValid() || sinceEvents.elapsed() >= kPathRunRepaintMs || finished == total)) {
                dialog.setProgress(static_cast<int>(finished), path,
                                   static_cast<double>(finished) * 1000.0 /
                                       static_cast<double>(std::max<qint64>(working, 1)));
                QApplication::processEvents();
                sinceEvents.start();
            }
            return !dialog.cancelled();
        };
        const BusyWhile busy(doc);
        const RecordedChanges changes(doc, "MP3's hinzufügen");
        const platform::RepairSettings settings = platform::readRepairSettings();
        if (add)
            doc.OnAddMp3s(paths, settings);
        else
            doc.OnSubtractMp3s(paths, settings);
    }
    dialog.hide();
    if (dialog.cancelled())
        platform::prompter().showMessage(cancelMessage(command, done, paths.size(), rows));
}

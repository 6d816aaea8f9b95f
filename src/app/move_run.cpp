#include "app/move_run.h"

#include "app/recorded_changes.h"
#include "app/run_progress_dlg.h"
#include "app/scoped_prompter.h"
#include "document/entry_move.h"
#include "document/liedkram_doc.h"
#include "platform/prompter.h"
#include "platform/settings.h"

#include <QApplication>
#include <QFileDialog>

#include <optional>
#include <string>

namespace {

// More would not fit a message box.
constexpr std::size_t kMessagesShown = 20;

// Keeps the messages of a move, to be told together once it is over: one
// box per file would stop it at every file.
class GatheredMessages : public ScopedPrompter {
public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    void showFileMessage(std::string_view path, std::string_view text) override
    {
        messages.push_back("'" + std::string(path) + "': " + std::string(text));
    }

    std::vector<std::string> messages;
};

// The wait cursor, for as long as this lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::string summary(const std::vector<std::string>& messages)
{
    std::string text;
    for (std::size_t i = 0; i < messages.size() && i < kMessagesShown; ++i)
        text += (i > 0 ? "\n" : "") + messages[i];
    if (messages.size() > kMessagesShown)
        text += QStringLiteral("\n... und %1 weitere.").arg(messages.size() - kMessagesShown).toStdString();
    return text;
}

std::optional<std::string> askFolder(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("mp3's verschieben nach"),
                       QString::fromStdString(platform::readMoveFolder()));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace

void runMove(CLiedkramDoc& doc, const std::vector<int>& selectedRows, QWidget* parent)
{
    if (selectedRows.empty()) {
        platform::prompter().showMessage("Nichts zu verschieben: Erst Titel markieren, dann verschieben!");
        return;
    }
    const auto folder = askFolder(parent);
    if (!folder)
        return;
    platform::writeMoveFolder(*folder);
    const std::vector<std::size_t> rows(selectedRows.begin(), selectedRows.end());
    RunProgressDlg dialog(QStringLiteral("mp3's verschieben"), static_cast<int>(rows.size()), parent);
    document::MoveReport report;
    std::vector<std::string> messages;
    {
        GatheredMessages gathered;
        RecordedChanges changes(doc, "mp3's verschieben");
        const WaitCursor busy;
        if (rows.size() >= static_cast<std::size_t>(kMoveProgressFrom))
            dialog.show();
        report = document::MoveEntryFiles(doc, rows, document::EntryFolder(*folder), &changes.changes(),
                                          [&dialog](std::size_t done, std::size_t) {
                                              dialog.setValue(static_cast<int>(done));
                                              // Lets "Abbrechen" through; the dialog is modal.
                                              if (dialog.isVisible())
                                                  QApplication::processEvents();
                                              return !dialog.cancelled();
                                          });
        messages = std::move(gathered.messages);
    }
    dialog.hide();
    if (dialog.cancelled())
        messages.push_back(QStringLiteral("Verschieben abgebrochen: %1 von %2 Dateien verschoben.")
                               .arg(report.moved.size())
                               .arg(rows.size())
                               .toStdString());
    if (!messages.empty())
        platform::prompter().showMessage(summary(messages));
}

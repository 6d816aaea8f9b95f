#include "app/move_run.h"

#include "app/recorded_changes.h"
#include "app/run_progress_dlg.h"
#include "document/entry_move.h"
#include "document/file_presence.h"
#include "document/liedkram_doc.h"
#include "platform/prompter.h"
#include "platform/settings.h"

#include <QApplication>
#include <QFileDialog>

#include <optional>
#include <string>

namespace {

// The wait cursor, for as long as this lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

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
    const std::vector<std::size_t> rows =
        document::RowsPresent(doc, std::vector<std::size_t>(selectedRows.begin(), selectedRows.end()));
    RunProgressDlg dialog(QStringLiteral("mp3's verschieben"), static_cast<int>(rows.size()), parent);
    document::MoveReport report;
    {
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
    }
    dialog.hide();
    if (dialog.cancelled())
        platform::prompter().showMessage(QStringLiteral("Verschieben abgebrochen: %1 von %2 Dateien verschoben.")
                                             .arg(report.moved.size())
                                             .arg(rows.size())
                                             .toStdString());
}

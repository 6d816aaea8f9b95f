// The commands of the list view that write files or show results for the
// selected rows: the three exports, the statistics and the CD cover.

#include "app/cover_preview_dlg.h"
#include "app/liedkram_view.h"
#include "document/liedkram_doc.h"
#include "platform/prompter.h"
#include "qtgui/qt_cover_canvas.h"
#include "view/cover_bitmap.h"
#include "view/cover_texts.h"
#include "view/export_commands.h"
#include "view/list_statistics.h"

#include <QApplication>
#include <QFileDialog>

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The file dialog shows the captions, which name their patterns themselves.
QString dialogFilter(const view::ExportFormat& format)
{
    QStringList names;
    for (const view::FileFilter& filter : format.filters)
        names << fromView(filter.name);
    return names.join(QStringLiteral(";;"));
}

QString askSavePath(QWidget* parent, const QString& filter, const QString& suffix, const QString& name)
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace

void CLiedkramView::exportSelection(int kind)
{
    const auto exportKind = static_cast<view::ExportKind>(kind);
    // The spreadsheet is of the list, the playlist and the name list of the selection.
    const std::vector<const CLiedkramEntry*> entries =
        exportKind == view::ExportKind::Spreadsheet ? selectedOrAllEntries() : selectedEntries();
    if (entries.empty()) {
        platform::prompter().showMessage("Nichts zu exportieren: Erst Titel markieren, dann exportieren!");
        return;
    }
    const auto& format = view::exportFormat(exportKind);
    // Named after the title without the change marker: a "*" is no part of a file name.
    const std::string name = view::initialExportName(document_.m_strPlainTitle, exportKind);
    const QString path =
        askSavePath(this, dialogFilter(format), fromView(format.extension), QString::fromStdString(name));
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    view::exportEntries(exportKind, entries, path.toStdString());
    QApplication::restoreOverrideCursor();
}

void CLiedkramView::OnExportXls()
{
    exportSelection(static_cast<int>(view::ExportKind::Spreadsheet));
}

void CLiedkramView::OnExportM3u()
{
    exportSelection(static_cast<int>(view::ExportKind::Playlist));
}

void CLiedkramView::OnExportTxt()
{
    exportSelection(static_cast<int>(view::ExportKind::NameList));
}

void CLiedkramView::OnStatistics()
{
    view::showStatistics(selectedOrAllEntries());
}

void CLiedkramView::OnCdCover()
{
    const auto texts = view::collectCoverTexts(selectedEntries());
    if (!texts)
        return;
    const auto canvas = qtgui::QtCoverCanvas::forScreen();
    if (!canvas)
        return;
    CoverPreviewDlg preview(*canvas, *texts, font(), this);
    if (preview.exec() != QDialog::Accepted)
        return;
    const QString path = askSavePath(this, QStringLiteral("Bitmaps (*.bmp);;Alle Dateien (*.*)"), QStringLiteral("bmp"),
                                     QStringLiteral("cover.bmp"));
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    view::writeCoverBitmap(*canvas, path.toStdString());
    QApplication::restoreOverrideCursor();
}

#include "app/edit_runs.h"

#include "app/manual_edit_dlg.h"
#include "app/progress_dlg.h"
#include "app/recorded_changes.h"
#include "app/scoped_prompter.h"
#include "autoedit/auto_edit.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/file_error.h"
#include "platform/prompter.h"

#include <cstddef>
#include <exception>
#include <optional>
#include <string>

namespace {

std::string failureMessage(const CLiedkramEntry& entry, const std::exception& error)
{
    const std::string file = "Unable to rewrite '" + entry.GetFullPath() + "'";
    if (const auto* fileError = dynamic_cast<const platform::FileError*>(&error))
        return file + " cause: " + fileError->causeText();
    return file + " (" + error.what() + ")";
}

// The list counts as changed and the row is drawn anew from its entry.
void markRowChanged(CLiedkramDoc& doc, std::size_t row)
{
    doc.SetChanged();
    doc.RefreshRow(row);
}

// For as long as this lives, the progress question is asked in the dialog.
class ProgressDlgPrompter : public ScopedPrompter {
public:
    explicit ProgressDlgPrompter(CProgressDlg& dialog) : dialog_(dialog) {}

    int askProgress(std::string_view text) override { return dialog_.Ask(text); }

private:
    CProgressDlg& dialog_;
};

struct Failure {
    std::size_t row;
    std::string message;
};

// Runs the auto edit over the rows under the dialog; returns the failure
// that stopped it, if any.
std::optional<Failure> autoEditRows(CLiedkramDoc& doc, const std::vector<int>& rows, CProgressDlg& dialog,
                                    history::ChangeSet& changes)
{
    const int total = static_cast<int>(rows.size());
    for (const int selected : rows) {
        if (dialog.pollCancel())
            break;
        dialog.Step(total);
        const auto row = static_cast<std::size_t>(selected);
        CLiedkramEntry& entry = doc.GetEntry(row);
        int result = 0;
        try {
            result = autoedit::AutoEdit(entry, &changes);
        } catch (const std::exception& error) {
            return Failure{row, failureMessage(entry, error)};
        }
        if (result != autoedit::kAutoEditCancelled)
            markRowChanged(doc, row);
        // A failed rewrite has been reported; it ends the run like any file error.
        if (result != autoedit::kAutoEditDone)
            break;
    }
    return std::nullopt;
}

}  // namespace

void runManualEdit(CLiedkramDoc& doc, const std::vector<int>& selectedRows, platform::ShellOpener& shell,
                   QWidget* parent)
{
    RecordedChanges changes(doc, "Manuell bearbeiten");
    CManualEditDlg dialog(doc, shell, parent);
    dialog.setChangeSet(&changes.changes());
    for (const int selected : selectedRows) {
        const auto row = static_cast<std::size_t>(selected);
        CLiedkramEntry& entry = doc.GetEntry(row);
        dialog.setEntry(&entry);
        int result = 0;
        try {
            result = dialog.exec();
        } catch (const std::exception& error) {
            // The entry holds the edits its file did not get; the row shows them.
            markRowChanged(doc, row);
            platform::prompter().showMessage(failureMessage(entry, error));
            return;
        }
        if (result == CManualEditDlg::kSaved)
            markRowChanged(doc, row);
        if (result == CManualEditDlg::kCancelled || dialog.rewriteFailed())
            return;
    }
}

void runAutoEdit(CLiedkramDoc& doc, const std::vector<int>& selectedRows, QWidget* parent)
{
    std::optional<Failure> failure;
    {
        RecordedChanges changes(doc, "Automatisch bearbeiten");
        CProgressDlg dialog(parent);
        ProgressDlgPrompter questions(dialog);
        dialog.show();
        failure = autoEditRows(doc, selectedRows, dialog, changes.changes());
    }
    // Reported once the progress dialog is gone.
    if (failure) {
        // The entry may hold repairs its file did not get; the row shows them.
        markRowChanged(doc, failure->row);
        platform::prompter().showMessage(failure->message);
    }
}

#include "app/edit_runs.h"

#include "app/manual_edit_dlg.h"
#include "app/progress_dlg.h"
#include "app/recorded_changes.h"
#include "app/scoped_prompter.h"
#include "autoedit/edit_run.h"
#include "autoedit/rename_proposals.h"
#include "document/file_presence.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"

#include <cstddef>
#include <exception>
#include <map>
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

// The rename answers of a run whose names were reviewed beforehand, by row.
using RenameAnswers = std::map<std::size_t, platform::Answer>;

// For as long as this lives, the progress question is asked in the dialog;
// in a run whose names were reviewed, it is answered from the review.
class ProgressDlgPrompter : public ScopedPrompter {
public:
    ProgressDlgPrompter(CProgressDlg& dialog, const std::optional<RenameAnswers>& decided)
        : dialog_(dialog), decided_(decided)
    {
    }

    void setRow(std::size_t row) { row_ = row; }

    platform::Answer askProgress(std::string_view text) override
    {
        if (!decided_)
            return dialog_.Ask(text);
        const auto found = decided_->find(row_);
        return found == decided_->end() ? platform::Answer::No : found->second;
    }

private:
    CProgressDlg& dialog_;
    const std::optional<RenameAnswers>& decided_;
    std::size_t row_ = 0;
};

struct Review {
    bool cancelled = false;
    std::optional<RenameAnswers> answers;  // none: the run asks row by row
};

// Over several rows with renaming on, every proposed name is shown at once.
// entries: those of the rows, in their order.
Review reviewRenames(const std::vector<CLiedkramEntry*>& entries, const std::vector<int>& rows,
                     const platform::RepairSettings& settings)
{
    Review review;
    // One row keeps its question in the progress dialog.
    if (rows.size() < 2 || !settings.rename)
        return review;
    std::vector<platform::RenameProposal> proposals =
        autoedit::ProposeRenames(std::vector<const CLiedkramEntry*>(entries.begin(), entries.end()), settings.naming);
    if (proposals.empty())
        return review;
    const platform::Answer answer = platform::prompter().reviewRenames(proposals);
    if (answer == platform::Answer::Cancel) {
        review.cancelled = true;
        return review;
    }
    RenameAnswers answers;
    for (const platform::RenameProposal& proposal : proposals) {
        const bool rename = answer == platform::Answer::Yes && proposal.ticked &&
                            proposal.mark == platform::RenameProposal::Mark::Offered;
        answers[static_cast<std::size_t>(rows[proposal.index])] = rename ? platform::Answer::Yes : platform::Answer::No;
    }
    review.answers = std::move(answers);
    return review;
}

// The rows whose files are there as listed; each other one is told and skipped.
std::vector<int> presentRows(const CLiedkramDoc& doc, const std::vector<int>& rows)
{
    const std::vector<std::size_t> present =
        document::RowsPresent(doc, std::vector<std::size_t>(rows.begin(), rows.end()));
    return {present.begin(), present.end()};
}

struct Failure {
    std::size_t row;
    std::string message;
};

// The run's side in the window: the progress dialog steps and can cancel,
// each edited row is drawn anew, and an error ends the run with a message
// told once the dialog is gone.
class DialogRunFront : public autoedit::EditRunFront {
public:
    DialogRunFront(CLiedkramDoc& doc, const std::vector<int>& rows, CProgressDlg& dialog,
                   ProgressDlgPrompter& questions)
        : doc_(doc), rows_(rows), dialog_(dialog), questions_(questions)
    {
    }

    bool stopRequested() override { return dialog_.pollCancel(); }

    void starting(std::size_t position) override
    {
        dialog_.Step(static_cast<int>(rows_.size()));
        questions_.setRow(rowAt(position));
    }

    void edited(std::size_t position, CLiedkramEntry& entry, autoedit::EditStep step,
                const std::exception* error) override
    {
        if (error)
            failure = Failure{rowAt(position), failureMessage(entry, *error)};
        else if (step != autoedit::EditStep::Cancelled)
            markRowChanged(doc_, rowAt(position));
    }

    std::optional<Failure> failure;

private:
    std::size_t rowAt(std::size_t position) const { return static_cast<std::size_t>(rows_[position]); }

    CLiedkramDoc& doc_;
    const std::vector<int>& rows_;
    CProgressDlg& dialog_;
    ProgressDlgPrompter& questions_;
};

std::vector<CLiedkramEntry*> entriesOf(CLiedkramDoc& doc, const std::vector<int>& rows)
{
    std::vector<CLiedkramEntry*> entries;
    entries.reserve(rows.size());
    for (const int row : rows)
        entries.push_back(&doc.GetEntry(static_cast<std::size_t>(row)));
    return entries;
}

}  // namespace

void runManualEdit(CLiedkramDoc& doc, const std::vector<int>& selectedRows, platform::ShellOpener& shell,
                   QWidget* parent)
{
    RecordedChanges changes(doc, "Manuell bearbeiten");
    CManualEditDlg dialog(doc, shell, parent);
    dialog.setChangeSet(&changes.changes());
    dialog.setSettings(platform::readRepairSettings());
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
    // Read once: a change of the settings applies to the next run.
    const platform::RepairSettings settings = platform::readRepairSettings();
    const std::vector<int> rows = presentRows(doc, selectedRows);
    const std::vector<CLiedkramEntry*> entries = entriesOf(doc, rows);
    const Review review = reviewRenames(entries, rows, settings);
    if (review.cancelled)
        return;
    std::optional<Failure> failure;
    {
        RecordedChanges changes(doc, "Automatisch bearbeiten");
        CProgressDlg dialog(parent);
        ProgressDlgPrompter questions(dialog, review.answers);
        dialog.show();
        DialogRunFront front(doc, rows, dialog, questions);
        // A failed rewrite has been reported; it ends the run like any file error.
        autoedit::RunEdits(entries, settings, &changes.changes(), {.stopAtFailure = true}, front);
        failure = front.failure;
    }
    // Reported once the progress dialog is gone.
    if (failure) {
        // The entry may hold repairs its file did not get; the row shows them.
        markRowChanged(doc, failure->row);
        platform::prompter().showMessage(failure->message);
    }
}

#include "app/messages_dock.h"
#include "platform/repair_settings.h"
#include "window_fixture.h"

#include "app/command_table.h"
#include "app/history_dlg.h"
#include "app/recorded_changes.h"
#include "app/session_undo.h"
#include "autoedit/auto_edit.h"
#include "autoedit/rewrite_file.h"
#include "document/entry_move.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "history/journal_location.h"
#include "support/mp3_builder.h"

#include <QAction>
#include <QPushButton>
#include <QTableWidget>

#include <filesystem>
#include <map>

using apptest::WindowTest;
using namespace commands;

namespace {

namespace fs = std::filesystem;

class SessionUndoTest : public WindowTest {
protected:
    // Every file of the folders, with its bytes.
    std::map<std::string, testsupport::Bytes> files() const
    {
        std::map<std::string, testsupport::Bytes> found;
        for (const std::string& folder : {dir_.path(), moved_.path()}) {
            for (const auto& entry : fs::directory_iterator(folder)) {
                if (entry.path().extension() == ".mp3")
                    found[entry.path().string()] = testsupport::readFile(entry.path().string());
            }
        }
        return found;
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> listed;
        for (const CLiedkramEntry* entry : doc_.Entries())
            listed.push_back(entry->GetFullPath());
        return listed;
    }
    QString undoText() const { return frame_->action(kUndo)->text(); }

    testsupport::TempDir moved_;
};

}  // namespace

TEST_F(SessionUndoTest, DeletedRowsComeBackInPlaceAndSelected)
{
    for (const char* artist : {"A", "B", "C", "D"})
        addListed(std::string(artist) + ".mp3", artist, "Song");
    EXPECT_FALSE(frame_->action(kUndo)->isEnabled()) << "a list changed outside a step gives nothing to undo";
    select({1, 3});
    prompter().scriptYesNoCancel({platform::Answer::Yes});
    frame_->action(kDeleteRows)->trigger();
    ASSERT_EQ(doc_.GetCount(), 2u);
    EXPECT_EQ(undoText(), "&Rückgängig: Einträge löschen\tStrg+Z");
    EXPECT_EQ(frame_->action(kRedo)->text(), "&Wiederherstellen\tStrg+Y");
    EXPECT_EQ(
        frame_->action(kRedo)->shortcuts(),
        (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));

    frame_->action(kUndo)->trigger();
    ASSERT_EQ(doc_.GetCount(), 4u);
    EXPECT_EQ(doc_.GetEntry(1).m_szArtist, "B");
    EXPECT_EQ(doc_.GetEntry(3).m_szArtist, "D");
    EXPECT_EQ(view_->selectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(frame_->action(kRedo)->text(), "&Wiederherstellen: Einträge löschen\tStrg+Y");
    view_->OnColumnClick(3);
    EXPECT_EQ(undoText(), "&Rückgängig: Sortieren nach Interpret\tStrg+Z");
    EXPECT_FALSE(frame_->action(kRedo)->isEnabled()) << "a new step ends what could be redone";

    frame_->action(kNew)->trigger();
    EXPECT_FALSE(frame_->action(kUndo)->isEnabled()) << "a new list starts a new stack";
}

TEST_F(SessionUndoTest, FileStepsGoBackAndForthByteForByte)
{
    const std::string a = writeSong("band - one.mp3");
    const std::string b = writeSong("band - two.mp3");
    const std::string c = writeSong("band - three.mp3");
    frame_->openDocument(QString::fromStdString(a));
    frame_->openDocument(QString::fromStdString(b));
    frame_->openDocument(QString::fromStdString(c));
    ASSERT_EQ(doc_.GetCount(), 3u);
    std::vector<std::map<std::string, testsupport::Bytes>> states = {files()};
    std::vector<std::vector<std::string>> listed = {names()};
    const auto step = [&](const char* text, const std::function<void(history::ChangeSet&)>& command) {
        {
            // What the window's command does, without its dialogs.
            const SessionStep session(&frame_->session(), QString::fromUtf8(text));
            RecordedChanges changes(doc_, text);
            command(changes.changes());
        }
        states.push_back(files());
        listed.push_back(names());
    };
    step("Automatisch bearbeiten", [&](history::ChangeSet& changes) {
        ASSERT_EQ(autoedit::EditEntry(doc_.GetEntry(0), platform::readRepairSettings(), &changes),
                  autoedit::EditStep::Done);
    });
    step("mp3's verschieben", [&](history::ChangeSet& changes) {
        EXPECT_EQ(document::MoveEntryFiles(doc_, {1}, moved_.path(), &changes).moved.size(), 1u);
    });
    step("Manuell bearbeiten", [&](history::ChangeSet& changes) {
        CLiedkramEntry& entry = doc_.GetEntry(2);
        entry.m_szTitle = "Drei";
        entry.m_nFlags |= ENTRY_TAG_DIRTY;
        EXPECT_NE(autoedit::RewriteFile(entry, platform::readRepairSettings(), &changes),
                  autoedit::RewriteOutcome::Failed);
    });
    for (std::size_t i = 1; i < states.size(); ++i)
        ASSERT_NE(states[i], states[i - 1]) << "step " << i << " changed files";

    for (std::size_t i = states.size() - 1; i-- > 0;) {
        frame_->action(kUndo)->trigger();
        EXPECT_EQ(files(), states[i]) << "after undo back to " << i;
        EXPECT_EQ(names(), listed[i]) << "the entries follow, " << i;
    }
    EXPECT_EQ(undoText(), "&Rückgängig: MP3's hinzufügen\tStrg+Z") << "adding the files was a step too";
    for (std::size_t i = 1; i < states.size(); ++i) {
        frame_->action(kRedo)->trigger();
        EXPECT_EQ(files(), states[i]) << "after redo to " << i;
        EXPECT_EQ(names(), listed[i]);
    }
    EXPECT_TRUE(prompter().messages().empty()) << prompter().messages().front();
    EXPECT_TRUE(frame_->messages()->texts().isEmpty()) << frame_->messages()->texts().join('\n').toStdString();

    // Another program changes the moved file: that step is told and stays.
    const std::string movedFile = doc_.GetEntry(1).GetFullPath();
    testsupport::Bytes changed = testsupport::readFile(movedFile);
    changed.push_back(7);
    moved_.write(fs::path(movedFile).filename().string(), changed);
    frame_->action(kUndo)->trigger();  // the manual edit
    const QString before = undoText();
    const auto kept = files();
    frame_->action(kUndo)->trigger();
    EXPECT_EQ(files(), kept);
    EXPECT_EQ(undoText(), before) << "the stack does not pretend it was undone";
    // Told in the messages panel, as every step's messages are: a step may hold many files.
    EXPECT_TRUE(prompter().messages().empty());
    const QStringList told = frame_->messages()->texts();
    ASSERT_FALSE(told.isEmpty());
    EXPECT_TRUE(told.back().contains(QStringLiteral("' wurde seit \"mp3's verschieben\" geändert.")))
        << told.back().toStdString();
    EXPECT_TRUE(frame_->messages()->isVisible());
}

TEST_F(SessionUndoTest, OlderSetsAreLeftToTheHistoryDialog)
{
    const std::string song = writeSong("band - song.mp3");
    const testsupport::Bytes original = testsupport::readFile(song);
    doc_.OnAddMp3s({song}, platform::readRepairSettings());
    {
        // A change set of an earlier session or another program.
        history::ChangeSet changes(history::dataDirectory(), "fix", true);
        ASSERT_EQ(autoedit::EditEntry(doc_.GetEntry(0), platform::readRepairSettings(), &changes),
                  autoedit::EditStep::Done);
    }
    const std::string renamed = doc_.GetEntry(0).GetFullPath();
    const testsupport::Bytes fixed = testsupport::readFile(renamed);
    EXPECT_FALSE(frame_->action(kUndo)->isEnabled());
    frame_->action(kUndo)->trigger();
    EXPECT_EQ(testsupport::readFile(renamed), fixed) << "Ctrl+Z changes no file the window did not change";

    whenUp<CHistoryDlg>([](CHistoryDlg& dialog) {
        QTableWidget* sets = dialog.sets();
        EXPECT_EQ(sets->rowCount(), 1);
        EXPECT_EQ(sets->item(0, 2)->text(), "fix");
        EXPECT_EQ(sets->item(0, 5)->text(), "nein");
        EXPECT_FALSE(dialog.undoButton()->isEnabled()) << "nothing chosen";
        sets->selectRow(0);
        dialog.undoButton()->click();
        EXPECT_EQ(sets->rowCount(), 2);
        EXPECT_EQ(sets->item(1, 5)->text(), "ja") << "the older set is undone now";
        dialog.reject();
    });
    frame_->action(kHistory)->trigger();
    EXPECT_EQ(dialogsMet(), 1);
    EXPECT_EQ(testsupport::readFile(song), original);
    EXPECT_EQ(doc_.GetEntry(0).GetFullPath(), song) << "the entry follows its file back";
    EXPECT_EQ(undoText(), "&Rückgängig: Rückgängig: fix\tStrg+Z");
    frame_->action(kUndo)->trigger();
    EXPECT_EQ(testsupport::readFile(renamed), fixed) << "the window's undo of the old set is a step of its own";
}

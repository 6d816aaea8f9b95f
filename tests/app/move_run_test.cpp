// "mp3's verschieben" as the user reaches it: the folder dialog, the
// remembered folder, the messages, the progress and undo.

#include "platform/repair_settings.h"
#include "window_fixture.h"

#include "app/command_table.h"
#include "app/messages_dock.h"
#include "app/move_run.h"
#include "app/run_progress_dlg.h"
#include "entry/liedkram_entry.h"
#include "support/mp3_builder.h"

#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>

using apptest::WindowTest;
using namespace commands;

namespace {

namespace fs = std::filesystem;

class MoveRun : public WindowTest {
protected:
    // Songs written to the folder and listed as they load.
    void listSongs(int count)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(writeSong("song " + std::to_string(i) + ".mp3"));
        doc_.OnAddMp3s(paths, platform::readRepairSettings());
        doc_.m_bChanged = false;
    }

    // Chooses the folder in the next folder dialog and notes where it started.
    void chooseFolder(const std::string& folder)
    {
        whenUp<QFileDialog>([this, folder](QFileDialog& dialog) {
            startedIn = dialog.directory().absolutePath();
            dialog.selectFile(QString::fromStdString(folder));
            static_cast<QDialog&>(dialog).accept();
        });
    }

    std::string target() const { return dir_.file("neu"); }

    QString startedIn;
};

}  // namespace

TEST_F(MoveRun, TheChosenFolderTakesTheFilesAndIsRemembered)
{
    listSongs(3);
    fs::create_directory(target());
    select({0, 2});
    chooseFolder(target());
    frame_->action(kMoveMp3s)->trigger();
    EXPECT_EQ(dialogsMet(), 1);
    EXPECT_TRUE(fs::exists(target() + "/song 0.mp3"));
    EXPECT_TRUE(fs::exists(target() + "/song 2.mp3"));
    EXPECT_TRUE(fs::exists(dir_.file("song 1.mp3")));
    EXPECT_EQ(doc_.GetEntry(0).m_szPath, target());
    EXPECT_EQ(doc_.GetEntry(1).m_szPath, dir_.path());
    EXPECT_EQ(view_->model()->index(2, 1).data().toString().toStdString(), target()) << "the row shows it";
    EXPECT_EQ(frame_->windowTitle(), "Untitled * - Liedkram");
    EXPECT_TRUE(prompter().messages().empty());
    EXPECT_EQ(profile().getString("MoveDir", ""), target());

    // The next move starts in the folder chosen last.
    select({1});
    chooseFolder(dir_.path());
    frame_->action(kMoveMp3s)->trigger();
    EXPECT_EQ(startedIn.toStdString(), target());
}

TEST_F(MoveRun, NothingSelectedAsksForNoFolder)
{
    listSongs(1);
    view_->clearSelection();
    chooseFolder(dir_.path());
    frame_->action(kMoveMp3s)->trigger();
    EXPECT_EQ(dialogsMet(), 0);
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Nichts zu verschieben: Erst Titel markieren, dann verschieben!"});
}

TEST_F(MoveRun, FilesThatStayAreToldInTheMessagesPanel)
{
    listSongs(3);
    fs::create_directory(target());
    const std::string taken0 = target() + "/song 0.mp3";
    const std::string taken2 = target() + "/song 2.mp3";
    for (const std::string& taken : {taken0, taken2})
        fs::copy_file(dir_.file("song 1.mp3"), taken);
    select({0, 1, 2});
    chooseFolder(target());
    frame_->action(kMoveMp3s)->trigger();
    EXPECT_TRUE(prompter().messages().empty()) << "no box stops the move";
    MessagesDock& messages = *frame_->messages();
    EXPECT_TRUE(messages.isVisible());
    EXPECT_EQ(messages.texts(),
              (QStringList{QString::fromStdString("'" + taken0 + "' gibt es schon -> '" + dir_.file("song 0.mp3") +
                                                  "' bleibt, wo es ist."),
                           QString::fromStdString("'" + taken2 + "' gibt es schon -> '" + dir_.file("song 2.mp3") +
                                                  "' bleibt, wo es ist.")}));
    EXPECT_EQ(doc_.GetEntry(1).m_szPath, target());
    EXPECT_EQ(doc_.GetEntry(0).m_szPath, dir_.path());

    // A double click on a line selects the row of the file it names.
    emit messages.list()->itemDoubleClicked(messages.list()->item(1));
    EXPECT_EQ(view_->selectedRows(), std::vector<int>{2});
}

TEST_F(MoveRun, AFileThatIsGoneIsLeftWithOneLineNamingIt)
{
    listSongs(3);
    fs::create_directory(target());
    const std::string gone = dir_.file("song 1.mp3");
    fs::remove(gone);
    select({0, 1, 2});
    chooseFolder(target());
    frame_->action(kMoveMp3s)->trigger();

    EXPECT_TRUE(prompter().messages().empty()) << "no box stops the move";
    EXPECT_EQ(frame_->messages()->texts(),
              QStringList{QString::fromStdString("'" + gone + "': Die Datei fehlt; sie wird übersprungen.")});
    EXPECT_EQ(doc_.GetEntry(0).m_szPath, target());
    EXPECT_EQ(doc_.GetEntry(1).m_szPath, dir_.path()) << "the entry stays as it was";
    EXPECT_EQ(doc_.GetEntry(2).m_szPath, target());
    EXPECT_FALSE(fs::exists(target() + "/song 1.mp3"));
}

TEST_F(MoveRun, ManyFilesShowTheirProgress)
{
    listSongs(kMoveProgressFrom);
    fs::create_directory(target());
    view_->selectAll();
    chooseFolder(target());
    int progressShown = 0;
    whenUp<RunProgressDlg>([&](RunProgressDlg&) { ++progressShown; });
    frame_->action(kMoveMp3s)->trigger();
    EXPECT_EQ(progressShown, 1);
    for (int i = 0; i < kMoveProgressFrom; ++i)
        EXPECT_TRUE(fs::exists(target() + "/song " + std::to_string(i) + ".mp3")) << i;
}

TEST_F(MoveRun, UndoPutsTheFilesBackAndTheEntriesFollow)
{
    listSongs(2);
    fs::create_directory(target());
    view_->selectAll();
    chooseFolder(target());
    frame_->action(kMoveMp3s)->trigger();
    ASSERT_EQ(doc_.GetEntry(1).m_szPath, target());
    QMenu* edit = frame_->menuBar()->actions()[1]->menu();
    emit edit->aboutToShow();
    EXPECT_EQ(frame_->action(kUndo)->text(), "&Rückgängig: mp3's verschieben\tStrg+Z");
    frame_->action(kUndo)->trigger();
    EXPECT_TRUE(fs::exists(dir_.file("song 0.mp3")));
    EXPECT_TRUE(fs::exists(dir_.file("song 1.mp3")));
    EXPECT_TRUE(fs::is_empty(target()));
    EXPECT_EQ(doc_.GetEntry(0).m_szPath, dir_.path());
    EXPECT_EQ(doc_.GetEntry(1).m_szPath, dir_.path());
}

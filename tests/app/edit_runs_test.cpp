#include "app/edit_runs.h"

#include "app/manual_edit_dlg.h"
#include "app/progress_dlg.h"
#include "edit_fixture.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"
#include "platform/replacement_file.h"

#include <QApplication>
#include <QTest>

#include <array>
#include <filesystem>
#include <functional>

using namespace edittest;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

const std::array<const char*, 5> kTitles = {"One", "Two", "Three", "Four", "Five"};

std::string questionFor(int song)
{
    return "Umbenennen:\nsong" + std::to_string(song + 1) + ".mp3 ->\nBand-" + kTitles.at(song) + ".mp3";
}

// Steps in front of the prompter a run installs once the run's progress
// dialog is shown, and passes every call on to it: notes the progress
// questions, and lets a test fail one as a file error would or act once it
// is answered. The run puts its own predecessor back when it ends.
class QuestionWatch : public QObject, public platform::Prompter {
public:
    QuestionWatch() { qApp->installEventFilter(this); }
    ~QuestionWatch() override { qApp->removeEventFilter(this); }

    void showMessage(std::string_view text) override { run_->showMessage(text); }
    void showFileMessage(std::string_view path, std::string_view text) override { run_->showFileMessage(path, text); }
    platform::Answer askYesNoCancel(std::string_view text) override { return run_->askYesNoCancel(text); }
    platform::Answer askYesNo(std::string_view text) override { return run_->askYesNo(text); }
    platform::DuplicateChoice askDuplicate(std::string_view text) override { return run_->askDuplicate(text); }
    platform::Answer askProgress(std::string_view text) override
    {
        questions.emplace_back(text);
        if (onQuestion)
            onQuestion(text);
        const platform::Answer answer = run_->askProgress(text);
        if (afterAnswer)
            afterAnswer(answer);
        return answer;
    }

    std::vector<std::string> questions;
    std::function<void(std::string_view)> onQuestion;
    std::function<void(platform::Answer answer)> afterAnswer;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<CProgressDlg*>(watched) && &platform::prompter() != this) {
            run_ = &platform::prompter();
            platform::installPrompter(this);
        }
        return false;
    }

private:
    platform::Prompter* run_ = nullptr;
};

}  // namespace

class EditRunsTest : public EditTest {
protected:
    // Lists song1.mp3 ... songN.mp3 by "Band"; the rename pattern proposes Band-<Title>.mp3.
    void addSongs(int count)
    {
        for (int song = 0; song < count; ++song) {
            addSong("song" + std::to_string(song + 1) + ".mp3", {kTitles.at(song), "Band", "", "", "", -1, 255});
            contents_.push_back(readFile(doc_.GetEntry(song).GetFullPath()));
        }
    }

    bool untouched(int song)
    {
        const CLiedkramEntry& entry = doc_.GetEntry(song);
        return entry.m_szFileName == "song" + std::to_string(song + 1) + ".mp3" && entry.m_nFlags == 0 &&
               readFile(entry.GetFullPath()) == contents_.at(song);
    }

    void runAuto(const std::vector<int>& rows) { runAutoEdit(doc_, rows, &window_); }

    std::vector<Bytes> contents_;
    QuestionWatch watch_;
};

TEST_F(EditRunsTest, WalkStopsAtAbbrechenOnTheSecondOfThree)
{
    addSongs(3);
    QStringList visited;
    ScriptedUser user(waitingEditDialog, {
                                             [&](QDialog& d) {
                                                 visited << d.windowTitle();
                                                 retype(d, CManualEditDlg::IDC_TITLE, "Eins");
                                                 click(d, CManualEditDlg::kSaved);
                                             },
                                             [&](QDialog& d) {
                                                 visited << d.windowTitle();
                                                 click(d, CManualEditDlg::kCancelled);
                                             },
                                         });
    runManualEdit(doc_, {0, 1, 2}, shell_, &window_);

    EXPECT_EQ(user.stepsLeft(), 0u);
    EXPECT_EQ(visited, QStringList({"Manuelles Editieren - [song1.mp3]", "Manuelles Editieren - [song2.mp3]"}))
        << "the second opens without the first one's markers";
    EXPECT_EQ(doc_.GetEntry(0).m_szTitle, "Eins");
    EXPECT_EQ(CLiedkramEntry(doc_.GetEntry(0).GetFullPath(), platform::readRepairSettings()).m_szTitle, "Eins");
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({0}));
    EXPECT_TRUE(doc_.m_bChanged);
    EXPECT_TRUE(untouched(1));
    EXPECT_TRUE(untouched(2));
}

TEST_F(EditRunsTest, SpeichernWithoutChangesEndsLikeNichtSpeichern)
{
    addSongs(2);
    const auto save = [](QDialog& d) { click(d, CManualEditDlg::kSaved); };
    ScriptedUser user(waitingEditDialog, {save, save});
    runManualEdit(doc_, {0, 1}, shell_, &window_);

    EXPECT_EQ(user.stepsLeft(), 0u) << "both entries were shown";
    EXPECT_FALSE(doc_.m_bChanged);
    EXPECT_TRUE(rows_.refreshed.empty());
    EXPECT_TRUE(untouched(0));
    EXPECT_TRUE(untouched(1));
}

TEST_F(EditRunsTest, AFileNameEditedToAbcIsSavedAsAbcMp3)
{
    addSongs(1);
    const std::string old = doc_.GetEntry(0).GetFullPath();
    ScriptedUser user(waitingEditDialog, {[](QDialog& d) {
                          retype(d, CManualEditDlg::IDC_FILENAME, "abc");
                          click(d, CManualEditDlg::kSaved);
                      }});
    runManualEdit(doc_, {0}, shell_, &window_);

    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "abc.mp3");
    EXPECT_TRUE(platform::fileExists(dir_.file("abc.mp3")));
    EXPECT_FALSE(platform::fileExists(old));
    EXPECT_EQ(readFile(dir_.file("abc.mp3")), contents_.at(0)) << "only the name changed";
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({0}));
}

TEST_F(EditRunsTest, AnErrorWhileSavingEndsTheWalkNamingTheFile)
{
    addSongs(2);
    const std::string path = doc_.GetEntry(0).GetFullPath();
    // Something is in the way of the new content; the message it gives is
    // turned into a file error, as a failing disk would raise one.
    std::filesystem::create_directories(platform::ReplacementFile::temporaryPathFor(path) + "/x");
    prompter_.onMessage = [&path](std::string_view text) {
        if (text.rfind("Unable to rewrite song1.mp3", 0) == 0)
            throw platform::FileError(platform::FileCause::DiskFull, path, "write");
    };
    ScriptedUser user(waitingEditDialog, {[](QDialog& d) {
                          retype(d, CManualEditDlg::IDC_TITLE, "Eins");
                          click(d, CManualEditDlg::kSaved);
                      }});
    runManualEdit(doc_, {0, 1}, shell_, &window_);

    EXPECT_EQ(user.stepsLeft(), 0u) << "the second is not shown";
    EXPECT_EQ(prompter_.messages().back(), "Unable to rewrite '" + path + "' cause: 13 (No space left on device)");
    EXPECT_EQ(doc_.GetEntry(0).m_szTitle, "Eins") << "the edit stays in the list";
    EXPECT_EQ(readFile(path), contents_.at(0));
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({0}));
    EXPECT_TRUE(untouched(1));
}

TEST_F(EditRunsTest, SpeichernOfAFileThatIsGoneNamesItAndLeavesItsRowAsItWas)
{
    addSongs(3);
    const std::string path = doc_.GetEntry(0).GetFullPath();
    std::filesystem::remove(path);
    // The second file is another one by now: it grew.
    const std::string grown = doc_.GetEntry(1).GetFullPath();
    Bytes longer = contents_.at(1);
    longer.push_back(0);
    dir_.write("song2.mp3", longer);
    const auto retitle = [](QDialog& d) {
        retype(d, CManualEditDlg::IDC_TITLE, "Neu");
        click(d, CManualEditDlg::kSaved);
    };
    ScriptedUser user(waitingEditDialog, {retitle, retitle, retitle});
    runManualEdit(doc_, {0, 1, 2}, shell_, &window_);

    EXPECT_EQ(user.stepsLeft(), 0u) << "the walk goes on";
    EXPECT_EQ(prompter_.messages(),
              std::vector<std::string>({"Die Datei fehlt; nichts gespeichert.",
                                        "Die Datei hat nicht mehr die Größe der Liste; nichts gespeichert."}));
    EXPECT_EQ(prompter_.filesNamed, std::vector<std::string>({path, grown}));
    EXPECT_EQ(doc_.GetEntry(0).m_szTitle, "One") << "the row keeps its title";
    EXPECT_EQ(doc_.GetEntry(1).m_szTitle, "Two");
    EXPECT_EQ(readFile(grown), longer);
    EXPECT_EQ(doc_.GetEntry(2).m_szTitle, "Neu");
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({2}));
}

TEST_F(EditRunsTest, AnAutoEditRunSkipsAFileThatIsGoneWithOneMessageNamingIt)
{
    addSongs(3);
    const std::string path = doc_.GetEntry(1).GetFullPath();
    std::filesystem::remove(path);
    ScriptedUser user(waitingQuestion, {});
    runAuto({0, 1, 2});

    ASSERT_EQ(prompter_.reviews().size(), 1u);
    ASSERT_EQ(prompter_.reviews()[0].size(), 2u) << "no name proposed for the missing file";
    EXPECT_EQ(prompter_.messages(), std::vector<std::string>({"Die Datei fehlt; sie wird übersprungen."}));
    EXPECT_EQ(prompter_.filesNamed, std::vector<std::string>({path}));
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "Band-One.mp3");
    EXPECT_EQ(doc_.GetEntry(1).m_szFileName, "song2.mp3");
    EXPECT_EQ(doc_.GetEntry(1).m_nFlags, 0u) << "no repair left pending";
    EXPECT_EQ(doc_.GetEntry(2).m_szFileName, "Band-Three.mp3");
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({0, 2}));
}

TEST_F(EditRunsTest, OneRowKeepsItsRenameQuestionInTheProgressDialog)
{
    addSongs(2);
    QStringList steps;
    const auto answer = [&steps](int id) {
        return [&steps, id](QDialog& d) {
            steps << textOf(d, CProgressDlg::IDC_STEP);
            click(d, id);
        };
    };
    ScriptedUser user(waitingQuestion, {answer(CProgressDlg::IDC_CANCEL), answer(CProgressDlg::IDC_YES)});
    runAuto({0});
    EXPECT_TRUE(untouched(0)) << "Abbrechen leaves the entry as it was";
    EXPECT_EQ(doc_.GetEntry(0).m_strNewName, "Band-One.mp3") << "only the proposal stays";
    EXPECT_FALSE(doc_.m_bChanged);
    runAuto({1});

    EXPECT_EQ(user.stepsLeft(), 0u);
    EXPECT_EQ(steps, QStringList({"1/1", "1/1"}));
    EXPECT_EQ(watch_.questions, std::vector<std::string>({questionFor(0), questionFor(1)}));
    EXPECT_TRUE(prompter_.reviews().empty()) << "no preview for one row";
    EXPECT_EQ(doc_.GetEntry(1).m_szFileName, "Band-Two.mp3");
    EXPECT_FALSE(CLiedkramEntry(doc_.GetEntry(1).GetFullPath(), platform::readRepairSettings()).IsCopyright());
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({1}));
    EXPECT_TRUE(progressDialogs().empty());
}

TEST_F(EditRunsTest, FiveRowsAreRenamedAsReviewedAndAskNoQuestion)
{
    addSongs(5);
    // The user unticks the third name and takes the rest.
    prompter_.onRenames = [](std::vector<platform::RenameProposal>& proposals) { proposals.at(2).ticked = false; };
    prompter_.scriptRenames({platform::Answer::Yes});
    QStringList steps;
    watch_.onQuestion = [&steps](std::string_view) {
        steps << textOf(*progressDialogs().at(0), CProgressDlg::IDC_STEP);
    };
    // Any question shown in the progress dialog fails the test.
    ScriptedUser user(waitingQuestion, {});
    runAuto({0, 1, 2, 3, 4});

    ASSERT_EQ(prompter_.reviews().size(), 1u);
    std::vector<std::pair<std::string, std::string>> reviewed;
    for (const auto& proposal : prompter_.reviews()[0])
        reviewed.emplace_back(proposal.oldName, proposal.newName);
    EXPECT_EQ(reviewed, (std::vector<std::pair<std::string, std::string>>{{"song1.mp3", "Band-One.mp3"},
                                                                          {"song2.mp3", "Band-Two.mp3"},
                                                                          {"song3.mp3", "Band-Three.mp3"},
                                                                          {"song4.mp3", "Band-Four.mp3"},
                                                                          {"song5.mp3", "Band-Five.mp3"}}));
    EXPECT_EQ(steps, QStringList({"1/5", "2/5", "3/5", "4/5", "5/5"}));
    for (int song : {0, 1, 3, 4})
        EXPECT_EQ(doc_.GetEntry(song).m_szFileName, std::string("Band-") + kTitles.at(song) + ".mp3");
    EXPECT_EQ(doc_.GetEntry(2).m_szFileName, "song3.mp3") << "unticked";
    EXPECT_EQ(doc_.GetEntry(2).m_strNewName, "Band-Three.mp3") << "the declined proposal stays";
    for (int song = 0; song < 5; ++song) {
        const CLiedkramEntry& entry = doc_.GetEntry(song);
        EXPECT_TRUE(platform::fileExists(entry.GetFullPath()));
        EXPECT_FALSE(CLiedkramEntry(entry.GetFullPath(), platform::readRepairSettings()).IsCopyright())
            << "every file got its repairs";
    }
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({0, 1, 2, 3, 4}));
    EXPECT_TRUE(progressDialogs().empty());
}

TEST_F(EditRunsTest, NichtUmbenennenRepairsWithoutRenamingAndAbbrechenEndsTheRunBeforeItStarts)
{
    addSongs(3);
    bool progressShown = false;
    watch_.onQuestion = [&progressShown](std::string_view) { progressShown = true; };
    prompter_.scriptRenames({platform::Answer::Cancel, platform::Answer::No});
    ScriptedUser user(waitingQuestion, {});
    runAuto({0, 1, 2});

    for (int song = 0; song < 3; ++song)
        EXPECT_TRUE(untouched(song));
    EXPECT_FALSE(progressShown);
    EXPECT_FALSE(doc_.m_bChanged);
    EXPECT_TRUE(rows_.refreshed.empty());
    EXPECT_TRUE(progressDialogs().empty());

    runAuto({0, 1, 2});
    EXPECT_EQ(prompter_.reviews().size(), 2u);
    for (int song = 0; song < 3; ++song) {
        const CLiedkramEntry& entry = doc_.GetEntry(song);
        EXPECT_EQ(entry.m_szFileName, "song" + std::to_string(song + 1) + ".mp3");
        EXPECT_FALSE(CLiedkramEntry(entry.GetFullPath(), platform::readRepairSettings()).IsCopyright())
            << "repaired all the same";
    }
    EXPECT_TRUE(doc_.m_bChanged);
}

TEST_F(EditRunsTest, ANameLackingAFieldIsShownAsKeptAndRowsNamedAsProposedNotAtAll)
{
    addSong("Band-One.mp3", {"One", "Band", "", "", "", -1, 255});
    // Its name gives it no artist either.
    addSong("song2.mp3", {"Two", "", "", "", "", -1, 255}).m_szArtist = "";
    ScriptedUser user(waitingQuestion, {});
    runAuto({0, 1});

    ASSERT_EQ(prompter_.reviews().size(), 1u);
    ASSERT_EQ(prompter_.reviews()[0].size(), 1u) << "the file named as proposed is not shown";
    EXPECT_EQ(prompter_.reviews()[0][0].mark, platform::RenameProposal::Mark::MissingField);
    EXPECT_EQ(prompter_.reviews()[0][0].missing, "$Artist");
    EXPECT_EQ(doc_.GetEntry(1).m_szFileName, "song2.mp3");
    EXPECT_TRUE(watch_.questions.empty());

    seams_.profile.writeString("ID2DatNam", "$Title");
    addSong("Three.mp3", {"Three", "", "", "", "", -1, 255});
    addSong("Four.mp3", {"Four", "", "", "", "", -1, 255});
    runAuto({2, 3});
    EXPECT_EQ(prompter_.reviews().size(), 1u) << "nothing to review";
}

TEST_F(EditRunsTest, AbbrechenBetweenQuestionsStopsAfterTheCurrentEntry)
{
    addSongs(3);
    watch_.afterAnswer = [this](platform::Answer) {
        // Pressed while the second entry is still being rewritten.
        if (watch_.questions.size() == 2)
            click(*progressDialogs().at(0), CProgressDlg::IDC_CANCEL);
    };
    ScriptedUser user(waitingQuestion, {});
    runAuto({0, 1, 2});

    EXPECT_EQ(watch_.questions.size(), 2u);
    EXPECT_EQ(doc_.GetEntry(1).m_szFileName, "Band-Two.mp3") << "the current entry was finished";
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({0, 1}));
    EXPECT_TRUE(untouched(2));
    EXPECT_EQ(doc_.GetEntry(2).m_strNewName, "");
    EXPECT_TRUE(progressDialogs().empty());
}

TEST_F(EditRunsTest, AnErrorStopsTheRunClosesTheDialogAndNamesTheFile)
{
    addSongs(3);
    const std::string second = doc_.GetEntry(1).GetFullPath();
    watch_.onQuestion = [&](std::string_view text) {
        if (text == questionFor(1))
            throw platform::FileError(platform::FileCause::DiskFull, second + ".new", "write");
    };
    ScriptedUser user(waitingQuestion, {});
    runAuto({0, 1, 2});

    EXPECT_EQ(prompter_.reviews().size(), 1u);
    EXPECT_TRUE(progressDialogs().empty());
    EXPECT_EQ(&platform::prompter(), &prompter_);
    EXPECT_EQ(prompter_.messages(),
              std::vector<std::string>({"Unable to rewrite '" + second + "' cause: 13 (No space left on device)"}));
    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "Band-One.mp3");
    EXPECT_TRUE(untouched(1));
    EXPECT_TRUE(untouched(2));
}

TEST_F(EditRunsTest, AFailedRewriteEndsTheRunAndRenamesNothing)
{
    addSongs(3);
    const std::string second = doc_.GetEntry(1).GetFullPath();
    // Something is in the way of the second file's new content.
    std::filesystem::create_directories(platform::ReplacementFile::temporaryPathFor(second) + "/x");
    ScriptedUser user(waitingQuestion, {});
    runAuto({0, 1, 2});

    EXPECT_EQ(doc_.GetEntry(0).m_szFileName, "Band-One.mp3");
    EXPECT_EQ(doc_.GetEntry(1).m_szFileName, "song2.mp3") << "not renamed after the failed rewrite";
    EXPECT_EQ(readFile(second), contents_.at(1));
    ASSERT_EQ(prompter_.messages().size(), 1u) << ::testing::PrintToString(prompter_.messages());
    EXPECT_EQ(prompter_.messages()[0].rfind("Unable to rewrite song2.mp3 cause: ", 0), 0u);
    EXPECT_EQ(rows_.refreshed, std::vector<std::size_t>({0, 1}));
    EXPECT_TRUE(untouched(2));
    EXPECT_TRUE(progressDialogs().empty());
}

TEST_F(EditRunsTest, WithoutSelectionNothingHappens)
{
    addSongs(1);
    runAuto({});
    EXPECT_TRUE(progressDialogs().empty());
    EXPECT_TRUE(watch_.questions.empty());
    EXPECT_FALSE(doc_.m_bChanged);
    EXPECT_TRUE(untouched(0));
}

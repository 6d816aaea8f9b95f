#pragma once

#include "document/liedkram_doc.h"
#include "support/mp3_builder.h"
#include "support/recording_shell.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

class CLiedkramEntry;
class QAbstractButton;
class QDialog;

namespace edittest {

// Plays the user: whenever `waiting` finds a dialog that waits for them, the
// next step acts on it. It polls from a timer, so it acts inside the
// dialog's own event loop. A dialog nobody expected fails the test and is
// closed.
class ScriptedUser {
public:
    using Step = std::function<void(QDialog&)>;
    ScriptedUser(std::function<QDialog*()> waiting, std::vector<Step> steps);

    std::size_t stepsLeft() const { return steps_.size(); }

private:
    void poll();

    std::function<QDialog*()> waiting_;
    std::deque<Step> steps_;
    QTimer timer_;
};

// The manual edit dialog while it is shown modally.
QDialog* waitingEditDialog();
// The progress dialog while it asks a question.
QDialog* waitingQuestion();
// Every progress dialog that exists.
std::vector<QDialog*> progressDialogs();

// A mouse click where the user clicks: on a check box, its indicator.
void click(QAbstractButton* button);
void click(const QDialog& dialog, int id);
// Replaces the text of an edit field as the user does: select all, type.
void retype(const QDialog& dialog, int id, const QString& text);
QString textOf(const QDialog& dialog, int id);

// Scripted answers as the core's tests have them. The hook lets a test fail
// a message as a file error would.
class RunPrompter : public testsupport::ScriptedPrompter {
public:
    void showMessage(std::string_view text) override;
    // Notes the file, then shows the text as the core's doubles do.
    void showFileMessage(std::string_view path, std::string_view text) override;

    std::function<void(std::string_view)> onMessage;
    std::vector<std::string> filesNamed;
};

class RowRecorder : public DocumentObserver {
public:
    void rowsAppended(std::size_t, std::size_t) override {}
    void rowRemoved(std::size_t) override {}
    void rowsReordered() override {}
    void rowRefreshed(std::size_t row) override { refreshed.push_back(row); }
    void listCleared() override {}
    void titleChanged() override {}

    std::vector<std::size_t> refreshed;
};

// A document over MP3 files in a fresh folder, default settings, scripted
// answers and a shown main window standing in for the frame.
class EditTest : public ::testing::Test {
protected:
    EditTest();
    ~EditTest() override;

    // Writes a file of 20 frames with the copyright bit set, then the tag;
    // returns its path.
    std::string writeSong(const std::string& name, const testsupport::Id3v1Fields& tag);
    // Writes the file and lists it.
    CLiedkramEntry& addSong(const std::string& name, const testsupport::Id3v1Fields& tag);

    testsupport::ScopedSeams seams_;
    testsupport::TempDir dir_;
    RunPrompter prompter_;
    testsupport::RecordingShell shell_;
    RowRecorder rows_;
    CLiedkramDoc doc_;
    QWidget window_;

private:
    platform::Prompter* previousPrompter_;
};

}  // namespace edittest

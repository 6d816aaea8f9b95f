#include "cli/progress_line.h"
#include "cli/stderr_prompter.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(ConsoleOutput, ProgressOnlyOnATerminalForMoreThan300FilesAndNeverInsideAMessage)
{
    std::ostringstream pipe;
    cli::ProgressLine quiet(pipe, false);
    quiet.start(5000);
    quiet.update(1);
    EXPECT_EQ(pipe.str(), "");

    std::ostringstream err;
    cli::ProgressLine progress(err, true);
    cli::StderrPrompter prompter(err, &progress);
    progress.start(300);
    progress.update(1);
    EXPECT_EQ(err.str(), "");

    progress.start(1000);
    progress.update(7);
    prompter.showMessage("Can't open 'x' -> file skipped.");
    progress.update(8);
    progress.finish();
    EXPECT_EQ(err.str(), "\r7/1000\r      \rCan't open 'x' -> file skipped.\n\r8/1000\r      \r");
    EXPECT_EQ(prompter.askYesNoCancel("Save?"), platform::Answer::Cancel);
}

TEST(ConsoleOutput, AMessageThatDoesNotNameItsFileGetsThePathInFront)
{
    std::ostringstream err;
    cli::StderrPrompter prompter(err, nullptr);
    platform::Prompter& seam = prompter;
    seam.showFileMessage("/music/a b.mp3", "Cant open mp3 4 rw");
    EXPECT_EQ(err.str(), "'/music/a b.mp3': Cant open mp3 4 rw\n");
}

#include "cli/progress_line.h"
#include "cli/rename_answer.h"
#include "cli/stderr_prompter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr const char* kChoices = "[j]a/[y]es, [n]ein, [a]bbrechen? ";

struct Reply {
    const char* typed;
    platform::Answer answer;
    int timesAsked;
    bool ranOut = false;  // the input ended before an answer
};

}  // namespace

TEST(RenameAnswer, LettersInAnyCaseAnswerAndAnythingElseAsksAgain)
{
    for (const Reply& reply :
         {Reply{"j\n", platform::Answer::Yes, 1}, Reply{"Y\n", platform::Answer::Yes, 1},
          Reply{" n \r\n", platform::Answer::No, 1}, Reply{"A\n", platform::Answer::Cancel, 1},
          Reply{"ja\nyes\n\nx\na", platform::Answer::Cancel, 5}, Reply{"", platform::Answer::No, 1, true},
          Reply{"later\n", platform::Answer::No, 2, true}}) {
        std::istringstream in(reply.typed);
        std::ostringstream err;
        EXPECT_EQ(cli::readRenameAnswer("Umbenennen:\na.mp3 ->\nB.mp3", in, err), reply.answer) << reply.typed;
        std::string expected = "Umbenennen:\na.mp3 ->\nB.mp3\n";
        for (int i = 0; i < reply.timesAsked; ++i)
            expected += kChoices;
        if (reply.ranOut)
            expected += "\n-> nein (no more input)\n";
        EXPECT_EQ(err.str(), expected) << reply.typed;
    }
}

TEST(RenameAnswer, UnreadableInputAnswersNein)
{
    std::istringstream in("j\n");
    in.setstate(std::ios::badbit);
    std::ostringstream err;
    EXPECT_EQ(cli::readRenameAnswer("q", in, err), platform::Answer::No);
}

TEST(RenameAnswer, PrompterAnswersByItsOptionWithoutReadingOrPrinting)
{
    for (const auto& [mode, answer] : {std::pair{cli::RenameAnswer::Yes, platform::Answer::Yes},
                                       std::pair{cli::RenameAnswer::No, platform::Answer::No}}) {
        std::istringstream in("a\n");
        std::ostringstream err;
        cli::StderrPrompter prompter(err, nullptr, mode, &in);
        EXPECT_EQ(prompter.askProgress("Umbenennen:"), answer);
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(in.tellg(), 0);
    }
}

TEST(RenameAnswer, AskingPrompterReadsItsInputAndClearsTheProgressLineFirst)
{
    std::istringstream in("x\na\n");
    std::ostringstream err;
    cli::ProgressLine progress(err, true);
    cli::StderrPrompter prompter(err, &progress, cli::RenameAnswer::Ask, &in);
    progress.start(1000);
    progress.update(3);
    EXPECT_EQ(prompter.askProgress("Umbenennen:"), platform::Answer::Cancel);
    EXPECT_EQ(err.str(), std::string("\r3/1000\r      \rUmbenennen:\n") + kChoices + kChoices);

    std::ostringstream quiet;
    cli::StderrPrompter withoutInput(quiet);
    EXPECT_EQ(withoutInput.askProgress("Umbenennen:"), platform::Answer::No);
    EXPECT_EQ(quiet.str(), std::string("Umbenennen:\n") + kChoices + "\n-> nein (no more input)\n");
}

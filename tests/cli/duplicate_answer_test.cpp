#include "cli/duplicate_answer.h"
#include "cli/stderr_prompter.h"

#include <gtest/gtest.h>

#include <sstream>

using cli::DuplicateAnswer;

namespace {

constexpr const char* kChoices = "[1] add, [2] replace, [3] skip, [4] add-all, [5] replace-all, [6] cancel? ";

int timesAsked(const std::string& err)
{
    int count = 0;
    for (auto at = err.find(kChoices); at != std::string::npos; at = err.find(kChoices, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(DuplicateAnswer, OptionWordsAreExact)
{
    EXPECT_EQ(cli::duplicateAnswerNamed("ask"), DuplicateAnswer::Ask);
    EXPECT_EQ(cli::duplicateAnswerNamed("replace-all"), DuplicateAnswer::ReplaceAll);
    for (const char* other : {"", "Skip", "3", "addall", "add_all", " add", "cancel "})
        EXPECT_FALSE(cli::duplicateAnswerNamed(other).has_value()) << other;
}

TEST(DuplicateAnswer, TypedAnswersAreWordsInAnyCaseOrNumbers)
{
    EXPECT_EQ(cli::parseTypedDuplicateAnswer("1"), DuplicateAnswer::Add);
    EXPECT_EQ(cli::parseTypedDuplicateAnswer("6"), DuplicateAnswer::Cancel);
    EXPECT_EQ(cli::parseTypedDuplicateAnswer("REPLACE"), DuplicateAnswer::Replace);
    EXPECT_EQ(cli::parseTypedDuplicateAnswer("Add-All"), DuplicateAnswer::AddAll);
    for (const char* other : {"", "0", "7", "12", "ask", "ja", "add all"})
        EXPECT_FALSE(cli::parseTypedDuplicateAnswer(other).has_value()) << other;
    // The numbers are the answers' as the question lists them.
    EXPECT_EQ(cli::choiceOf(*cli::parseTypedDuplicateAnswer("3")), platform::DuplicateChoice::Skip);
    EXPECT_EQ(cli::choiceOf(*cli::parseTypedDuplicateAnswer("5")), platform::DuplicateChoice::ReplaceAll);
}

TEST(DuplicateAnswer, AsksUntilAnAnswerAndTheEndOfInputSkips)
{
    std::istringstream in("nein\n\n  Replace-all \r\nadd\n");
    std::ostringstream err;
    EXPECT_EQ(cli::readDuplicateAnswer("Doppelt?", in, err), platform::DuplicateChoice::ReplaceAll);
    EXPECT_EQ(err.str(), "Doppelt?\n" + std::string(kChoices) + kChoices + kChoices);

    std::istringstream ended("what\n");
    std::ostringstream told;
    EXPECT_EQ(cli::readDuplicateAnswer("Doppelt?", ended, told), platform::DuplicateChoice::Skip);
    EXPECT_EQ(timesAsked(told.str()), 2);
    EXPECT_NE(told.str().find("-> skip (no more input)"), std::string::npos);
}

TEST(DuplicateAnswer, ThePrompterAnswersAsToldOrAsksOnItsInput)
{
    std::ostringstream err;
    std::istringstream in("5\n");
    cli::StderrPrompter fixed(err, nullptr, cli::RenameAnswer::Ask, &in, DuplicateAnswer::Cancel);
    EXPECT_EQ(fixed.askDuplicate("Doppelt?"), platform::DuplicateChoice::Cancel);
    EXPECT_EQ(err.str(), "");

    cli::StderrPrompter asking(err, nullptr, cli::RenameAnswer::Ask, &in);
    EXPECT_EQ(asking.askDuplicate("Doppelt?"), platform::DuplicateChoice::ReplaceAll);
    EXPECT_EQ(asking.askDuplicate("Noch einmal?"), platform::DuplicateChoice::Skip);  // the input has ended
    EXPECT_EQ(err.str().find("Doppelt?\n"), 0u);
    EXPECT_NE(err.str().find("Noch einmal?\n"), std::string::npos);

    std::ostringstream noInput;
    cli::StderrPrompter without(noInput);
    EXPECT_EQ(without.askDuplicate("Doppelt?"), platform::DuplicateChoice::Skip);
}

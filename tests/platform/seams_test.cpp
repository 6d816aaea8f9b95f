#include "platform/profile.h"
#include "platform/prompter.h"
#include "support/seam_fixture.h"

#include <gtest/gtest.h>

using testsupport::ScriptedPrompter;

TEST(MemoryProfile, MissingValuesGiveTheDefault)
{
    testsupport::MemoryProfile profile;
    EXPECT_EQ(profile.getInt("ChkAll", 1), 1);
    EXPECT_EQ(profile.getString("ID2DatNam", "$Artist-$Title"), "$Artist-$Title");
    profile.writeInt("ChkAll", 0);
    profile.writeString("ID2DatNam", "");
    EXPECT_EQ(profile.getInt("ChkAll", 1), 0);
    EXPECT_EQ(profile.getString("ID2DatNam", "$Artist-$Title"), "");
    EXPECT_EQ(profile.getInt("ID2DatNam", 7), 7);
}

TEST(ScriptedPrompter, AnswersInOrderThenFallsBackAndRecordsEverything)
{
    ScriptedPrompter prompter;
    prompter.scriptYesNoCancel({platform::Answer::Yes, platform::Answer::Cancel});
    prompter.scriptDuplicate({platform::DuplicateChoice::Skip});
    prompter.setDuplicateFallback(platform::DuplicateChoice::Cancel);

    prompter.showMessage("first");
    EXPECT_EQ(prompter.askYesNoCancel("q1"), platform::Answer::Yes);
    EXPECT_EQ(prompter.askYesNoCancel("q2"), platform::Answer::Cancel);
    EXPECT_EQ(prompter.askYesNoCancel("q3"), platform::Answer::No);
    EXPECT_EQ(prompter.askDuplicate("d1"), platform::DuplicateChoice::Skip);
    EXPECT_EQ(prompter.askDuplicate("d2"), platform::DuplicateChoice::Cancel);
    EXPECT_EQ(prompter.askProgress("p"), platform::Answer::Yes);

    ASSERT_EQ(prompter.prompts().size(), 7u);
    EXPECT_EQ(prompter.prompts()[4].kind, ScriptedPrompter::Kind::Duplicate);
    EXPECT_EQ(prompter.prompts()[6].text, "p");
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{"first"});
}

TEST(ScopedSeams, InstallsAndPutsBackThePreviousSeams)
{
    testsupport::ScopedSeams outer;
    outer.profile.writeInt("DelFront", 0);
    {
        testsupport::ScopedSeams inner;
        EXPECT_EQ(platform::profile().getInt("DelFront", 1), 1);
        platform::prompter().showMessage("inner");
        EXPECT_EQ(inner.prompter.messages().size(), 1u);
    }
    EXPECT_EQ(platform::profile().getInt("DelFront", 1), 0);
    EXPECT_EQ(&platform::prompter(), &outer.prompter);
    EXPECT_TRUE(outer.prompter.messages().empty());
}

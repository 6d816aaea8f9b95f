#include "autoedit/auto_edit.h"
#include "autoedit/rewrite_file.h"
#include "entry/liedkram_entry.h"
#include "old_rip.h"
#include "platform/file.h"
#include "platform/repair_settings.h"
#include "platform/replacement_file.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

using clitest::OldRip;
using testsupport::readFile;

namespace {

// What fix does to a file that changes under it between loading and rewriting.
class RewriteUnderFoot : public testsupport::SeamTest {
protected:
    void SetUp() override
    {
        // The repairs these cases look at are those of the audio and the
        // ID3v1 tag; the ID3v2 tag a repair writes has cases of its own.
        profile().writeInt("SetID3V2", 0);
        dir_.write(beatles_.name, beatles_.bytes);
        dir_.write(nena_.name, nena_.bytes);
    }

    // Loaded and marked for every repair, as fix does before rewriting.
    CLiedkramEntry markedEntry(platform::Answer renameAnswer)
    {
        CLiedkramEntry entry(dir_.file(beatles_.name), platform::readRepairSettings());
        prompter().scriptProgress({renameAnswer});
        EXPECT_EQ(autoedit::MarkRepairs(entry, platform::readRepairSettings()), autoedit::EditStep::Done);
        EXPECT_EQ(entry.m_nFlags & ENTRY_REWRITE_MASK, ENTRY_REWRITE_MASK);
        prompter().clear();
        return entry;
    }

    std::set<std::string> names() const
    {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            found.insert(entry.path().filename().string());
        return found;
    }

    const OldRip beatles_ = clitest::beatlesRip();
    const OldRip nena_ = clitest::nenaRip();
    testsupport::TempDir dir_;
};

TEST_F(RewriteUnderFoot, VanishedFileIsReportedAndNothingElseChanges)
{
    CLiedkramEntry entry = markedEntry(platform::Answer::Yes);
    const CLiedkramEntry before = entry;
    std::filesystem::remove(dir_.file(beatles_.name));

    autoedit::RewriteFile(entry, platform::readRepairSettings());

    EXPECT_EQ(prompter().messages(),
              (std::vector<std::string>{"Cant open mp3 4 rw", "Unable to rename " + beatles_.name +
                                                                  " cause: 2 (No such file or directory)"}));
    EXPECT_EQ(entry.m_nFlags, before.m_nFlags);
    EXPECT_EQ(entry.m_szFileName.str(), beatles_.name);
    EXPECT_EQ(entry.m_nFileSize, before.m_nFileSize);
    EXPECT_EQ(names(), std::set<std::string>{nena_.name});
    EXPECT_TRUE(readFile(dir_.file(nena_.name)) == nena_.bytes);
}

// A file replaced by a shorter or a longer one: the offsets taken at loading
// would cut the wrong bytes, so the file is left as it now is.
TEST_F(RewriteUnderFoot, FileOfAnotherSizeIsLeftAsItNowIs)
{
    const testsupport::Bytes shorter(beatles_.bytes.begin(), beatles_.bytes.end() - 1000);
    testsupport::Bytes longer = beatles_.bytes;
    testsupport::append(longer, testsupport::musicBytes(10));
    for (const testsupport::Bytes& replaced : {shorter, longer}) {
        CLiedkramEntry entry = markedEntry(platform::Answer::No);
        const CLiedkramEntry before = entry;
        dir_.write(beatles_.name, replaced);

        autoedit::RewriteFile(entry, platform::readRepairSettings());

        EXPECT_EQ(prompter().messages(),
                  std::vector<std::string>{"Unable to rewrite " + beatles_.name +
                                           " (the file has changed since it was listed) -> file unchanged."});
        EXPECT_EQ(entry.m_nFlags, before.m_nFlags);
        EXPECT_EQ(entry.m_nAudioStart, before.m_nAudioStart);
        EXPECT_EQ(entry.m_nAudioEnd, before.m_nAudioEnd);
        EXPECT_EQ(entry.m_nFileSize, before.m_nFileSize);
        EXPECT_EQ(names(), (std::set<std::string>{beatles_.name, nena_.name}));
        EXPECT_TRUE(readFile(dir_.file(beatles_.name)) == replaced);
        EXPECT_TRUE(readFile(dir_.file(nena_.name)) == nena_.bytes);
        dir_.write(beatles_.name, beatles_.bytes);
        prompter().clear();
    }
}

// A temporary file left behind by a rewrite that was killed is cleared away
// by the next rewrite of that file.
TEST_F(RewriteUnderFoot, LeftoverTemporaryFileIsRemovedByTheNextRewrite)
{
    const std::string leftover = platform::ReplacementFile::temporaryPathFor(dir_.file(beatles_.name));
    dir_.write(std::filesystem::path(leftover).filename().string(), testsupport::musicBytes(100));
    CLiedkramEntry entry = markedEntry(platform::Answer::No);

    autoedit::RewriteFile(entry, platform::readRepairSettings());

    EXPECT_EQ(prompter().messages(), std::vector<std::string>{});
    EXPECT_EQ(names(), (std::set<std::string>{beatles_.name, nena_.name}));
    EXPECT_TRUE(readFile(dir_.file(beatles_.name)) == beatles_.repaired);
}

}  // namespace

TEST_F(RewriteUnderFoot, AFileThatWouldReach2GiBIsLeftAsItIs)
{
    // Audio, as far as the entry knows, up to just below 2 GiB (sparse
    // zeros): the new tag behind it would take the file over.
    CLiedkramEntry entry = markedEntry(platform::Answer::No);
    entry.m_nFlags &= ~(ENTRY_CUT_BACK | ENTRY_CUT_FRONT);
    const auto size = static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max()) - 64;
    std::filesystem::resize_file(dir_.file(beatles_.name), size);
    entry.m_nFileSize = static_cast<int>(size);
    entry.m_nAudioEnd = entry.m_nFileSize;
    entry.m_nModifiedNs = platform::findFileStamp(dir_.file(beatles_.name))->modifiedNs;

    autoedit::RewriteFile(entry, platform::readRepairSettings());

    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Unable to rewrite " + beatles_.name +
                                                              " (it would be 2 GiB or larger) -> file unchanged."});
    EXPECT_EQ(std::filesystem::file_size(dir_.file(beatles_.name)), size);
    EXPECT_EQ(names(), (std::set<std::string>{beatles_.name, nena_.name}));
}

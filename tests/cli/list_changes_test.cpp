#include "cli/list_changes.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace testsupport;

namespace {

class ListChanges : public SeamTest {
protected:
    std::string song(const std::string& name, const std::string& artist, const std::string& title)
    {
        Bytes bytes = frames({}, 20);
        append(bytes, id3v1Tag({title, artist, "", "2001", "", -1, 0}));
        return dir_.write(name, bytes);
    }

    TempDir dir_;
    CLiedkramDoc doc_;
    std::ostringstream out_;
};

}  // namespace

TEST_F(ListChanges, AddedReplacedAndDeclinedEntriesAreNamedInTheirOrder)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Band", "Song");
    const auto c = song("c.mp3", "Band", "Song");
    const auto d = song("d.mp3", "Other", "Tune");
    doc_.OnAddMp3s({a}, platform::readRepairSettings());
    {
        cli::ListChangeRecorder recorder(doc_, out_, "replaced");
        prompter().scriptDuplicate({platform::DuplicateChoice::Replace, platform::DuplicateChoice::Skip});
        EXPECT_TRUE(doc_.OnAddMp3s({b, c, d}, platform::readRepairSettings()).allDone());
    }
    EXPECT_EQ(out_.str(), "replaced " + a + "\nadded " + b + "\ndeclined " + c + "\nadded " + d + "\n");
    ASSERT_EQ(doc_.GetCount(), 2u);
    EXPECT_EQ(doc_.GetEntry(0).GetFullPath(), b);
}

TEST_F(ListChanges, ACancelIsNamedAndEndsTheRun)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Band", "Song");
    const auto c = song("c.mp3", "Other", "Tune");
    cli::ListChangeRecorder recorder(doc_, out_, "replaced");
    prompter().scriptDuplicate({platform::DuplicateChoice::Cancel});
    doc_.OnAddMp3s({a, b, c}, platform::readRepairSettings());
    EXPECT_EQ(out_.str(), "added " + a + "\ncancelled " + b + "\n");
    EXPECT_TRUE(std::filesystem::exists(b + ".cop"));
}

TEST_F(ListChanges, RemovedRowsAreNamedAfterTheListWasReordered)
{
    const auto z = song("z.mp3", "Zappa", "Song");
    const auto a = song("a.mp3", "Abba", "Tune");
    doc_.OnAddMp3s({z, a}, platform::readRepairSettings());
    cli::ListChangeRecorder recorder(doc_, out_, "removed");
    doc_.SortByColumn(Column::File);
    EXPECT_EQ(out_.str(), "");
    doc_.OnSubtractMp3s({z}, platform::readRepairSettings());
    EXPECT_EQ(out_.str(), "removed " + z + "\n");
    doc_.OnSubtractMp3s({a}, platform::readRepairSettings());
    EXPECT_EQ(out_.str(), "removed " + z + "\nremoved " + a + "\n");
}

TEST_F(ListChanges, ANameHoldingTheArtistLineStartIsNamedWholeAndEscaped)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto odd = song("odd\n\t\"name.mp3", "Band", "Song");
    doc_.OnAddMp3s({a}, platform::readRepairSettings());
    cli::ListChangeRecorder recorder(doc_, out_, "replaced");
    prompter().scriptDuplicate({platform::DuplicateChoice::Skip});
    doc_.OnAddMp3s({odd}, platform::readRepairSettings());
    // The name holds the very characters that start the artist line.
    EXPECT_EQ(out_.str(), "declined " + dir_.path() + "/odd\\n\\t\"name.mp3\n");
}

TEST_F(ListChanges, OnceGoneTheRecorderHearsNoMore)
{
    {
        cli::ListChangeRecorder recorder(doc_, out_, "replaced");
        EXPECT_EQ(doc_.OnAddMp3s({dir_.file("gone.mp3")}, platform::readRepairSettings()).skipped, 1u);
    }
    ASSERT_EQ(prompter().messages().size(), 1u);
    EXPECT_NE(prompter().messages()[0].find("gone.mp3"), std::string::npos);

    // Once it is gone, the document no longer reports to it.
    doc_.OnAddMp3s({song("a.mp3", "Band", "Song")}, platform::readRepairSettings());
    EXPECT_EQ(out_.str(), "");
}

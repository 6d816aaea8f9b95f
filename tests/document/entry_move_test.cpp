#include "document/entry_move.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "history/change_set.h"
#include "history/journal.h"
#include "history/undo.h"
#include "platform/file.h"
#include "platform/replacement_file.h"
#include "support/mp3_builder.h"
#include "support/other_file_system.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using document::MoveEntryFiles;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

class EntryMove : public testsupport::SeamTest {
protected:
    // A file of its own content in the folder, listed.
    void list(const testsupport::TempDir& folder, const std::string& name)
    {
        folder.write(name, contentOf(name));
        auto entry = std::make_unique<CLiedkramEntry>();
        entry->m_szFileName = name;
        entry->m_szPath = folder.path();
        entry->m_nModifiedNs = platform::fileStamp(folder.file(name)).modifiedNs;
        entry->m_nFileSize = static_cast<int>(contentOf(name).size());
        document::DuplicatePolicy answer;
        doc_.AddEntry(std::move(entry), false, answer);
        doc_.m_bChanged = false;
    }

    // Frames, with bytes of the name's own behind them.
    static Bytes contentOf(const std::string& name)
    {
        Bytes content = testsupport::frames({}, 8);
        testsupport::append(content, testsupport::musicBytes(3000 + name.size(), static_cast<std::uint32_t>(name[0])));
        return content;
    }

    document::MoveReport move(const std::vector<std::size_t>& rows, const std::string& folder)
    {
        history::ChangeSet changes(data_, "mp3's verschieben", true);
        return MoveEntryFiles(doc_, rows, folder, &changes);
    }

    history::UndoResult undoLatest()
    {
        const auto sets = history::readJournal(data_);
        EXPECT_FALSE(sets.empty());
        history::ChangeSet undo(data_, "undo", true);
        return history::undoChangeSet(data_, sets.back(), undo);
    }

    std::string folderOf(std::size_t row) { return doc_.GetEntry(row).m_szPath.str(); }

    CLiedkramDoc doc_;
    testsupport::TempDir music_;
    testsupport::TempDir target_;
    testsupport::TempDir dataHome_;
    const std::string data_ = dataHome_.file("liedkram");
};

}  // namespace

TEST_F(EntryMove, TheFilesGoAndTheEntriesFollowAsOneChangeSet)
{
    list(music_, "a.mp3");
    list(music_, "b.mp3");
    list(music_, "c.mp3");
    const auto report = move({0, 2}, target_.path());
    EXPECT_TRUE(report.allDone());
    ASSERT_EQ(report.moved.size(), 2u);
    EXPECT_EQ(report.moved[0].from, music_.file("a.mp3"));
    EXPECT_EQ(report.moved[0].to, target_.file("a.mp3"));
    EXPECT_EQ(readFile(target_.file("a.mp3")), contentOf("a.mp3"));
    EXPECT_EQ(readFile(target_.file("c.mp3")), contentOf("c.mp3"));
    EXPECT_FALSE(fs::exists(music_.file("a.mp3")));
    EXPECT_TRUE(fs::exists(music_.file("b.mp3")));
    EXPECT_EQ(folderOf(0), target_.path());
    EXPECT_EQ(folderOf(1), music_.path());
    EXPECT_EQ(folderOf(2), target_.path());
    EXPECT_TRUE(doc_.m_bChanged);
    EXPECT_TRUE(prompter().messages().empty());
    const auto sets = history::readJournal(data_);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].command, "mp3's verschieben");
    EXPECT_EQ(sets[0].changes.size(), 2u);
}

TEST_F(EntryMove, ANameTakenInTheFolderIsToldAndTheFileStays)
{
    list(music_, "a.mp3");
    list(music_, "b.mp3");
    list(music_, "c.mp3");
    const std::string taken = target_.write("b.mp3", {1, 2, 3});
    const auto report = move({0, 1, 2}, target_.path());
    EXPECT_EQ(report.moved.size(), 2u);
    EXPECT_EQ(report.leftAlone, 1u);
    EXPECT_FALSE(report.allDone());
    EXPECT_EQ(readFile(taken), (Bytes{1, 2, 3}));
    EXPECT_EQ(readFile(music_.file("b.mp3")), contentOf("b.mp3"));
    EXPECT_EQ(folderOf(1), music_.path());
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"'" + taken + "' gibt es schon -> '" +
                                                              music_.file("b.mp3") + "' bleibt, wo es ist."});
}

TEST_F(EntryMove, AFileThatIsGoneIsToldAndTheOthersGo)
{
    list(music_, "a.mp3");
    list(music_, "b.mp3");
    fs::remove(music_.file("a.mp3"));
    const auto report = move({0, 1}, target_.path());
    EXPECT_EQ(report.leftAlone, 1u);
    ASSERT_EQ(report.moved.size(), 1u);
    EXPECT_EQ(report.moved[0].to, target_.file("b.mp3"));
    EXPECT_EQ(folderOf(0), music_.path());
    EXPECT_FALSE(fs::exists(target_.file("a.mp3")));
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"'" + music_.file("a.mp3") + "' ist nicht mehr da -> nicht verschoben."});
}

TEST_F(EntryMove, NothingGoesIntoWhatIsNoFolder)
{
    list(music_, "a.mp3");
    const std::string file = target_.write("kein Ordner", {1});
    for (const std::string& folder : {file, target_.file("fehlt")}) {
        prompter().clear();
        const auto report = move({0}, folder);
        EXPECT_TRUE(report.moved.empty());
        EXPECT_EQ(report.leftAlone, 1u);
        EXPECT_EQ(prompter().messages(),
                  std::vector<std::string>{"'" + folder + "' ist kein Verzeichnis -> nichts verschoben."});
    }
    EXPECT_EQ(readFile(music_.file("a.mp3")), contentOf("a.mp3"));
    EXPECT_FALSE(doc_.m_bChanged);
    EXPECT_TRUE(history::readJournal(data_).empty());
}

TEST_F(EntryMove, AFileInTheFolderAlreadyStaysAsItIs)
{
    list(target_, "a.mp3");
    const auto stamp = platform::fileStamp(target_.file("a.mp3"));
    const auto report = move({0}, target_.path() + "/");
    EXPECT_TRUE(report.allDone());
    EXPECT_TRUE(report.moved.empty());
    EXPECT_EQ(platform::fileStamp(target_.file("a.mp3")), stamp);
    EXPECT_FALSE(doc_.m_bChanged);
    EXPECT_TRUE(prompter().messages().empty());
}

TEST_F(EntryMove, TwoRowsOfOneFileBothFollowIt)
{
    list(music_, "a.mp3");
    auto twin = std::make_unique<CLiedkramEntry>(doc_.GetEntry(0));
    document::DuplicatePolicy answer;
    doc_.AddEntry(std::move(twin), false, answer);
    const auto report = move({0, 1}, target_.path());
    EXPECT_TRUE(report.allDone());
    EXPECT_EQ(report.moved.size(), 1u);
    EXPECT_EQ(folderOf(0), target_.path());
    EXPECT_EQ(folderOf(1), target_.path());
}

TEST_F(EntryMove, AcrossFileSystemsTheFilesAreCopiedWholeAndUndoBringsThemBack)
{
    testsupport::OtherFileSystem other;
    if (!other.available())
        GTEST_SKIP() << "no other file system: " << other.why();
    list(music_, "a.mp3");
    list(music_, "b.mp3");
    const auto stamp = platform::fileStamp(music_.file("a.mp3"));
    const auto report = move({0, 1}, other.path());
    EXPECT_TRUE(report.allDone());
    ASSERT_EQ(report.moved.size(), 2u);
    EXPECT_FALSE(fs::exists(music_.file("a.mp3")));
    EXPECT_EQ(readFile(other.file("a.mp3")), contentOf("a.mp3"));
    EXPECT_EQ(readFile(other.file("b.mp3")), contentOf("b.mp3"));
    EXPECT_EQ(std::distance(fs::directory_iterator(other.path()), fs::directory_iterator()), 2)
        << "no temporary copy is left";
    EXPECT_EQ(folderOf(0), other.path());
    EXPECT_EQ(doc_.GetEntry(0).m_nModifiedNs, stamp.modifiedNs) << "the copy keeps the time";

    const auto result = undoLatest();
    EXPECT_EQ(result.leftAlone, 0u);
    EXPECT_EQ(readFile(music_.file("a.mp3")), contentOf("a.mp3"));
    EXPECT_EQ(readFile(music_.file("b.mp3")), contentOf("b.mp3"));
    EXPECT_TRUE(fs::is_empty(other.path()));
}

TEST_F(EntryMove, TheProgressCanStopTheRun)
{
    list(music_, "a.mp3");
    list(music_, "b.mp3");
    list(music_, "c.mp3");
    history::ChangeSet changes(data_, "mp3's verschieben", true);
    std::vector<std::size_t> told;
    const auto report = MoveEntryFiles(doc_, {0, 1, 2}, target_.path(), &changes, [&](std::size_t done, std::size_t) {
        told.push_back(done);
        return done < 2;
    });
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(report.moved.size(), 2u);
    EXPECT_EQ(told, (std::vector<std::size_t>{1, 2}));
    EXPECT_TRUE(fs::exists(music_.file("c.mp3")));
}

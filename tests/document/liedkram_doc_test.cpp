#include "document/liedkram_doc.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace testsupport;
using testsupport::ScriptedPrompter;

namespace {

std::unique_ptr<CLiedkramEntry> listed(const std::string& name, const std::string& artist, const std::string& title)
{
    auto entry = std::make_unique<CLiedkramEntry>();
    entry->m_szFileName = name;
    entry->m_szPath = "/music";
    entry->m_szArtist = artist;
    entry->m_szTitle = title;
    entry->m_dwHeader = 0x4490FBFF;
    return entry;
}

class RecordingObserver : public DocumentObserver {
public:
    void rowsAppended(std::size_t first, std::size_t count) override
    {
        log += "+" + std::to_string(first) + "x" + std::to_string(count);
    }
    void rowRemoved(std::size_t row) override { log += "-" + std::to_string(row); }
    void rowsReordered() override { log += "~"; }
    void rowRefreshed(std::size_t row) override { log += "r" + std::to_string(row); }
    void listCleared() override { log += "0"; }
    void titleChanged() override { log += "t"; }
    std::string log;
};

}  // namespace

class DocumentTest : public SeamTest {
protected:
    void fill(std::initializer_list<const char*> artists)
    {
        document::DuplicatePolicy answer;
        for (const char* artist : artists)
            doc_.AddEntry(listed(std::string(artist) + ".mp3", artist, "Song"), false, answer);
    }

    std::vector<std::string> artists() const
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < doc_.GetCount(); ++i)
            names.push_back(doc_.GetEntry(i).m_szArtist.str());
        return names;
    }

    TempDir dir_;
    CLiedkramDoc doc_;
};

TEST_F(DocumentTest, AnEmptyListIsFourZeroBytes)
{
    const auto path = dir_.file("empty.m3l");
    ASSERT_TRUE(doc_.OnSaveDocument(path));
    EXPECT_EQ(readFile(path), (Bytes{0, 0, 0, 0}));
    EXPECT_TRUE(doc_.OnOpenDocument(path, platform::readRepairSettings()));
    EXPECT_EQ(doc_.GetCount(), 0u);
    EXPECT_EQ(doc_.GetTitle(), "empty.m3l");

    dir_.write("zero.m3l", {});
    EXPECT_TRUE(doc_.OnOpenDocument(dir_.file("zero.m3l"), platform::readRepairSettings()));
    EXPECT_EQ(doc_.GetCount(), 0u);
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(DocumentTest, SavedOrderIsTheSortedOrder)
{
    fill({"Zappa", "The Beatles", "Abba"});
    doc_.m_bChanged = false;
    doc_.SortByColumn(Column::Artist);
    EXPECT_EQ(artists(), (std::vector<std::string>{"Abba", "The Beatles", "Zappa"}));
    EXPECT_FALSE(doc_.m_bChanged) << "sorting is no change";
    const auto path = dir_.file("sorted.m3l");
    ASSERT_TRUE(doc_.OnSaveDocument(path));

    CLiedkramDoc other;
    ASSERT_TRUE(other.OnOpenDocument(path, platform::readRepairSettings()));
    ASSERT_EQ(other.GetCount(), 3u);
    EXPECT_EQ(other.GetEntry(1).m_szArtist, "The Beatles");
    EXPECT_EQ(other.GetEntry(2).m_szFileName, "Zappa.mp3");
}

TEST_F(DocumentTest, AReversedSortIsTheExactReverseOfTheSortedOrder)
{
    // Names that sort alike keep an order of their own, which reverses too.
    fill({"Zappa", "abba", "The Beatles", "Abba", "ABBA"});
    doc_.SortByColumn(Column::Artist);
    std::vector<std::string> ascending = artists();
    doc_.SortByColumn(Column::Artist, true);
    std::reverse(ascending.begin(), ascending.end());
    EXPECT_EQ(artists(), ascending);
    EXPECT_EQ(artists().front(), "Zappa");
}

TEST_F(DocumentTest, ADamagedListNeverReplacesTheListOnShow)
{
    fill({"A", "B", "C"});
    // Where each record ends, from lists of one and two of them.
    std::vector<std::size_t> recordEnds;
    for (std::size_t count = 1; count <= 3; ++count) {
        CLiedkramDoc part;
        document::DuplicatePolicy answer;
        for (std::size_t i = 0; i < count; ++i)
            part.AddEntry(std::make_unique<CLiedkramEntry>(doc_.GetEntry(i)), false, answer);
        entry::ArchiveWriter writer;
        part.Serialize(writer);
        recordEnds.push_back(writer.bytes().size());
    }
    entry::ArchiveWriter writer;
    doc_.Serialize(writer);
    const Bytes full = writer.bytes();

    CLiedkramDoc reader;
    document::DuplicatePolicy answer;
    reader.AddEntry(listed("before.mp3", "Before", "Song"), false, answer);
    reader.SetChanged();
    const auto readerUnchanged = [&](const std::string& context) {
        ASSERT_EQ(reader.GetCount(), 1u) << context;
        EXPECT_EQ(reader.GetEntry(0).m_szFileName, "before.mp3") << context;
        EXPECT_EQ(reader.GetTitle(), "Untitled *") << context;
    };
    for (std::size_t cut = 1; cut < full.size(); ++cut) {
        const std::string context = "cut at " + std::to_string(cut);
        prompter().clear();
        // Nein to the save question of the changed list, Nein to the readable rest.
        prompter().scriptYesNoCancel({platform::Answer::No, platform::Answer::No});
        const auto path = dir_.write("cut.m3l", Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_FALSE(reader.OnOpenDocument(path, platform::readRepairSettings())) << context;
        const auto readable = static_cast<std::size_t>(
            std::count_if(recordEnds.begin(), recordEnds.end(), [&](std::size_t end) { return end <= cut; }));
        ASSERT_EQ(prompter().prompts().size(), 2u) << context;
        if (readable == 0)
            EXPECT_EQ(prompter().prompts()[1].text, "Unexpected file format.") << context;
        else
            EXPECT_EQ(prompter().prompts()[1].text, "'" + path +
                                                        "' ist besch\xC3\xA4"
                                                        "digt: " +
                                                        std::to_string(readable) +
                                                        " von 3 Eintr\xC3\xA4gen lesbar. Die lesbaren \xC3\xB6"
                                                        "ffnen?")
                << context;
        readerUnchanged(context);
    }

    // Ja takes the readable records as a changed list without a path, so
    // that saving asks where to and never writes over the damaged file.
    const auto cutPath =
        dir_.write("half.m3l", Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(recordEnds[1] + 3)));
    const Bytes damaged = readFile(cutPath);
    prompter().scriptYesNoCancel({platform::Answer::No, platform::Answer::Yes});
    EXPECT_TRUE(reader.OnOpenDocument(cutPath, platform::readRepairSettings()));
    ASSERT_EQ(reader.GetCount(), 2u);
    EXPECT_EQ(reader.GetEntry(1).m_szArtist, "B");
    EXPECT_EQ(reader.GetTitle(), "half.m3l *");
    EXPECT_EQ(reader.GetPathName(), "");
    EXPECT_FALSE(reader.DoSave()) << "no path was chosen";
    EXPECT_EQ(readFile(cutPath), damaged);

    // Bytes behind the last record, or behind a count below one, or a string
    // marked UTF-16 twice, make no list.
    prompter().clear();
    for (const auto& [name, bytes] :
         std::vector<std::pair<std::string, Bytes>>{{"long.m3l",
                                                     [&] {
                                                         Bytes longer = full;
                                                         longer.push_back(0x77);
                                                         return longer;
                                                     }()},
                                                    {"negative.m3l", {0xFF, 0xFF, 0xFF, 0xFF, 1, 2}},
                                                    {"zero-and-more.m3l", {0, 0, 0, 0, 0}},
                                                    {"claims.m3l", {0xFF, 0xFF, 0xFF, 0x7F, 0}}}) {
        EXPECT_FALSE(reader.OnOpenDocument(dir_.write(name, bytes), platform::readRepairSettings())) << name;
        EXPECT_EQ(reader.GetCount(), 2u) << name;
    }
    EXPECT_EQ(prompter().messages(), std::vector<std::string>(4, "Unexpected file format."));
    EXPECT_TRUE(reader.OnOpenDocument(dir_.write("negative-only.m3l", {0xFF, 0xFF, 0xFF, 0xFF}),
                                      platform::readRepairSettings()));
    EXPECT_EQ(reader.GetCount(), 0u);

    // Random bytes read as records never pass for a list, whole or cut.
    std::mt19937 random(26);
    for (int file = 0; file < 40; ++file) {
        Bytes bytes(5000);
        for (auto& byte : bytes)
            byte = static_cast<std::uint8_t>(random());
        prompter().clear();
        EXPECT_FALSE(reader.OnOpenDocument(dir_.write("kaputt.m3l", bytes), platform::readRepairSettings()))
            << "file " << file;
        EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Unexpected file format."}) << "file " << file;
    }
}

TEST_F(DocumentTest, TheTitleShowsTheChangeMarker)
{
    EXPECT_EQ(doc_.GetTitle(), "Untitled");
    doc_.SetChanged();
    EXPECT_EQ(doc_.GetTitle(), "Untitled *");
    doc_.SetTitle("liste.m3l");
    EXPECT_EQ(doc_.GetTitle(), "liste.m3l *");
    doc_.SetTitle("");
    EXPECT_EQ(doc_.GetTitle(), "liste.m3l *");
}

TEST_F(DocumentTest, TheSaveQuestionGuardsUnsavedChanges)
{
    fill({"A"});
    const auto path = dir_.file("one.m3l");
    ASSERT_TRUE(doc_.OnSaveDocument(path));
    fill({"B"});
    doc_.SetChanged();

    prompter().scriptYesNoCancel({platform::Answer::Cancel});
    EXPECT_FALSE(doc_.OnOpenDocument(path, platform::readRepairSettings()));
    EXPECT_EQ(doc_.GetCount(), 2u);
    EXPECT_EQ(doc_.GetTitle(), "one.m3l *");
    EXPECT_EQ(prompter().prompts().back().text, "Save changes to " + path + "?");

    prompter().scriptYesNoCancel({platform::Answer::No});
    EXPECT_TRUE(doc_.OnOpenDocument(path, platform::readRepairSettings()));
    EXPECT_EQ(doc_.GetCount(), 1u);
    EXPECT_EQ(doc_.GetTitle(), "one.m3l");

    fill({"C"});
    doc_.SetChanged();
    prompter().scriptYesNoCancel({platform::Answer::Yes});
    EXPECT_TRUE(doc_.OnNewDocument());
    EXPECT_EQ(doc_.GetCount(), 0u);
    EXPECT_EQ(doc_.GetTitle(), "Untitled");
    CLiedkramDoc saved;
    ASSERT_TRUE(saved.OnOpenDocument(path, platform::readRepairSettings()));
    EXPECT_EQ(saved.GetCount(), 2u) << "Yes saved the list first";

    fill({"D"});
    doc_.SetChanged();
    prompter().scriptYesNoCancel({platform::Answer::Yes});
    EXPECT_FALSE(doc_.CanCloseFrame()) << "an untitled list without a save path stays open";
    doc_.askSavePath = [&] { return std::optional<std::string>(dir_.file("new.m3l")); };
    prompter().scriptYesNoCancel({platform::Answer::Yes});
    EXPECT_TRUE(doc_.CanCloseFrame());
    EXPECT_TRUE(platform::fileExists(dir_.file("new.m3l")));
    EXPECT_FALSE(doc_.m_bChanged);
    EXPECT_TRUE(doc_.CanCloseFrame());
}

TEST_F(DocumentTest, AListAnotherProgramChangedIsReplacedOnlyWhenTheUserSaysSo)
{
    fill({"A"});
    const auto path = dir_.file("shared.m3l");
    ASSERT_TRUE(doc_.OnSaveDocument(path));
    fill({"B"});
    doc_.SetChanged();
    prompter().clear();
    ASSERT_TRUE(doc_.DoSave());
    EXPECT_TRUE(prompter().prompts().empty()) << "our own last save is no change by another program";

    CLiedkramDoc other;
    ASSERT_TRUE(other.OnOpenDocument(path, platform::readRepairSettings()));
    document::DuplicatePolicy answer;
    other.AddEntry(listed("C.mp3", "C", "Song"), false, answer);
    ASSERT_TRUE(other.OnSaveDocument(path));
    const Bytes theirs = readFile(path);

    doc_.SetChanged();
    prompter().scriptYesNoCancel({platform::Answer::No});
    EXPECT_FALSE(doc_.DoSave());
    ASSERT_EQ(prompter().prompts().size(), 1u);
    EXPECT_EQ(prompter().prompts()[0].text, "Die Liste '" + path +
                                                "' wurde seit dem Lesen von einem anderen Programm ge\xC3\xA4ndert. "
                                                "Trotzdem speichern?");
    EXPECT_EQ(readFile(path), theirs);
    EXPECT_TRUE(doc_.m_bChanged);

    prompter().scriptYesNoCancel({platform::Answer::Yes});
    EXPECT_TRUE(doc_.DoSave());
    ASSERT_TRUE(other.OnOpenDocument(path, platform::readRepairSettings()));
    EXPECT_EQ(other.GetCount(), 2u);
}

TEST_F(DocumentTest, OpeningAnMp3AddsItWithAFreshAnswerMemory)
{
    const auto a = dir_.write("Band - Song.mp3", frames({}, 30));
    std::filesystem::create_directory(dir_.file("other"));
    const auto b = dir_.write("other/band - song.mp3", frames({}, 30));
    prompter().scriptDuplicate({platform::DuplicateChoice::AddAll, platform::DuplicateChoice::Add});
    EXPECT_FALSE(doc_.OnOpenDocument(a, platform::readRepairSettings()));
    EXPECT_FALSE(doc_.OnOpenDocument(b, platform::readRepairSettings()));
    EXPECT_FALSE(doc_.OnOpenDocument(b, platform::readRepairSettings()));
    EXPECT_EQ(doc_.GetCount(), 3u);
    // Each open asked on its own: the all-answer of the first does not carry over.
    EXPECT_EQ(prompter().prompts().size(), 3u);
    EXPECT_EQ(doc_.GetTitle(), "Untitled *");

    EXPECT_FALSE(doc_.OnOpenDocument(dir_.write("notes.txt", {1, 2, 3}), platform::readRepairSettings()));
    EXPECT_EQ(doc_.GetCount(), 3u);
    EXPECT_EQ(prompter().prompts().size(), 3u);
}

TEST_F(DocumentTest, ListFilesAreRecognisedWhateverTheirCase)
{
    fill({"A", "B"});
    const auto path = dir_.file("LISTE.M3L");
    ASSERT_TRUE(doc_.OnSaveDocument(path));
    CLiedkramDoc other;
    EXPECT_TRUE(other.OnOpenDocument(path, platform::readRepairSettings()));
    EXPECT_EQ(other.GetCount(), 2u);
}

TEST_F(DocumentTest, ObserversFollowEveryChange)
{
    RecordingObserver observer;
    doc_.addObserver(&observer);
    fill({"B", "A"});
    doc_.RefreshRow(1);
    doc_.RefreshRow(7);
    doc_.SortByColumn(Column::Artist);
    doc_.RemoveRow(0);
    doc_.SetChanged();
    doc_.DeleteContents();
    EXPECT_EQ(observer.log, "+0x1+1x1r1~-0t0");
    doc_.removeObserver(&observer);
    fill({"C"});
    EXPECT_EQ(observer.log, "+0x1+1x1r1~-0t0");
}

TEST_F(DocumentTest, ClosingRemovesThePictureDirectory)
{
    const std::string picture = doc_.pictureDirectory().file("temp.jpg");
    dir_.write("x", {});
    platform::File(picture, platform::File::Mode::CreateTruncate).close();
    fill({"A"});
    doc_.OnCloseDocument();
    EXPECT_FALSE(platform::fileExists(picture));
    EXPECT_TRUE(doc_.m_bClosing);
    EXPECT_EQ(doc_.GetCount(), 0u);
}

TEST_F(DocumentTest, AListThatCannotBeSavedIsNamedInTheMessage)
{
    fill({"A"});
    doc_.SetChanged();
    const auto path = dir_.file("missing folder/list.m3l");
    EXPECT_FALSE(doc_.OnSaveDocument(path));
    EXPECT_EQ(prompter().messages(),
              std::vector<std::string>{"Cannot save '" + path + "' cause: 2 (No such file or directory)"});
    EXPECT_TRUE(doc_.m_bChanged);
    EXPECT_EQ(doc_.GetPathName(), "");
}

namespace {

// Notes every announcement and every completed change with the row count the
// document had at that moment.
class AnnouncementLog : public DocumentObserver {
public:
    explicit AnnouncementLog(const CLiedkramDoc& doc) : doc_(doc) {}
    void rowsAboutToBeAppended(std::size_t first, std::size_t count) override { note("+?", first, count); }
    void rowsAppended(std::size_t first, std::size_t count) override { note("+", first, count); }
    void rowsAboutToBeRemoved(std::size_t first, std::size_t count) override { note("-?", first, count); }
    void rowsRemoved(std::size_t first, std::size_t count) override { note("-", first, count); }
    void rowsAboutToBeReordered() override { note("~?", 0, 0); }
    void rowsReordered() override { note("~", 0, 0); }
    void rowsAboutToBeReset() override { note("*?", 0, 0); }
    void rowsReset() override { note("*", 0, 0); }
    void rowRefreshed(std::size_t) override {}
    void listAboutToBeCleared() override { note("0?", 0, 0); }
    void listCleared() override { note("0", 0, 0); }
    void titleChanged() override {}
    std::vector<std::string> log;

private:
    void note(const char* what, std::size_t first, std::size_t count)
    {
        log.push_back(std::string(what) + std::to_string(first) + "x" + std::to_string(count) + "@" +
                      std::to_string(doc_.GetCount()));
    }
    const CLiedkramDoc& doc_;
};

}  // namespace

TEST_F(DocumentTest, EveryChangeIsAnnouncedBeforeItIsMade)
{
    AnnouncementLog observer(doc_);
    doc_.addObserver(&observer);
    fill({"C", "B", "A", "D", "E"});
    doc_.SortByColumn(Column::Artist);
    doc_.RemoveRows({4, 0, 1, 4});
    EXPECT_EQ(artists(), (std::vector<std::string>{"C", "D"}));
    doc_.DeleteContents();
    doc_.removeObserver(&observer);
    EXPECT_EQ(observer.log, (std::vector<std::string>{"+?0x1@0", "+0x1@1", "+?1x1@1", "+1x1@2", "+?2x1@2", "+2x1@3",
                                                      "+?3x1@3", "+3x1@4", "+?4x1@4", "+4x1@5", "~?0x0@5", "~0x0@5",
                                                      // The last run first, so the first run's rows keep their numbers.
                                                      "-?4x1@5", "-4x1@4", "-?0x2@4", "-0x2@2", "0?0x0@2", "00x0@0"}));
}

TEST_F(DocumentTest, ReadingAListAnnouncesAllItsRowsAtOnce)
{
    fill({"A", "B", "C"});
    const auto path = dir_.file("three.m3l");
    ASSERT_TRUE(doc_.OnSaveDocument(path));
    CLiedkramDoc other;
    AnnouncementLog observer(other);
    other.addObserver(&observer);
    ASSERT_TRUE(other.OnOpenDocument(path, platform::readRepairSettings()));
    other.removeObserver(&observer);
    EXPECT_EQ(observer.log, (std::vector<std::string>{"0?0x0@0", "00x0@0", "+?0x3@0", "+0x3@3"}));
}

TEST_F(DocumentTest, RemovingManySeparateRowsKeepsTheOthersInOrder)
{
    AnnouncementLog observer(doc_);
    std::vector<std::size_t> odd;
    document::DuplicatePolicy answer;
    for (int i = 0; i < 200; ++i) {
        doc_.AddEntry(listed(std::to_string(i) + ".mp3", std::to_string(i), "Song"), false, answer);
        if (i % 2 == 1)
            odd.push_back(static_cast<std::size_t>(i));
    }
    odd.push_back(500);  // not a row: ignored
    doc_.addObserver(&observer);
    doc_.RemoveRows(odd);
    doc_.removeObserver(&observer);
    ASSERT_EQ(doc_.GetCount(), 100u);
    for (std::size_t i = 0; i < doc_.GetCount(); ++i)
        EXPECT_EQ(doc_.GetEntry(i).m_szArtist.str(), std::to_string(2 * i));
    EXPECT_EQ(observer.log, (std::vector<std::string>{"*?0x0@200", "*0x0@100"}));
}

TEST_F(DocumentTest, ObserversThatFollowAfterTheFactSeeSingleRemovals)
{
    RecordingObserver observer;
    fill({"A", "B", "C", "D"});
    doc_.addObserver(&observer);
    doc_.RemoveRows({1, 2});
    doc_.removeObserver(&observer);
    EXPECT_EQ(observer.log, "-1-1");
}

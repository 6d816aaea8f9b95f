#include "autoedit/auto_edit.h"
#include "autoedit/edit_run.h"
#include "autoedit/rename_proposals.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/prompter.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace testsupport;
using testsupport::ScriptedPrompter;

namespace {

CLiedkramEntry listedEntry(const std::string& artist, const std::string& title)
{
    CLiedkramEntry entry;
    entry.m_szFileName = "old.mp3";
    entry.m_szArtist = artist;
    entry.m_szTitle = title;
    return entry;
}

}  // namespace

class AutoEditTest : public SeamTest {
protected:
    // Loads a file that needs every repair: junk in front, copyright set,
    // original clear, an old tag with a two-digit year.
    CLiedkramEntry loadWorkedFile(const std::string& name)
    {
        HeaderSpecPlain();
        Bytes bytes = musicBytes(300);
        append(bytes, frames(plain_, 300));
        append(bytes, id3v1Tag({"Let It Be", "The Beatles", "", "70", "", 6, 17}));
        return CLiedkramEntry(dir_.write(name, bytes), platform::readRepairSettings());
    }

    void HeaderSpecPlain()
    {
        plain_.copyright = true;
        plain_.original = false;
    }

    TempDir dir_;
    HeaderSpec plain_;
};

TEST_F(AutoEditTest, PatternPlaceholdersAreNormalisedAndTheRestCopied)
{
    auto entry = listedEntry("Simon & Garfunkel", "The Boxer");
    EXPECT_EQ(autoedit::ExpandPattern(entry, platform::readRepairSettings().naming), "Simon_n_Garfunkel-The_Boxer.mp3");

    profile().writeString("ID2DatNam", "$Track - $Artist - $Title");
    entry = listedEntry("Nena", "99 Luftballons");
    entry.m_nTrack = 7;
    EXPECT_EQ(autoedit::ExpandPattern(entry, platform::readRepairSettings().naming), "07 - Nena - 99_Luftballons.mp3");

    profile().writeString("ID2DatNam", "$Album ($Genre) $Comment $Year $artist $Track");
    entry.m_szAlbum = "best of";
    entry.m_nGenre = 17;
    entry.m_szComment = "live";
    entry.m_nTrack = 0;
    EXPECT_EQ(autoedit::ExpandPattern(entry, platform::readRepairSettings().naming),
              "Best_Of (Rock) Live $Year $artist 00.mp3");
    entry.m_nGenre = -1;
    EXPECT_EQ(autoedit::ExpandPattern(entry, platform::readRepairSettings().naming),
              "Best_Of () Live $Year $artist 00.mp3");

    profile().writeString("ID2DatNam", "");
    EXPECT_EQ(autoedit::ExpandPattern(entry, platform::readRepairSettings().naming), ".mp3");
    profile().writeString("ID2DatNam", "$Artist-$Title");
    EXPECT_EQ(autoedit::ExpandPattern(listedEntry("", ""), platform::readRepairSettings().naming), "-.mp3");
}

TEST_F(AutoEditTest, TagTextsBecomeUtf8FileNames)
{
    EXPECT_EQ(autoedit::ExpandPattern(listedEntry("Bj\xF6rk", "J\xF3ga"), platform::readRepairSettings().naming),
              "Bjoerk-Joga.mp3");
    profile().writeInt("CnvUml", 0);
    profile().writeString("ID2DatNam", "\xC3\x84rger: $Artist");  // the stored pattern is UTF-8
    EXPECT_EQ(autoedit::ExpandPattern(listedEntry("Bj\xF6rk", ""), platform::readRepairSettings().naming),
              "\xC3\x84rger: Bj\xC3\xB6rk.mp3");
}

TEST_F(AutoEditTest, TheRenameQuestionAndItsAnswers)
{
    profile().writeInt("SetID3", 0);
    profile().writeInt("SetOrig", 0);
    profile().writeInt("DelCopy", 0);
    auto entry = listedEntry("A", "B");
    entry.m_nFlags = ENTRY_SCAN_ERROR;  // nothing to rewrite
    entry.m_szPath = dir_.path();
    const testsupport::Bytes song = testsupport::frames({}, 4);
    dir_.write("old.mp3", song);
    entry.m_nFileSize = static_cast<int>(song.size());

    prompter().scriptProgress({platform::Answer::No, platform::Answer::Cancel, platform::Answer::Yes});
    EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Incomplete);
    ASSERT_EQ(prompter().prompts().size(), 1u);
    EXPECT_EQ(prompter().prompts()[0].kind, ScriptedPrompter::Kind::Progress);
    EXPECT_EQ(prompter().prompts()[0].text, "Umbenennen:\nold.mp3 ->\nA-B.mp3");
    EXPECT_EQ(entry.m_strNewName, "A-B.mp3");
    EXPECT_EQ(entry.m_nFlags & ENTRY_RENAME, 0u);

    EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Cancelled);
    EXPECT_EQ(entry.m_szFileName, "old.mp3");

    EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Incomplete);
    EXPECT_EQ(entry.m_szFileName, "A-B.mp3");
    EXPECT_EQ(entry.m_nFlags, ENTRY_SCAN_ERROR);  // renamed although the scan failed
    EXPECT_TRUE(platform::fileExists(dir_.file("A-B.mp3")));

    // Named as proposed already (case counts): no question.
    prompter().clear();
    EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Incomplete);
    EXPECT_TRUE(prompter().prompts().empty());
    profile().writeInt("Rename", 0);
    EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Incomplete);
    EXPECT_EQ(entry.m_strNewName, "");
    EXPECT_TRUE(prompter().prompts().empty());
}

TEST_F(AutoEditTest, APatternThatCannotMakeANameAndANameWithoutItsFieldsAreTold)
{
    using autoedit::PatternFault;
    const std::vector<std::tuple<std::string, PatternFault, std::string>> patterns = {
        {"$Artist-$Title", PatternFault::None, ""},
        {"$Track - $Artist - $Title ($Album, $Genre) $Comment", PatternFault::None, ""},
        {"$ 5 $$ $-$_", PatternFault::None, ""},
        {"$Artist/$Title", PatternFault::FolderSeparator, "/"},
        {"$Artist-$Title $Foo", PatternFault::UnknownWord, "$Foo"},
        {"$Year $Title", PatternFault::UnknownWord, "$Year"},
        {"$artist", PatternFault::UnknownWord, "$artist"},
        {"$Titles", PatternFault::UnknownWord, "$Titles"},
    };
    for (const auto& [pattern, fault, word] : patterns) {
        const autoedit::PatternCheck check = autoedit::CheckPattern(pattern);
        EXPECT_EQ(check.fault, fault) << pattern;
        EXPECT_EQ(check.word, word) << pattern;
    }

    auto entry = listedEntry("Nena", "");
    EXPECT_EQ(autoedit::MissingField(entry, platform::readRepairSettings().naming.pattern), "$Title");
    entry.m_szTitle = "Irgendwie";
    EXPECT_EQ(autoedit::MissingField(entry, platform::readRepairSettings().naming.pattern), "");
    profile().writeString("ID2DatNam", "$Track $Genre $Artist");
    EXPECT_EQ(autoedit::MissingField(entry, platform::readRepairSettings().naming.pattern), "$Track");
    entry.m_nTrack = 3;
    EXPECT_EQ(autoedit::MissingField(entry, platform::readRepairSettings().naming.pattern), "$Genre");
    entry.m_nGenre = 0;
    EXPECT_EQ(autoedit::MissingField(entry, platform::readRepairSettings().naming.pattern), "");

    // Not offered: no question, the file keeps its name.
    profile().writeString("ID2DatNam", "$Artist-$Title");
    profile().writeInt("SetID3", 0);
    auto untitled = listedEntry("Nena", "");
    EXPECT_EQ(autoedit::MarkRepairs(untitled, platform::readRepairSettings()), autoedit::EditStep::Done);
    EXPECT_TRUE(prompter().prompts().empty());
    EXPECT_EQ(untitled.m_strNewName, "");
    EXPECT_EQ(untitled.m_nFlags & ENTRY_RENAME, 0u);
}

TEST_F(AutoEditTest, CancelLeavesFlagsAndFileUntouched)
{
    auto entry = loadWorkedFile("the beatles - let it be.mp3");
    const auto before = readFile(entry.GetFullPath());
    const auto flags = entry.m_nFlags;
    prompter().scriptProgress({platform::Answer::Cancel});
    EXPECT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Cancelled);
    EXPECT_EQ(entry.m_nFlags, flags);
    EXPECT_EQ(readFile(entry.GetFullPath()), before);
    EXPECT_EQ(entry.m_strNewName, "The_Beatles-Let_It_Be.mp3");
}

TEST_F(AutoEditTest, MarksTheRepairsTheSettingsAskFor)
{
    profile().writeInt("Rename", 0);
    auto entry = loadWorkedFile("x.mp3");
    entry.m_nFlags = 0;
    ASSERT_EQ(autoedit::MarkRepairs(entry, platform::readRepairSettings()), autoedit::EditStep::Done);
    // The tag bit comes first, so the old 128-byte tag is marked to go.
    EXPECT_EQ(entry.m_nFlags, ENTRY_TAG_DIRTY | ENTRY_CUT_FRONT | ENTRY_CUT_BACK | ENTRY_HEADER_DIRTY);
    EXPECT_TRUE(entry.IsOriginal());
    EXPECT_FALSE(entry.IsCopyright());

    auto quiet = loadWorkedFile("y.mp3");
    quiet.m_nFlags = 0;
    for (const char* key : {"SetID3", "SetOrig", "DelCopy", "DelFront", "DelBack"})
        profile().writeInt(key, 0);
    autoedit::MarkRepairs(quiet, platform::readRepairSettings());
    EXPECT_EQ(quiet.m_nFlags, 0u);
    EXPECT_TRUE(quiet.IsCopyright());

    auto damaged = loadWorkedFile("z.mp3");
    damaged.m_nFlags = ENTRY_SCAN_ERROR;
    for (const char* key : {"SetID3", "SetOrig", "DelCopy", "DelFront", "DelBack"})
        profile().writeInt(key, 1);
    autoedit::MarkRepairs(damaged, platform::readRepairSettings());
    EXPECT_EQ(damaged.m_nFlags, ENTRY_SCAN_ERROR);
}

TEST_F(AutoEditTest, RepairsAndRenamesAFile)
{
    auto entry = loadWorkedFile("the beatles - let it be.mp3");
    prompter().scriptProgress({platform::Answer::Yes});
    ASSERT_EQ(autoedit::EditEntry(entry, platform::readRepairSettings()), autoedit::EditStep::Done);
    EXPECT_EQ(entry.m_szFileName, "The_Beatles-Let_It_Be.mp3");
    EXPECT_EQ(entry.m_nFlags, 0u);
    // The junk in front is gone; a new ID3v2.3 tag stands in its place.
    ASSERT_GT(entry.m_nFrontTagBytes, 10);
    EXPECT_EQ(entry.m_nAudioStart, entry.m_nFrontTagBytes);
    EXPECT_EQ(entry.m_bHasId3v2, 1);
    EXPECT_EQ(entry.m_nFileSize, entry.m_nFrontTagBytes + 300 * 417 + 128);
    const auto bytes = readFile(dir_.file("The_Beatles-Let_It_Be.mp3"));
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(entry.m_nFileSize));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ID3\x03");
    EXPECT_EQ(bytes[static_cast<std::size_t>(entry.m_nAudioStart)], 0xFF);
    EXPECT_FALSE(platform::fileExists(dir_.file("the beatles - let it be.mp3")));
    EXPECT_EQ(prompter().messages().size(), 0u);

    // Without SetID3V2 the audio starts the file.
    profile().writeInt("SetID3V2", 0);
    auto plain = loadWorkedFile("the beatles - let it be.mp3");
    prompter().scriptProgress({platform::Answer::No});
    ASSERT_EQ(autoedit::EditEntry(plain, platform::readRepairSettings()), autoedit::EditStep::Done);
    EXPECT_EQ(plain.m_nAudioStart, 0);
    EXPECT_EQ(plain.m_nFileSize, 300 * 417 + 128);
    EXPECT_EQ(readFile(dir_.file("the beatles - let it be.mp3"))[0], 0xFF);
}

TEST_F(AutoEditTest, ProposedNamesOfARunAreMarkedTakenNotAllowedOrLackingAField)
{
    using Mark = platform::RenameProposal::Mark;
    const auto inDir = [this](const std::string& artist, const std::string& title, const std::string& name) {
        CLiedkramEntry entry = listedEntry(artist, title);
        entry.m_szFileName = name;
        entry.m_szPath = dir_.path();
        return entry;
    };
    dir_.write("Band-Taken.mp3", Bytes{1});
    const std::vector<CLiedkramEntry> entries = {
        inDir("Band", "One", "a.mp3"),
        inDir("Band", "Same", "Band-Same.mp3"),  // named as proposed: not shown
        inDir("Band", "Taken", "b.mp3"),  // another file has the name
        inDir("Band", "One", "c.mp3"),  // the first of the run gets the name
        inDir("", "Two", "d.mp3"),  // no artist
        inDir("Band", std::string(300, 'x'), "e.mp3"),  // too long for a name
        inDir("Band", "Two", "f.mp3"),
    };
    std::vector<const CLiedkramEntry*> run;
    for (const auto& entry : entries)
        run.push_back(&entry);

    const auto proposals = autoedit::ProposeRenames(run, platform::readRepairSettings().naming);
    std::vector<std::tuple<std::size_t, std::string, std::string, Mark, std::string, bool>> seen;
    for (const auto& p : proposals)
        seen.emplace_back(p.index, p.oldName, p.newName, p.mark, p.missing, p.ticked);
    const std::string tooLong = autoedit::ExpandPattern(entries[5], platform::readRepairSettings().naming);
    EXPECT_EQ(seen, (decltype(seen){
                        {0, "a.mp3", "Band-One.mp3", Mark::Offered, "", true},
                        {2, "b.mp3", "Band-Taken.mp3", Mark::Taken, "", false},
                        {3, "c.mp3", "Band-One.mp3", Mark::Taken, "", false},
                        {4, "d.mp3", "-Two.mp3", Mark::MissingField, "$Artist", false},
                        {5, "e.mp3", tooLong, Mark::NotAllowed, "", false},
                        {6, "f.mp3", "Band-Two.mp3", Mark::Offered, "", true},
                    }));
    EXPECT_TRUE(prompter().prompts().empty()) << "proposing asks nothing";
}

namespace {

// Fails the rename question that names one file, as a file error would.
class FailingQuestion : public ScriptedPrompter {
public:
    explicit FailingQuestion(std::string name) : name_(std::move(name)) {}

    platform::Answer askProgress(std::string_view text) override
    {
        if (!name_.empty() && text.find("\n" + name_ + " ->") != std::string_view::npos)
            throw platform::FileError(platform::FileCause::DiskFull, name_, "write");
        return ScriptedPrompter::askProgress(text);
    }

private:
    std::string name_;
};

// Notes how each entry of a run ended, and ends the run before one.
class RecordingFront : public autoedit::EditRunFront {
public:
    explicit RecordingFront(std::size_t stopBefore) : stopBefore_(stopBefore) {}

    bool stopRequested() override { return asked_++ == stopBefore_; }
    void edited(std::size_t position, CLiedkramEntry&, autoedit::EditStep step, const std::exception* error) override
    {
        static constexpr std::array kNames = {"Done", "Incomplete", "Failed", "Cancelled"};
        seen.push_back(std::to_string(position) + " " + (error ? "threw" : kNames.at(static_cast<std::size_t>(step))));
    }

    std::vector<std::string> seen;

private:
    std::size_t stopBefore_;
    std::size_t asked_ = 0;
};

struct RunCase {
    const char* name;
    autoedit::EditRunOptions options;
    std::string failingFile;
    std::vector<platform::Answer> answers;
    std::size_t stopBefore;
    std::vector<std::string> seen;
    autoedit::EditRunOutcome outcome;
    bool allDone;
};

constexpr std::size_t kNever = 99;
using Outcome = autoedit::EditRunOutcome;
constexpr platform::Answer kYes = platform::Answer::Yes;

const RunCase kRunCases[] = {
    {"every_file", {}, "", {}, kNever, {"0 Done", "1 Done", "2 Done"}, Outcome::Finished, true},
    {"dry_run_only_marks", {.dryRun = true}, "", {}, kNever, {"0 Done", "1 Done", "2 Done"}, Outcome::Finished, true},
    {"an_error_is_passed_over", {}, "b.mp3", {}, kNever, {"0 Done", "1 threw", "2 Done"}, Outcome::Finished, false},
    {"an_error_stops_where_asked",
     {.stopAtFailure = true},
     "b.mp3",
     {},
     kNever,
     {"0 Done", "1 threw"},
     Outcome::Stopped,
     false},
    {"cancel_at_the_question",
     {},
     "",
     {kYes, platform::Answer::Cancel},
     kNever,
     {"0 Done", "1 Cancelled"},
     Outcome::Cancelled,
     false},
    {"cancel_between_files", {}, "", {}, 2, {"0 Done", "1 Done"}, Outcome::Cancelled, false},
};

}  // namespace

class EditRun : public AutoEditTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(EditRun, TellsHowEachEntryAndTheRunEnded)
{
    const RunCase& c = GetParam();
    FailingQuestion questions(c.failingFile);
    questions.scriptProgress(c.answers);
    platform::installPrompter(&questions);
    std::vector<CLiedkramEntry> songs;
    for (const auto& [name, title] : {std::pair{"a.mp3", "One"}, {"b.mp3", "Two"}, {"c.mp3", "Three"}}) {
        Bytes bytes = frames(plain_, 20);
        append(bytes, id3v1Tag({title, "Band", "", "1999", "", 1, 17}));
        songs.emplace_back(dir_.write(name, bytes), platform::readRepairSettings());
    }
    const Bytes lastBefore = readFile(dir_.file("c.mp3"));
    std::vector<CLiedkramEntry*> entries;
    for (auto& song : songs)
        entries.push_back(&song);

    RecordingFront front(c.stopBefore);
    const auto result = autoedit::RunEdits(entries, platform::readRepairSettings(), nullptr, c.options, front);
    platform::installPrompter(&prompter());

    EXPECT_EQ(front.seen, c.seen);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.allDone, c.allDone);
    // What was edited is on disk under its new name; a dry run or an untouched file is as it was.
    const bool lastEdited = c.seen.size() == 3 && !c.options.dryRun;
    EXPECT_EQ(platform::fileExists(dir_.file("Band-Three.mp3")), lastEdited);
    if (!lastEdited) {
        EXPECT_TRUE(readFile(dir_.file("c.mp3")) == lastBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, EditRun, ::testing::ValuesIn(kRunCases),
                         [](const auto& param) { return std::string(param.param.name); });

#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/repair_settings.h"
#include "support/mp3_builder.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace testsupport;

class AddSubtract : public SeamTest {
protected:
    // An MP3 file whose tag names artist and title.
    std::string song(const std::string& name, const std::string& artist, const std::string& title)
    {
        Bytes bytes = frames({}, 20);
        append(bytes, id3v1Tag({title, artist, "", "2001", "", -1, 0}));
        return dir_.write(name, bytes);
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (std::size_t i = 0; i < doc_.GetCount(); ++i)
            result.push_back(doc_.GetEntry(i).m_szFileName.str());
        return result;
    }

    TempDir dir_;
    CLiedkramDoc doc_;
};

TEST_F(AddSubtract, TheDuplicateQuestionShowsTheListedEntryFirst)
{
    const auto first = song("a.mp3", "Band", "Song");
    const auto second = song("b.mp3", "BAND", "song");
    doc_.OnAddMp3s({first, second}, platform::readRepairSettings());
    ASSERT_EQ(prompter().prompts().size(), 1u);
    const std::string details = "\n\t128 kbit/s, 0:00.5, 8468 Bytes";
    EXPECT_EQ(prompter().prompts()[0].text, "Dieser Eintrag ist bereits in der MP3-Liste enthalten:\n" + first +
                                                "\n\t\"Band\"  -  \"Song\"" + details +
                                                "\n\nSoll folgender Eintrag hinzugef\xC3\xBCgt werden?:\n" + second +
                                                "\n\t\"BAND\"  -  \"song\"" + details);
    EXPECT_EQ(names(), (std::vector<std::string>{"a.mp3", "b.mp3"}));  // the fallback answer adds
    EXPECT_TRUE(doc_.m_bChanged);
}

TEST_F(AddSubtract, SameFileNameOrEmptyTagsAreDuplicates)
{
    std::filesystem::create_directory(dir_.file("other"));
    const auto one = song("Song.mp3", "A", "B");
    const auto two = song("other/SONG.mp3", "C", "D");
    // Names that give no artist or title either.
    const auto three = song("_.mp3", "", "");
    const auto four = song("__.mp3", "", "");
    prompter().scriptDuplicate({platform::DuplicateChoice::Add, platform::DuplicateChoice::Add});
    doc_.OnAddMp3s({one, two, three, four}, platform::readRepairSettings());
    EXPECT_EQ(prompter().prompts().size(), 2u);
    EXPECT_EQ(doc_.GetCount(), 4u);
}

TEST_F(AddSubtract, NeinMarksTheFileAndAsksAgainNextTime)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Band", "Song");
    const auto c = song("c.mp3", "Band", "Song");
    prompter().scriptDuplicate({platform::DuplicateChoice::Skip, platform::DuplicateChoice::Skip});
    doc_.OnAddMp3s({a, b, c}, platform::readRepairSettings());
    EXPECT_EQ(names(), std::vector<std::string>{"a.mp3"});
    EXPECT_EQ(prompter().prompts().size(), 2u);
    EXPECT_TRUE(platform::fileExists(b + ".cop"));
    EXPECT_FALSE(platform::fileExists(b));
    EXPECT_TRUE(platform::fileExists(c + ".cop"));

    // A ".cop" that exists already is never replaced; the entry is still declined.
    const auto d = song("d.mp3", "Band", "Song");
    dir_.write("d.mp3.cop", {7});
    prompter().scriptDuplicate({platform::DuplicateChoice::Skip});
    doc_.OnAddMp3s({d}, platform::readRepairSettings());
    EXPECT_EQ(readFile(d + ".cop"), Bytes{7});
    EXPECT_TRUE(platform::fileExists(d));
    EXPECT_EQ(doc_.GetCount(), 1u);
}

TEST_F(AddSubtract, ReplaceAllReplacesWithoutAskingUntilTheCommandEnds)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Band", "Song");
    const auto c = song("c.mp3", "Other", "Tune");
    const auto d = song("d.mp3", "Other", "Tune");
    const auto e = song("e.mp3", "Band", "Song");
    doc_.OnAddMp3s({a, c}, platform::readRepairSettings());
    prompter().scriptDuplicate({platform::DuplicateChoice::ReplaceAll});
    doc_.OnAddMp3s({b, d, e}, platform::readRepairSettings());
    EXPECT_EQ(names(), (std::vector<std::string>{"d.mp3", "e.mp3"}));
    EXPECT_EQ(prompter().prompts().size(), 1u);

    prompter().scriptDuplicate({platform::DuplicateChoice::Add});
    doc_.OnAddMp3s({a}, platform::readRepairSettings());
    EXPECT_EQ(prompter().prompts().size(), 2u) << "the next command asks again";
}

TEST_F(AddSubtract, ReplaceAsksAgainForEveryMatchingRow)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Band", "Song");
    const auto c = song("c.mp3", "Band", "Song");
    prompter().scriptDuplicate({platform::DuplicateChoice::Add});
    doc_.OnAddMp3s({a, b}, platform::readRepairSettings());
    prompter().scriptDuplicate({platform::DuplicateChoice::Replace, platform::DuplicateChoice::Replace});
    doc_.OnAddMp3s({c}, platform::readRepairSettings());
    EXPECT_EQ(names(), std::vector<std::string>{"c.mp3"});
    EXPECT_EQ(prompter().prompts().size(), 3u);
}

TEST_F(AddSubtract, CancelStopsTheCommandAtThatFile)
{
    std::vector<std::string> paths;
    for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"})
        paths.push_back(song(name, "Band", std::string("Song ") + name));
    doc_.OnAddMp3s({song("0.mp3", "Band", "Song 3.mp3")}, platform::readRepairSettings());
    prompter().scriptDuplicate({platform::DuplicateChoice::Cancel});
    doc_.OnAddMp3s(paths, platform::readRepairSettings());
    EXPECT_EQ(names(), (std::vector<std::string>{"0.mp3", "1.mp3", "2.mp3"}));
    EXPECT_TRUE(platform::fileExists(paths[2] + ".cop"));
    EXPECT_TRUE(platform::fileExists(paths[3]));
}

TEST_F(AddSubtract, ListFilesAreReadRecordByRecordUntilCancel)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i)
        paths.push_back(song(std::to_string(i) + ".mp3", "Band", "Song " + std::to_string(i)));
    CLiedkramDoc source;
    source.OnAddMp3s(paths, platform::readRepairSettings());
    const auto list = dir_.file("ten.m3l");
    ASSERT_TRUE(source.OnSaveDocument(list));

    doc_.OnAddMp3s({song("x.mp3", "Band", "Song 3")}, platform::readRepairSettings());
    prompter().scriptDuplicate({platform::DuplicateChoice::Cancel});
    doc_.OnAddMp3s({list, paths[9]}, platform::readRepairSettings());
    EXPECT_EQ(names(), (std::vector<std::string>{"x.mp3", "0.mp3", "1.mp3", "2.mp3"}));

    // Only the exact lower-case extension makes a list here: this one is
    // loaded as an MP3 file, and the header bytes of its records let it pass.
    const auto upper = dir_.file("TEN.M3L");
    std::filesystem::copy_file(list, upper);
    doc_.OnAddMp3s({upper}, platform::readRepairSettings());
    EXPECT_EQ(names().back(), "TEN.M3L");
    EXPECT_EQ(doc_.GetCount(), 5u);
}

TEST_F(AddSubtract, ABrokenListFileEndsTheCommandAndKeepsWhatWasAdded)
{
    const auto a = song("a.mp3", "A", "1");
    const auto b = song("b.mp3", "B", "2");
    dir_.write("broken.m3l", {2, 0, 0, 0, 5, 'x'});
    doc_.OnAddMp3s({a, dir_.file("broken.m3l"), b}, platform::readRepairSettings());
    EXPECT_EQ(names(), std::vector<std::string>{"a.mp3"});
    EXPECT_EQ(prompter().messages(), std::vector<std::string>{"Unexpected file format."});

    // A list cut short offers its complete records: Ja adds them and the
    // command goes on, Nein ends it there.
    CLiedkramDoc source;
    source.OnAddMp3s({song("c.mp3", "C", "3"), song("d.mp3", "D", "4"), song("e.mp3", "E", "5")},
                     platform::readRepairSettings());
    const auto whole = dir_.file("three.m3l");
    ASSERT_TRUE(source.OnSaveDocument(whole));
    Bytes cut = readFile(whole);
    cut.resize(cut.size() - 10);
    const auto half = dir_.write("cut.m3l", cut);
    prompter().clear();
    prompter().scriptYesNoCancel({platform::Answer::Yes, platform::Answer::No});
    doc_.OnAddMp3s({half, b}, platform::readRepairSettings());
    EXPECT_EQ(names(), (std::vector<std::string>{"a.mp3", "c.mp3", "d.mp3", "b.mp3"}));
    PathsReport report = doc_.OnSubtractMp3s({half, a}, platform::readRepairSettings());
    EXPECT_EQ(names(), (std::vector<std::string>{"a.mp3", "c.mp3", "d.mp3", "b.mp3"}));
    EXPECT_EQ(report.skipped, 1u);
    ASSERT_EQ(prompter().prompts().size(), 2u);
    EXPECT_EQ(prompter().prompts()[0].text,
              "'" + half +
                  "' ist besch\xC3\xA4"
                  "digt: 2 von 3 Eintr\xC3\xA4gen lesbar. Die lesbaren hinzuf\xC3\xBCgen?");
    EXPECT_EQ(prompter().prompts()[1].text, "'" + half +
                                                "' ist besch\xC3\xA4"
                                                "digt: 2 von 3 Eintr\xC3\xA4gen lesbar. Die lesbaren subtrahieren?");
}

TEST_F(AddSubtract, SubtractRemovesEverySameTrack)
{
    const auto a = song("a.mp3", "Band", "Song");
    const auto b = song("b.mp3", "Other", "Tune");
    prompter().scriptDuplicate({platform::DuplicateChoice::Add});
    doc_.OnAddMp3s({a, b, song("c.mp3", "band", "SONG")}, platform::readRepairSettings());
    ASSERT_EQ(doc_.GetCount(), 3u);
    doc_.m_bChanged = false;
    doc_.OnSubtractMp3s({song("z.mp3", "Nobody", "Nothing")}, platform::readRepairSettings());
    EXPECT_FALSE(doc_.m_bChanged);
    doc_.OnSubtractMp3s({song("q.mp3", "BAND", "song")}, platform::readRepairSettings());
    EXPECT_EQ(names(), std::vector<std::string>{"b.mp3"});
    EXPECT_TRUE(doc_.m_bChanged);
    EXPECT_TRUE(platform::fileExists(a)) << "subtracting touches no file";
}

TEST_F(AddSubtract, ADeclinedListedFileKeepsItsName)
{
    const auto a = song("a.mp3", "Band", "Song");
    doc_.OnAddMp3s({a}, platform::readRepairSettings());
    const auto list = dir_.file("self.m3l");
    ASSERT_TRUE(doc_.OnSaveDocument(list));
    prompter().scriptDuplicate({platform::DuplicateChoice::Skip});
    doc_.OnAddMp3s({list}, platform::readRepairSettings());
    EXPECT_TRUE(platform::fileExists(a));
    EXPECT_FALSE(platform::fileExists(a + ".cop"));
    EXPECT_EQ(doc_.GetCount(), 1u);
}

TEST_F(AddSubtract, TheProgressCanStopTheCommandAfterAFile)
{
    const auto a = song("a.mp3", "A", "1");
    const auto b = song("b.mp3", "B", "2");
    const auto c = song("c.mp3", "C", "3");
    std::vector<std::size_t> seen;
    std::vector<std::string> paths;
    doc_.progress = [&](std::size_t done, std::size_t total, const std::string& path) {
        EXPECT_EQ(total, 3u);
        seen.push_back(done);
        paths.push_back(path);
        return done < 2;
    };
    doc_.OnAddMp3s({a, b, c}, platform::readRepairSettings());
    EXPECT_EQ(names(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(paths, (std::vector<std::string>{a, b}));
}

TEST_F(AddSubtract, ObserversAreToldWhichEntryWasDeclined)
{
    struct DeclineLog : DocumentObserver {
        void rowsAppended(std::size_t, std::size_t) override {}
        void rowRemoved(std::size_t) override {}
        void rowsReordered() override {}
        void rowRefreshed(std::size_t) override {}
        void listCleared() override {}
        void titleChanged() override {}
        void entryDeclined(const CLiedkramEntry& entry, bool cancelled) override
        {
            log.push_back((cancelled ? "cancelled " : "declined ") + entry.m_szFileName.str());
        }
        std::vector<std::string> log;
    } observer;
    doc_.addObserver(&observer);
    doc_.OnAddMp3s({song("a.mp3", "Band", "Song")}, platform::readRepairSettings());
    prompter().scriptDuplicate({platform::DuplicateChoice::Skip, platform::DuplicateChoice::Cancel});
    doc_.OnAddMp3s({song("b.mp3", "Band", "Song"), song("c.mp3", "Band", "Song")}, platform::readRepairSettings());
    EXPECT_EQ(observer.log, (std::vector<std::string>{"declined b.mp3", "cancelled c.mp3"}));
    doc_.removeObserver(&observer);
}

TEST_F(AddSubtract, TheReportTellsWhatCouldNotBeDone)
{
    const auto a = song("a.mp3", "Band", "Song");
    PathsReport report = doc_.OnAddMp3s({a, dir_.file("gone.mp3"), dir_.file("gone.m3l"), dir_.file("more.mp3")},
                                        platform::readRepairSettings());
    EXPECT_EQ(report.skipped, 2u) << "a list that cannot be read ends the command";
    EXPECT_FALSE(report.allDone());

    // A declined file whose ".cop" name is taken keeps its name.
    const auto b = song("b.mp3", "Band", "Song");
    dir_.write("b.mp3.cop", {1});
    prompter().scriptDuplicate({platform::DuplicateChoice::Skip});
    report = doc_.OnAddMp3s({b}, platform::readRepairSettings());
    EXPECT_EQ(report.unmarked, 1u);
    EXPECT_EQ(report.skipped, 0u);
    EXPECT_TRUE(platform::fileExists(b));

    const auto c = song("c.mp3", "Band", "Song");
    prompter().scriptDuplicate({platform::DuplicateChoice::Cancel});
    report = doc_.OnAddMp3s({c, song("d.mp3", "Other", "Tune")}, platform::readRepairSettings());
    EXPECT_TRUE(report.cancelled);
    EXPECT_EQ(report.unmarked, 0u);
    EXPECT_FALSE(report.allDone());

    EXPECT_TRUE(doc_.OnSubtractMp3s({song("e.mp3", "Band", "Song")}, platform::readRepairSettings()).allDone());
}

#include "cli_process.h"
#include "cli_runner.h"
#include "interop/external_tools.h"
#include "interop/stream_tools.h"
#include "interop/test_sound.h"
#include "old_rip.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <tuple>

using clitest::CliProcess;
using clitest::CliRunner;
using clitest::ProgramRun;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

using Folder = std::map<std::string, Bytes>;

// Every file of the folder by name, with its bytes.
Folder contentOf(const std::string& directory)
{
    Folder folder;
    for (const auto& entry : fs::directory_iterator(directory))
        folder[entry.path().filename().string()] = readFile(entry.path().string());
    return folder;
}

ino_t inodeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

class UndoProgram : public ::testing::Test {
protected:
    // Old rips: an ID3v2 tag and junk in front, a tag behind, names to be
    // changed by the pattern.
    void putRips(int count, int frames = 400)
    {
        const clitest::OldRip rip = clitest::beatlesRip(frames);
        for (int i = 0; i < count; ++i)
            music_.write(std::string(1, static_cast<char>('a' + i)) + " - song " + std::to_string(i) + ".mp3",
                         rip.bytes);
    }

    std::vector<std::string> historyLines()
    {
        const ProgramRun history = cli_.run({"history"});
        EXPECT_EQ(history.status, 0) << history.err;
        std::vector<std::string> lines;
        std::size_t begin = 0;
        for (std::size_t end; (end = history.out.find('\n', begin)) != std::string::npos; begin = end + 1)
            lines.push_back(history.out.substr(begin, end - begin));
        return lines;
    }

    testsupport::TempDir music_;
    CliRunner cli_;
};

}  // namespace

TEST_F(UndoProgram, UndoGivesEveryRealFileBackByteForByteUnderItsName)
{
    const std::string missing = interop::missingTools() + interop::missingStreamTools();
    ASSERT_TRUE(missing.empty()) << missing;
    // lame's files behind the taggers' pictures, one with junk and a tag behind.
    testsupport::TempDir work;
    const std::string wav = work.write("sound.wav", interop::testSoundWav(4));
    const std::string cbr = work.file("cbr.mp3");
    const std::string crc = work.file("crc.mp3");
    interop::encodeTestSound(wav, {"lame", "-b", "128"}, cbr);
    interop::encodeTestSound(wav, {"lame", "-p", "-V", "4"}, crc);
    interop::tagCopy(cbr, music_.file("die aerzte - schrei nach liebe.mp3"), "v23-picture");
    interop::tagCopy(crc, music_.file("nena - irgendwie.mp3"), "v24-picture");
    Bytes tailed = readFile(music_.file("nena - irgendwie.mp3"));
    testsupport::append(tailed, testsupport::musicBytes(700, 9));
    testsupport::append(tailed, testsupport::id3v1Tag({"Irgendwie", "Nena", "", "84", "", 3, 13}));
    music_.write("nena - irgendwie.mp3", tailed);
    putRips(2);
    const Folder before = contentOf(music_.path());

    const ProgramRun fix = cli_.run({"fix", "--rename=yes", music_.path()});
    ASSERT_EQ(fix.status, 0) << fix.err;
    const Folder fixed = contentOf(music_.path());
    ASSERT_EQ(fixed.size(), before.size());
    for (const auto& [name, bytes] : fixed)
        EXPECT_EQ(before.count(name), 0u) << name << " kept its name";

    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Set\tTime\tCommand\tFiles\tBytesKept\tUndone");
    EXPECT_EQ(lines[1].substr(0, 2), "1\t");
    EXPECT_NE(lines[1].find("\tfix\t4\t"), std::string::npos) << lines[1];
    EXPECT_TRUE(lines[1].ends_with("\tno")) << lines[1];

    const ProgramRun undo = cli_.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_TRUE(contentOf(music_.path()) == before) << "every file as it was, under its old name";

    // Redo gives the repairs back, byte for byte.
    EXPECT_EQ(cli_.run({"redo"}).status, 0);
    EXPECT_TRUE(contentOf(music_.path()) == fixed);
}

TEST_F(UndoProgram, EachUndoGoesOneSetFurtherBackAndRedoComesForwardAgain)
{
    putRips(3);
    std::vector<Folder> states = {contentOf(music_.path())};
    for (const char* song : {"a - song 0.mp3", "b - song 1.mp3", "c - song 2.mp3"}) {
        ASSERT_EQ(cli_.run({"fix", "--rename=yes", music_.file(song)}).status, 0);
        states.push_back(contentOf(music_.path()));
    }
    const auto undone = [this] {
        std::string column;
        for (const std::string& line : historyLines())
            column += line.substr(line.rfind('\t') + 1) + " ";
        return column;
    };
    // The steps and the state each leaves: sets 3 and 2 undone, then given back in turn.
    for (const auto& [command, state, column] :
         {std::tuple{"undo", 2, "Undone no no yes no  "}, std::tuple{"undo", 1, "Undone no yes yes no no  "},
          std::tuple{"redo", 2, "Undone no no yes no yes no  "},
          std::tuple{"redo", 3, "Undone no no no yes yes no no  "}}) {
        const ProgramRun step = cli_.run({command});
        EXPECT_EQ(step.status, 0) << command << step.err;
        EXPECT_TRUE(contentOf(music_.path()) == states[state]) << command << " to state " << state;
        EXPECT_EQ(undone(), column);
    }
    for (const auto& [args, message] : {std::pair{std::vector<std::string>{"redo"}, "Nothing to redo."},
                                        std::pair{std::vector<std::string>{"redo", "1"}, "Change set 1 is not undone."},
                                        std::pair{std::vector<std::string>{"redo", "9"}, "No change set 9 to redo."}}) {
        const ProgramRun refused = cli_.run(args);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find(message), std::string::npos) << refused.err;
    }
    ASSERT_EQ(cli_.run({"undo", "1"}).status, 0);
    const ProgramRun again = cli_.run({"undo", "1"});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("Change set 1 is undone already; redo 1 gives it back."), std::string::npos) << again.err;
    EXPECT_TRUE(contentOf(music_.path()) != states[3]);
}

TEST_F(UndoProgram, TheOriginalIsKeptWithoutACopy)
{
    putRips(1);
    const std::string song = music_.file("a - song 0.mp3");
    const ino_t original = inodeOf(song);
    ASSERT_EQ(cli_.run({"fix", "--rename=no", song}).status, 0);
    const fs::path originals = fs::path(cli_.dataHome()) / "liedkram" / "originals" / "1";
    ASSERT_TRUE(fs::is_directory(originals));
    const auto kept = fs::directory_iterator(originals)->path();
    EXPECT_EQ(inodeOf(kept.string()), original) << "the same file, not a copy";
    EXPECT_NE(inodeOf(song), original);
}

TEST_F(UndoProgram, AFileChangedSinceOrANameTakenIsReportedAndTheOthersComeBack)
{
    putRips(3);
    const Folder before = contentOf(music_.path());
    ASSERT_EQ(cli_.run({"fix", "--rename=yes", music_.path()}).status, 0);
    // One file was changed after the fix, another's old name is taken.
    Bytes changed = readFile(music_.file("A-Song_0.mp3"));
    changed.push_back(0x11);
    music_.write("A-Song_0.mp3", changed);
    music_.write("b - song 1.mp3", {1, 2, 3});

    const ProgramRun undo = cli_.run({"undo", "1"});
    EXPECT_EQ(undo.status, 1);
    EXPECT_NE(undo.err.find("'" + music_.file("A-Song_0.mp3") + "' wurde seit \"fix\" geändert -> bleibt, wie es ist."),
              std::string::npos)
        << undo.err;
    EXPECT_NE(undo.err.find("der Name '" + music_.file("b - song 1.mp3") + "' ist vergeben"), std::string::npos)
        << undo.err;
    EXPECT_TRUE(readFile(music_.file("A-Song_0.mp3")) == changed);
    EXPECT_TRUE(readFile(music_.file("b - song 1.mp3")) == (Bytes{1, 2, 3}));
    EXPECT_TRUE(fs::exists(music_.file("B-Song_1.mp3")));
    EXPECT_TRUE(readFile(music_.file("c - song 2.mp3")) == before.at("c - song 2.mp3"));
    EXPECT_EQ(undo.out, "restored " + music_.file("C-Song_2.mp3") + " -> " + music_.file("c - song 2.mp3") + "\n");
}

TEST_F(UndoProgram, AKilledFixIsUndoneForWhatItChanged)
{
    putRips(4, 3000);
    const Folder before = contentOf(music_.path());
    testsupport::TempDir output;
    const std::string err = output.file("err");
    const auto environment = [](const CliRunner& cli) {
        return std::vector<std::string>{"XDG_CONFIG_HOME=" + cli.configDir(), "XDG_DATA_HOME=" + cli.dataHome()};
    };
    // How long a whole run takes here.
    double whole = 0;
    {
        CliProcess fix(environment(cli_), {"fix", "--rename=yes", music_.path()}, err);
        fix.wait();
        whole = fix.elapsed();
        ASSERT_EQ(cli_.run({"undo"}).status, 0);
        ASSERT_TRUE(contentOf(music_.path()) == before);
    }
    const auto names = [this] {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(music_.path()))
            found.insert(entry.path().filename().string());
        return found;
    };
    const std::set<std::string> namesBefore = names();
    int changedBeforeKill = 0;
    // Four kills at points of the run's time, then one as soon as the first
    // file has its new name, which a loaded machine cannot make come too early.
    for (int step = 1; step <= 5; ++step) {
        const CliRunner round;  // a journal of its own
        {
            CliProcess fix(environment(round), {"fix", "--rename=yes", music_.path()}, err);
            if (step < 5) {
                std::this_thread::sleep_for(std::chrono::duration<double>(whole * step / 5));
            } else {
                while (!fix.ended() && names() == namesBefore)
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            fix.kill();
        }
        if (contentOf(music_.path()) != before)
            ++changedBeforeKill;
        round.run({"undo"});
        // What was changed before the kill is given back; what the kill cut
        // short had not reached its file. (New content the kill cut short
        // before it was recorded may be left beside its file, as after any
        // kill; the next repair of that file removes it.)
        Folder after = contentOf(music_.path());
        std::erase_if(after, [](const auto& file) { return file.first.starts_with(".liedkram-"); });
        EXPECT_TRUE(after == before) << "kill " << step;
        for (const auto& entry : fs::directory_iterator(music_.path()))
            fs::remove(entry.path());
        for (const auto& [name, bytes] : before)
            music_.write(name, bytes);
    }
    EXPECT_GT(changedBeforeKill, 0) << "no kill came after a change";
}

TEST_F(UndoProgram, WithoutBackupOnlyTheNamesComeBackAndPurgeEmptiesTheJournal)
{
    putRips(1);
    const Bytes original = readFile(music_.file("a - song 0.mp3"));
    ASSERT_EQ(cli_.run({"fix", "--rename=yes", "--no-backup", music_.path()}).status, 0);
    const Bytes fixed = readFile(music_.file("A-Song_0.mp3"));
    const auto lines = historyLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[1].find("\tfix\t1\t0"), std::string::npos) << lines[1];

    const ProgramRun undo = cli_.run({"undo"});
    EXPECT_EQ(undo.status, 1);
    EXPECT_NE(undo.err.find("hat kein aufbewahrtes Original -> bleibt, wie es ist."), std::string::npos) << undo.err;
    EXPECT_TRUE(readFile(music_.file("a - song 0.mp3")) == fixed) << "the name is back, the content is not";
    EXPECT_FALSE(original == fixed);

    const ProgramRun purge = cli_.run({"history", "--purge", "0"});
    EXPECT_EQ(purge.status, 0);
    EXPECT_EQ(purge.out.rfind("purged 2 change sets", 0), 0u) << purge.out;
    EXPECT_EQ(historyLines().size(), 2u);
    EXPECT_EQ(cli_.run({"undo"}).status, 1) << "nothing left to undo";
}

TEST_F(UndoProgram, FixBesideUndoNeverLosesAnOriginal)
{
    putRips(3, 60);
    const Folder originals = contentOf(music_.path());
    const auto kept = [&](const Bytes& content) {
        for (const auto& entry : fs::recursive_directory_iterator(cli_.dataHome()))
            if (entry.is_regular_file() && entry.file_size() == content.size() && readFile(entry.path()) == content)
                return true;
        return false;
    };
    for (int run = 0; run < 50; ++run) {
        ProgramRun fix{};
        std::thread fixing([&] { fix = cli_.run({"fix", "--rename=no", music_.path()}); });
        const ProgramRun undo = cli_.run({"undo"});
        fixing.join();
        for (const auto& [name, original] : originals) {
            const Bytes now = readFile(music_.file(name));
            EXPECT_TRUE(now == original || kept(original))
                << "the original of " << name << " is gone in run " << run << "\n"
                << fix.err << undo.err;
        }
        ASSERT_FALSE(HasFailure());
    }
}

TEST_F(UndoProgram, AJournalOnAFullDiskNeverLiesAboutWhatWasChanged)
{
    const clitest::OldRip rip = clitest::beatlesRip(10);
    for (std::size_t left = 0; left <= 40960; left += 4096) {
        testsupport::TmpfsMount mount("1m");
        if (!mount.mounted())
            GTEST_SKIP() << "cannot mount a tmpfs here";
        // Songs and journal on the one small file system, so every record,
        // every new content and the set's header compete for its last pages.
        std::filesystem::create_directories(mount.file("data"));
        std::filesystem::create_directories(mount.file("music"));
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            mount.write(std::string("music/") + name, rip.bytes);
        cli_.setEnvironment("XDG_DATA_HOME", mount.file("data"));
        mount.fillLeaving(left);
        const ProgramRun fix = cli_.run({"fix", "--rename=no", mount.file("music")});
        std::filesystem::remove(mount.file(".filler"));
        const ProgramRun undo = cli_.run({"undo"});
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            const std::string song = mount.file(std::string("music/") + name);
            EXPECT_TRUE(readFile(song) == rip.bytes) << name << " with " << left << " bytes left\n"
                                                     << fix.err << undo.err;
            struct stat info {};
            ASSERT_EQ(::stat(song.c_str(), &info), 0);
            EXPECT_EQ(info.st_nlink, 1u) << "a kept name in no set, " << left << " bytes left";
        }
        for (const auto& entry : fs::directory_iterator(mount.file("music")))
            EXPECT_EQ(entry.path().extension(), ".mp3") << entry.path() << " left behind";
        ASSERT_FALSE(HasFailure());
    }
}

TEST_F(UndoProgram, ARepairThatWouldChangeNoByteWritesAndRecordsNothing)
{
    putRips(2);
    ASSERT_EQ(cli_.run({"fix", "--rename=yes", music_.path()}).status, 0);
    const auto history = historyLines();
    const Folder repaired = contentOf(music_.path());
    std::map<std::string, ino_t> inodes;
    for (const auto& [name, bytes] : repaired)
        inodes[name] = inodeOf(music_.file(name));

    const ProgramRun again = cli_.run({"fix", "--rename=yes", music_.path()});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(historyLines(), history) << "a second set for a change that is none";
    EXPECT_EQ(contentOf(music_.path()), repaired);
    for (const auto& [name, inode] : inodes)
        EXPECT_EQ(inodeOf(music_.file(name)), inode) << name << " was written anew";
}

#include "history/change_lock.h"
#include "history/change_set.h"
#include "history/journal.h"
#include "history/undo.h"
#include "platform/file.h"
#include "platform/file_move.h"
#include "platform/file_system.h"
#include "platform/replacement_file.h"
#include "support/mp3_builder.h"
#include "support/other_file_system.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

ino_t inodeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

class Undo : public testsupport::SeamTest {
protected:
    // Replaces the file's content as a repair does, recording it first.
    void replace(history::ChangeSet& changes, const std::string& path, const Bytes& content, bool commit = true)
    {
        platform::File original = platform::File::openRegular(path);
        platform::ReplacementFile replacement(path);
        replacement.file().write(content);
        replacement.prepareLike(original);
        ASSERT_TRUE(changes.recordReplacement(original, replacement.target(), replacement.stamp(),
                                              replacement.temporaryPath()));
        if (commit)
            replacement.commit();
    }

    void rename(history::ChangeSet& changes, const std::string& from, const std::string& to)
    {
        changes.recordRename(from, to, platform::fileStamp(from));
        platform::renameNoReplace(from, to);
    }

    // Runs the steps with a change set in a program of its own that is
    // killed at their end: nothing is closed or cleared up.
    void killedAfter(const std::string& command, const std::function<void(history::ChangeSet&)>& steps)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            steps(*new history::ChangeSet(data_, command, true));
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
    }

    history::ChangeSetRecord set(int number) const
    {
        const auto read = history::readChangeSet(data_, number);
        EXPECT_TRUE(read);
        return read.value_or(history::ChangeSetRecord{});
    }

    history::UndoResult undo(int number)
    {
        history::ChangeLock lock(data_);
        history::ChangeSet changes(data_, "undo " + std::to_string(number), true);
        return history::undoChangeSet(data_, set(number), changes);
    }

    testsupport::TempDir music_;
    testsupport::TempDir dataHome_;
    const std::string data_ = dataHome_.file("liedkram");
    const Bytes old_ = testsupport::musicBytes(5000, 1);
    const Bytes new_ = testsupport::musicBytes(4000, 2);
};

}  // namespace

TEST_F(Undo, TheOriginalIsKeptAsASecondNameAndComesBackWithItsName)
{
    const std::string song = music_.write("song.mp3", old_);
    const ino_t original = inodeOf(song);
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, song, new_);
        rename(changes, song, music_.file("Band-Song.mp3"));
        EXPECT_EQ(changes.number(), 1);
    }
    const auto record = set(1);
    ASSERT_EQ(record.changes.size(), 2u);
    EXPECT_EQ(record.command, "fix");
    EXPECT_EQ(history::filesChanged(record), 1u);
    EXPECT_EQ(history::bytesKept(record), old_.size());
    // No copy: the kept original is the file's own content under another name.
    EXPECT_EQ(inodeOf(record.changes[0].kept), original);
    EXPECT_EQ(fs::path(record.changes[0].kept).parent_path(), fs::path(history::originalsDirectory(data_, 1)));

    const auto result = undo(1);
    EXPECT_EQ(result.leftAlone, 0u);
    ASSERT_EQ(result.restored.size(), 1u);
    EXPECT_EQ(result.restored[0].was, music_.file("Band-Song.mp3"));
    EXPECT_EQ(result.restored[0].now, song);
    EXPECT_EQ(readFile(song), old_);
    EXPECT_EQ(inodeOf(song), original);
    EXPECT_FALSE(fs::exists(music_.file("Band-Song.mp3")));
    EXPECT_TRUE(prompter().messages().empty());

    // The undo is a change set of its own: undoing it gives the repair back.
    EXPECT_EQ(undo(2).leftAlone, 0u);
    EXPECT_EQ(readFile(music_.file("Band-Song.mp3")), new_);
    EXPECT_FALSE(fs::exists(song));
}

TEST_F(Undo, AFileChangedSinceOrANameTakenIsLeftAsItIs)
{
    const std::string a = music_.write("a.mp3", old_);
    const std::string b = music_.write("b.mp3", old_);
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, a, new_);
        rename(changes, b, music_.file("B.mp3"));
    }
    music_.write("a.mp3", testsupport::musicBytes(4000, 3));  // another program wrote it
    music_.write("b.mp3", {1, 2, 3});  // the old name is taken
    const auto result = undo(1);
    EXPECT_EQ(result.leftAlone, 2u);
    EXPECT_TRUE(result.restored.empty());
    EXPECT_EQ(readFile(a), testsupport::musicBytes(4000, 3));
    EXPECT_EQ(readFile(music_.file("B.mp3")), old_);
    EXPECT_EQ(readFile(b), (Bytes{1, 2, 3}));
    ASSERT_EQ(prompter().messages().size(), 2u);
    EXPECT_EQ(prompter().messages()[0], "'" + music_.file("B.mp3") + "' kann nicht zurück: der Name '" + b +
                                            "' ist vergeben -> bleibt, wie es ist.");
    EXPECT_EQ(prompter().messages()[1], "'" + a + "' wurde seit \"fix\" geändert -> bleibt, wie es ist.");
}

TEST_F(Undo, WhatAKilledRunLeftIsClearedAwayByTheNextOne)
{
    // Recorded, the original kept, then killed before the new content took the file's place.
    const std::string song = music_.write("song.mp3", old_);
    killedAfter("fix", [&](history::ChangeSet& changes) {
        replace(changes, song, new_, false);
        changes.recordRename(song, music_.file("S.mp3"), platform::fileStamp(song));
    });
    const auto killed = set(1);
    EXPECT_FALSE(killed.finished);
    ASSERT_EQ(killed.changes.size(), 2u);
    EXPECT_EQ(history::keptNamesOf(data_, song), 1u);

    const auto result = undo(1);
    EXPECT_EQ(result.leftAlone, 0u);
    EXPECT_TRUE(result.restored.empty());
    EXPECT_EQ(readFile(song), old_);
    EXPECT_TRUE(prompter().messages().empty());
    const auto cleared = set(1);
    EXPECT_TRUE(cleared.finished);
    EXPECT_TRUE(cleared.changes.empty()) << "changes never made are withdrawn";
    EXPECT_EQ(history::keptNamesOf(data_, song), 0u) << "a kept name of an original never replaced goes";
    EXPECT_EQ(std::distance(fs::directory_iterator(music_.path()), fs::directory_iterator()), 1);
}

TEST_F(Undo, AWithdrawnChangeLeavesTheSetAndItsKeptName)
{
    const std::string a = music_.write("a.mp3", old_);
    const std::string b = music_.write("b.mp3", old_);
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, a, new_);
        platform::File file = platform::File::openRegular(b);
        ASSERT_TRUE(changes.recordReplacement(file, b, platform::fileStamp(b)));
        changes.withdrawLast();
    }
    const auto record = set(1);
    ASSERT_EQ(record.changes.size(), 1u);
    EXPECT_EQ(record.changes[0].path, a);
    EXPECT_EQ(history::keptNamesOf(data_, b), 0u);
    EXPECT_EQ(history::keptNamesOf(data_, record.changes[0].kept), 1u);
}

// An undo killed after it gave the files back, undone again, knows its
// own work: nothing is missing.
TEST_F(Undo, AKilledUndoUndoneAgainFindsItsOwnWork)
{
    const std::string song = music_.write("song.mp3", old_);
    const std::string renamed = music_.file("Band-Song.mp3");
    {
        history::ChangeSet changes(data_, "fix", true);
        rename(changes, song, renamed);
        replace(changes, renamed, new_);
    }
    killedAfter("undo 1", [&](history::ChangeSet& changes) { history::undoChangeSet(data_, set(1), changes); });
    ASSERT_EQ(readFile(song), old_);
    prompter().clear();
    const auto again = undo(1);
    EXPECT_EQ(again.leftAlone, 0u);
    EXPECT_TRUE(prompter().messages().empty()) << prompter().messages().front();
    ASSERT_EQ(again.restored.size(), 1u);
    EXPECT_EQ(again.restored[0].now, song);
    EXPECT_EQ(readFile(song), old_);
}

TEST_F(Undo, AnOriginalOnAnotherFileSystemIsCopiedWhereNoSecondNameCanBeMade)
{
    // A small file system of its own whose top cannot take the backup folder.
    testsupport::TmpfsMount mount("4m");
    if (!mount.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string song = mount.write("song.mp3", old_);
    mount.write(history::backupFolderName(), {0});  // a file where the folder would go
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, song, new_);
    }
    const auto record = set(1);
    const std::string kept = record.changes.at(0).kept;
    EXPECT_EQ(fs::path(kept).parent_path(), fs::path(history::originalsDirectory(data_, 1)));
    struct stat keptInfo {};
    struct stat songInfo {};
    ASSERT_EQ(::stat(kept.c_str(), &keptInfo), 0);
    ASSERT_EQ(::stat(song.c_str(), &songInfo), 0);
    EXPECT_NE(keptInfo.st_dev, songInfo.st_dev);
    EXPECT_EQ(readFile(kept), old_);

    EXPECT_EQ(undo(1).leftAlone, 0u);
    EXPECT_EQ(readFile(song), old_);
}

TEST_F(Undo, PurgingRemovesOldSetsWithTheirOriginalsAndNothingElse)
{
    const std::string a = music_.write("a.mp3", old_);
    const std::string b = music_.write("b.mp3", old_);
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, a, new_);
    }
    const std::string keptA = set(1).changes.at(0).kept;
    // A journal that names a file elsewhere as kept does not get it removed.
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, b, new_);
    }
    const std::string victim = music_.write("victim.mp3", old_);
    const std::string journal = history::changeSetFile(data_, 2);
    const Bytes bytes = readFile(journal);
    std::string text(bytes.begin(), bytes.end());
    const std::string keptB = set(2).changes.at(0).kept;
    text.replace(text.find(keptB), keptB.size(), victim);
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << text;

    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_EQ(history::purgeJournal(data_, 30, now).sets, 0u) << "both are younger than 30 days";
    const auto purged = history::purgeJournal(data_, 30, now + 31 * 86400);
    EXPECT_EQ(purged.sets, 2u);
    EXPECT_EQ(purged.bytes, old_.size());
    EXPECT_FALSE(fs::exists(keptA));
    EXPECT_TRUE(fs::exists(victim));
    EXPECT_TRUE(history::readJournal(data_).empty());
    EXPECT_FALSE(fs::exists(history::originalsDirectory(data_, 1)));
}

// A move to another file system killed at each of its steps: the next run
// finds the file where the kill left it and loses nothing.
TEST_F(Undo, AMoveToAnotherFileSystemKilledHalfwayIsClearedUp)
{
    testsupport::OtherFileSystem other;
    if (!other.available())
        GTEST_SKIP() << "no other file system: " << other.why();
    const std::string from = music_.write("song.mp3", old_);
    const std::string to = other.file("song.mp3");

    // Killed once the move was recorded, before the copy took its name.
    killedAfter("move", [&](history::ChangeSet& changes) {
        platform::File file = platform::File::openRegular(from);
        platform::FileMove move(file, from, to);
        changes.recordRename(from, to, move.before(), move.after(), move.temporaryPath());
    });
    EXPECT_EQ(undo(1).leftAlone, 0u);
    EXPECT_TRUE(fs::is_empty(other.path())) << "the unfinished copy is of no use";
    EXPECT_EQ(readFile(from), old_);

    // Killed after the copy took its name, before the original went.
    killedAfter("move", [&](history::ChangeSet& changes) {
        const platform::FileStamp before = platform::fileStamp(from);
        fs::copy_file(from, to);
        changes.recordRename(from, to, before, platform::fileStamp(to));
    });
    const auto result = undo(history::readJournal(data_).back().number);
    EXPECT_EQ(result.leftAlone, 0u);
    EXPECT_FALSE(fs::exists(to));
    EXPECT_EQ(readFile(from), old_);
    EXPECT_TRUE(prompter().messages().empty());
}

TEST_F(Undo, AMoveToAnotherFileSystemComesBackAndCanBeRedone)
{
    testsupport::OtherFileSystem other;
    if (!other.available())
        GTEST_SKIP() << "no other file system: " << other.why();
    const std::string from = music_.write("song.mp3", old_);
    const std::string to = other.file("song.mp3");
    {
        history::ChangeSet changes(data_, "move", true);
        platform::File file = platform::File::openRegular(from);
        platform::FileMove move(file, from, to);
        changes.recordRename(from, to, move.before(), move.after(), move.temporaryPath());
        move.commit();
    }
    EXPECT_EQ(undo(1).leftAlone, 0u);
    EXPECT_EQ(readFile(from), old_);
    EXPECT_FALSE(fs::exists(to));
    // The undo moved the file back as a move of its own.
    EXPECT_EQ(undo(2).leftAlone, 0u);
    EXPECT_EQ(readFile(to), old_);
    EXPECT_FALSE(fs::exists(from));
}

TEST_F(Undo, ABackupFolderThatIsNotTheUsersOwnIsNeverUsed)
{
    testsupport::TmpfsMount mount("4m");
    if (!mount.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string backup = mount.file(history::backupFolderName());
    const std::string elsewhere = mount.file("elsewhere");
    fs::create_directory(elsewhere);
    const std::string victim = mount.write("elsewhere/victim.mp3", old_);
    // Made by someone else first, open to others, a link to another folder.
    const std::vector<std::function<void()>> traps = {
        [&] {
            fs::create_directory(backup);
            ::chmod(backup.c_str(), 0700);
            ASSERT_EQ(::chown(backup.c_str(), 65534, 65534), 0);
        },
        [&] {
            fs::create_directory(backup);
            ::chmod(backup.c_str(), 0777);
        },
        [&] { fs::create_directory_symlink(elsewhere, backup); },
    };
    int trapNumber = 0;
    for (const auto& trap : traps) {
        ++trapNumber;
        trap();
        const std::string song = mount.write("song" + std::to_string(trapNumber) + ".mp3", old_);
        {
            history::ChangeSet changes(data_, "fix", true);
            replace(changes, song, new_);
        }
        const auto sets = history::readJournal(data_);
        ASSERT_EQ(sets.size(), 1u);
        const std::string kept = sets[0].changes.at(0).kept;
        EXPECT_EQ(fs::path(kept).parent_path(), fs::path(history::originalsDirectory(data_, sets[0].number)))
            << "trap " << trapNumber;
        EXPECT_EQ(readFile(kept), old_);
        const auto purged = history::purgeJournal(data_, 1, static_cast<std::int64_t>(std::time(nullptr)) + 86400 * 2);
        EXPECT_EQ(purged.sets, 1u);
        EXPECT_EQ(readFile(victim), old_) << "purge went through the link";
        fs::remove(backup);
    }

    // The user's own folder, but a kept original replaced by another file:
    // undo does not put that one back.
    const std::string song = mount.write("song.mp3", old_);
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, song, new_);
    }
    const auto sets = history::readJournal(data_);
    ASSERT_EQ(sets.size(), 1u);
    const std::string kept = sets[0].changes.at(0).kept;
    ASSERT_EQ(kept.rfind(backup, 0), 0u) << kept;
    fs::remove(kept);
    testsupport::TempDir scratch;
    fs::copy_file(scratch.write("forged.mp3", testsupport::musicBytes(5000, 7)), kept);
    EXPECT_EQ(undo(sets[0].number).leftAlone, 1u);
    EXPECT_EQ(readFile(song), new_);
}

TEST_F(Undo, AJournalOthersMayChangeIsNotRead)
{
    const std::string song = music_.write("song.mp3", old_);
    {
        history::ChangeSet changes(data_, "fix", true);
        replace(changes, song, new_);
    }
    const std::string file = history::changeSetFile(data_, 1);
    ::chmod(file.c_str(), 0666);
    std::vector<std::string> notOwned;
    EXPECT_TRUE(history::readJournal(data_, &notOwned).empty());
    EXPECT_EQ(notOwned, std::vector<std::string>{file});
    EXPECT_EQ(history::notOwnedMessage(file), "'" + file + "' geh\xC3\xB6rt nicht Ihnen -> nicht verwendet.");
    ::chmod(file.c_str(), 0600);
    ::chmod(data_.c_str(), 0777);
    notOwned.clear();
    EXPECT_TRUE(history::readJournal(data_, &notOwned).empty());
    EXPECT_EQ(notOwned, std::vector<std::string>{data_});
    ::chmod(data_.c_str(), 0700);
    EXPECT_EQ(history::readJournal(data_).size(), 1u);
}

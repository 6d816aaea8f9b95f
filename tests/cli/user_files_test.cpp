#include "cli_runner.h"
#include "old_rip.h"
#include "song_file.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using clitest::CliRunner;
using clitest::ProgramRun;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

constexpr int kNobody = 65534;

struct Owner {
    uid_t uid;
    gid_t gid;
    mode_t mode;
    friend bool operator==(const Owner&, const Owner&) = default;
};

Owner ownerOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return {info.st_uid, info.st_gid, info.st_mode & 07777};
}

class UserFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The repairs these cases look at are those of the audio and the
        // ID3v1 tag; the ID3v2 tag a repair writes has cases of its own.
        cli_.store("SetID3V2", "0");
        clitest::writeSong(music_, "a.mp3", "Abba", "SOS");
        clitest::writeSong(music_, "b.mp3", "Band", "Song");
        ASSERT_EQ(cli_.run({"add", list_, music_.file("a.mp3")}).status, 0);
        listBytes_ = readFile(list_);
    }

    testsupport::TempDir music_;
    CliRunner cli_;
    const std::string list_ = music_.file("liste.m3l");
    Bytes listBytes_;
};

}  // namespace

TEST_F(UserFiles, AReadOnlyListIsNeverReplaced)
{
    const Bytes song = readFile(music_.file("a.mp3"));
    ASSERT_EQ(::chmod(list_.c_str(), 0444), 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"sort", list_, "1"}, std::vector<std::string>{"add", list_, music_.file("b.mp3")},
          std::vector<std::string>{"fix", "--list", list_}}) {
        const ProgramRun run = cli_.run(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_NE(run.err.find("Cannot save '" + list_ + "' cause: 5 (Permission denied)"), std::string::npos)
            << run.err;
        EXPECT_TRUE(readFile(list_) == listBytes_) << args[0];
        EXPECT_EQ(ownerOf(list_).mode, 0444u);
    }
    EXPECT_TRUE(readFile(music_.file("a.mp3")) == song) << "fix --list repairs nothing it cannot list";
}

TEST_F(UserFiles, AReplacedListKeepsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give the list another owner";
    ASSERT_EQ(::chown(list_.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(list_.c_str(), 0640), 0);
    const ProgramRun add = cli_.run({"add", list_, music_.file("b.mp3")});
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_FALSE(readFile(list_) == listBytes_);
    EXPECT_EQ(ownerOf(list_), (Owner{1234, 5678, 0640}));
}

TEST_F(UserFiles, AnotherUsersListIsWrittenInPlaceWhenItsOwnerCannotBeKept)
{
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    // A shared folder: the other user may write the list but not own it.
    fs::permissions(music_.path(), fs::perms::all);
    ASSERT_EQ(::chmod(list_.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(music_.file("b.mp3").c_str(), 0644), 0);
    cli_.runAs(kNobody);
    const ProgramRun add = cli_.run({"add", list_, music_.file("b.mp3")});
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.out, "added " + music_.file("b.mp3") + "\n");
    EXPECT_EQ(ownerOf(list_), (Owner{0, 0, 0666}));

    // A list the other user may only read stays as it is.
    ASSERT_EQ(::chmod(list_.c_str(), 0644), 0);
    const Bytes before = readFile(list_);
    const ProgramRun sort = cli_.run({"sort", list_, "2"});
    EXPECT_EQ(sort.status, 1);
    EXPECT_TRUE(readFile(list_) == before);
}

TEST_F(UserFiles, AnExportNeverReplacesAnMp3File)
{
    const Bytes song = readFile(music_.file("b.mp3"));
    fs::create_symlink(music_.file("b.mp3"), music_.file("out.txt"));
    const ProgramRun onMp3 = cli_.run({"export", "txt", music_.file("out.txt"), "--list", list_});
    EXPECT_EQ(onMp3.status, 1);
    EXPECT_NE(onMp3.err.find("cause: 5 (Is an MP3 file)"), std::string::npos) << onMp3.err;
    EXPECT_TRUE(readFile(music_.file("b.mp3")) == song);
    EXPECT_TRUE(fs::is_symlink(music_.file("out.txt")));

    // Known by its content too, whatever its name.
    fs::copy_file(music_.file("b.mp3"), music_.file("renamed.txt"));
    EXPECT_EQ(cli_.run({"export", "m3u", music_.file("renamed.txt"), "--list", list_}).status, 1);
    EXPECT_TRUE(readFile(music_.file("renamed.txt")) == song);

    // A link to another file has that file replaced and stays a link.
    music_.write("old.txt", {'o', 'l', 'd'});
    fs::create_symlink(music_.file("old.txt"), music_.file("names.txt"));
    const ProgramRun onText = cli_.run({"export", "txt", music_.file("names.txt"), "--list", list_});
    EXPECT_EQ(onText.status, 0) << onText.err;
    EXPECT_TRUE(fs::is_symlink(music_.file("names.txt")));
    EXPECT_EQ(clitest::textOf(music_.file("old.txt")), "a.mp3\r\n");
}

TEST_F(UserFiles, AListEntryThatDoesNotMatchItsFileLeavesTheFileAlone)
{
    // A hand-made list whose entry names a text file of the size it claims.
    const std::string text(static_cast<std::size_t>(fs::file_size(music_.file("a.mp3"))), 'x');
    fs::remove(music_.file("a.mp3"));
    music_.write("a.mp3", Bytes(text.begin(), text.end()));
    const ProgramRun fix = cli_.run({"fix", "--rename=no", "--list", list_});
    EXPECT_EQ(fix.status, 1);
    EXPECT_NE(fix.err.find("(it is not an MP3 file) -> file unchanged."), std::string::npos) << fix.err;
    EXPECT_EQ(clitest::textOf(music_.file("a.mp3")), text);
}

TEST_F(UserFiles, AFolderPathOfAnyLengthIsTheOneActedOn)
{
    // A folder path of more than 255 bytes, and a decoy of the same size
    // where a path cut at 255 bytes would point.
    const std::string folder(255 - music_.path().size() - 1, 'd');
    const std::string cut = music_.file(folder);
    ASSERT_EQ(cut.size(), 255u);
    const std::string deep = cut + "/inner";
    fs::create_directories(deep);
    const clitest::OldRip rip = clitest::beatlesRip();
    const std::string song = music_.write(folder + "/inner/" + rip.name, rip.bytes);
    const std::string decoy = music_.write(folder + "/" + rip.name, rip.bytes);

    const std::string list = music_.file("deep.m3l");
    ASSERT_EQ(cli_.run({"add", list, song}).status, 0);
    const ProgramRun fix = cli_.run({"fix", "--rename=yes", "--list", list});
    EXPECT_EQ(fix.status, 0) << fix.err;
    EXPECT_TRUE(readFile(deep + "/" + rip.repairedName) == rip.repaired);
    EXPECT_TRUE(readFile(decoy) == rip.bytes) << "the decoy is not touched";
    const ProgramRun listed = cli_.run({"list", list});
    EXPECT_NE(listed.out.find(deep + "\t"), std::string::npos) << listed.out;
}

TEST_F(UserFiles, WhatIsAppendedWhileFixRunsIsNeverLost)
{
    // About 10 MB: the copy takes long enough to be written to meanwhile.
    // The back is kept (DelBack=0), so nothing appended is junk to cut.
    const clitest::OldRip rip = clitest::beatlesRip(24000);
    const std::string marker = "appended by another program";
    // Appends once `when` says so (given whether the run has ended).
    const auto fixWhileAppending = [&](const std::function<void(const std::atomic<bool>&)>& when) {
        const std::string song = music_.write(rip.name, rip.bytes);
        ProgramRun fix{};
        std::atomic<bool> ended = false;
        std::thread run([&] {
            fix = cli_.run({"fix", "--rename=no", "--set", "DelBack=0", song});
            ended = true;
        });
        when(ended);
        std::ofstream(song, std::ios::binary | std::ios::app) << marker;
        run.join();
        const std::string after = clitest::textOf(song);
        EXPECT_EQ(after.substr(after.size() - marker.size()), marker) << fix.err;
        return fix;
    };

    // By a program that holds the file open for writing all the while.
    {
        const std::string song = music_.write(rip.name, rip.bytes);
        std::ofstream writer(song, std::ios::binary | std::ios::app);
        ProgramRun held{};
        std::thread run([&] { held = cli_.run({"fix", "--rename=no", "--set", "DelBack=0", song}); });
        for (int record = 0; record < 40; ++record) {
            writer << marker << record << '\n' << std::flush;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        run.join();
        writer.close();
        EXPECT_EQ(held.status, 1);
        // Told when it writes before the file is checked, else when the lease shows it.
        EXPECT_TRUE(held.err.find("(in use by another program) -> file unchanged.") != std::string::npos ||
                    held.err.find("(the file has changed since it was listed) -> file unchanged.") != std::string::npos)
            << held.err;
        const std::string after = clitest::textOf(song);
        for (int record = 0; record < 40; ++record)
            EXPECT_NE(after.find(marker + std::to_string(record) + "\n"), std::string::npos) << record;
    }

    // At moments spread over a run: before it reads the file, while it
    // copies, around the moment the new content takes the file's place.
    const std::string alone = music_.write("alone.mp3", rip.bytes);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(cli_.run({"fix", "--rename=no", "--set", "DelBack=0", alone}).status, 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    for (int step = 0; step < 12; ++step)
        fixWhileAppending([&](const std::atomic<bool>&) { std::this_thread::sleep_for(whole * step / 10); });
}

// A neighbour who owns the folder root's fix or move works in swaps every
// name they can for a link to a file only root may read, all the while.
TEST_F(UserFiles, ANeighbourSwappingNamesGetsNoneOfRootsFiles)
{
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    testsupport::TempDir secrets;
    const std::string secret = secrets.write("secret", {'k', 'e', 'y'});
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
    fs::permissions(secrets.path(), fs::perms::owner_all | fs::perms::others_exec);
    testsupport::TempDir theirs;
    const std::string folder = theirs.file("shared");
    fs::create_directory(folder);
    ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    fs::permissions(theirs.path(), fs::perms::owner_all | fs::perms::others_exec);
    // Moved to another file system where there is one: copied, then removed.
    testsupport::TmpfsMount mount("16m");
    testsupport::TempDir folderHere;
    const std::string moved = mount.mounted() ? mount.path() : folderHere.path();
    fs::permissions(moved, fs::perms::all);
    struct stat secretInfo {};
    ASSERT_EQ(::stat(secret.c_str(), &secretInfo), 0);

    const std::string swapper = "while :; do for f in '" + folder + "'/.[!.]* '" + folder + "'/*.tmp '" + moved +
                                "'/.[!.]* '" + moved + "'/*.tmp; do [ -e \"$f\" ] || [ -L \"$f\" ] && ln -sfn '" +
                                secret + "' \"$f\"; done; done";
    const pid_t neighbour = ::fork();
    if (neighbour == 0) {
        ::execl("/usr/bin/setpriv", "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "/bin/sh", "-c",
                swapper.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int round = 0; round < 6; ++round) {
        const clitest::OldRip rip = clitest::beatlesRip(2000);
        const std::string song = folder + "/" + std::to_string(round) + ".mp3";
        std::ofstream(song, std::ios::binary)
            .write(reinterpret_cast<const char*>(rip.bytes.data()), static_cast<std::streamsize>(rip.bytes.size()));
        ASSERT_EQ(::chown(song.c_str(), kNobody, kNobody), 0);
        const ProgramRun run = round % 2 == 0 ? cli_.run({"fix", "--rename=no", song}) : cli_.run({"add", list_, song});
        if (round % 2 == 1)
            cli_.run({"move", list_, moved, song});
        for (const std::string& path : {song, moved + "/" + std::to_string(round) + ".mp3"}) {
            struct stat info {};
            if (::lstat(path.c_str(), &info) != 0)
                continue;
            EXPECT_TRUE(S_ISREG(info.st_mode)) << path << " became a link\n" << run.err;
            EXPECT_NE(info.st_ino, secretInfo.st_ino) << path;
        }
    }
    ::kill(neighbour, SIGKILL);
    ::waitpid(neighbour, nullptr, 0);
    EXPECT_EQ(ownerOf(secret), (Owner{0, 0, 0600}));
    EXPECT_EQ(clitest::textOf(secret), "key");
}

TEST_F(UserFiles, AnotherUsersFileInASharedFolderIsNotRewritten)
{
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    fs::permissions(music_.path(), fs::perms::all);
    ASSERT_EQ(::chmod(music_.file("b.mp3").c_str(), 0666), 0);
    const Bytes before = readFile(music_.file("b.mp3"));
    cli_.runAs(kNobody);
    const ProgramRun fix = cli_.run({"fix", "--rename=no", music_.file("b.mp3")});
    EXPECT_EQ(fix.status, 1);
    EXPECT_NE(fix.err.find("(it belongs to another user) -> file unchanged."), std::string::npos) << fix.err;
    EXPECT_TRUE(readFile(music_.file("b.mp3")) == before);
    EXPECT_EQ(ownerOf(music_.file("b.mp3")), (Owner{0, 0, 0666}));
}

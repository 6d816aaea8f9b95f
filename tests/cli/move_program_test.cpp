#include "cli/scan_table.h"
#include "cli_process.h"
#include "cli_runner.h"
#include "platform/replacement_file.h"
#include "song_file.h"
#include "support/mp3_builder.h"
#include "support/other_file_system.h"
#include "support/temp_dir.h"
#include "table_fields.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

using clitest::CliProcess;
using clitest::CliRunner;
using clitest::ProgramRun;
using testsupport::Bytes;
using testsupport::readFile;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPathColumn = 1;

class MoveProgram : public ::testing::Test {
protected:
    // Songs listed in a new list.
    void listSongs(const std::vector<std::string>& names)
    {
        std::vector<std::string> args = {"add", list_};
        for (const std::string& name : names)
            args.push_back(clitest::writeSong(music_, name, "Band", name));
        const ProgramRun add = cli_.run(args);
        ASSERT_EQ(add.status, 0) << add.err;
    }

    // The folder column of the list, row by row.
    std::vector<std::string> listedFolders()
    {
        const ProgramRun list = cli_.run({"list", list_});
        EXPECT_EQ(list.status, 0) << list.err;
        std::vector<std::string> folders;
        std::size_t begin = list.out.find('\n') + 1;
        for (std::size_t end; (end = list.out.find('\n', begin)) != std::string::npos; begin = end + 1)
            folders.push_back(clitest::fieldsOf(list.out.substr(begin, end - begin)).at(kPathColumn));
        return folders;
    }

    CliRunner cli_;
    testsupport::TempDir music_;
    testsupport::TempDir target_;
    testsupport::TempDir lists_;
    const std::string list_ = lists_.file("Musik.m3l");
};

}  // namespace

TEST_F(MoveProgram, TheNamedFilesMoveAndTheListFollows)
{
    listSongs({"a.mp3", "b.mp3", "c.mp3"});
    const Bytes a = readFile(music_.file("a.mp3"));
    // One named by its path, one through a link to its folder.
    fs::create_directory_symlink(music_.path(), lists_.file("link"));
    const ProgramRun move =
        cli_.run({"move", list_, target_.path() + "/", music_.file("a.mp3"), lists_.file("link/c.mp3")});
    EXPECT_EQ(move.status, 0) << move.err;
    EXPECT_EQ(move.err, "");
    EXPECT_EQ(move.out, "moved " + music_.file("a.mp3") + " -> " + target_.file("a.mp3") + "\nmoved " +
                            music_.file("c.mp3") + " -> " + target_.file("c.mp3") + "\n");
    EXPECT_EQ(readFile(target_.file("a.mp3")), a);
    EXPECT_FALSE(fs::exists(music_.file("a.mp3")));
    EXPECT_TRUE(fs::exists(music_.file("b.mp3")));
    EXPECT_EQ(listedFolders(), (std::vector<std::string>{target_.path(), music_.path(), target_.path()}));
}

TEST_F(MoveProgram, ATakenNameAFileGoneAndAnUnlistedPathAreToldAndTheRestMoves)
{
    listSongs({"a.mp3", "b.mp3", "c.mp3", "d.mp3"});
    const std::string taken = target_.write("b.mp3", {1, 2, 3});
    fs::remove(music_.file("c.mp3"));
    const ProgramRun move = cli_.run({"move", list_, target_.path(), "--all"});
    EXPECT_EQ(move.status, 1);
    EXPECT_EQ(move.out, "moved " + music_.file("a.mp3") + " -> " + target_.file("a.mp3") + "\nmoved " +
                            music_.file("d.mp3") + " -> " + target_.file("d.mp3") + "\n");
    EXPECT_NE(move.err.find("'" + taken + "' gibt es schon -> '" + music_.file("b.mp3") + "' bleibt, wo es ist."),
              std::string::npos)
        << move.err;
    EXPECT_NE(move.err.find("'" + music_.file("c.mp3") + "' ist nicht mehr da"), std::string::npos) << move.err;
    EXPECT_EQ(readFile(taken), (Bytes{1, 2, 3}));
    EXPECT_TRUE(fs::exists(music_.file("b.mp3")));
    EXPECT_EQ(listedFolders(),
              (std::vector<std::string>{target_.path(), music_.path(), music_.path(), target_.path()}));

    const ProgramRun unlisted = cli_.run({"move", list_, music_.path(), target_.file("a.mp3"), "/nirgends/x.mp3"});
    EXPECT_EQ(unlisted.status, 1);
    EXPECT_EQ(unlisted.out, "moved " + target_.file("a.mp3") + " -> " + music_.file("a.mp3") + "\n");
    EXPECT_NE(unlisted.err.find("'/nirgends/x.mp3' is not in the list -> not moved."), std::string::npos)
        << unlisted.err;
}

TEST_F(MoveProgram, NothingMovesIntoAFolderTheUserMayNotWrite)
{
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    constexpr int kNobody = 65534;
    listSongs({"a.mp3"});
    // The songs and the list are the other user's to change; the folder is not.
    fs::permissions(music_.path(), fs::perms::all);
    fs::permissions(lists_.path(), fs::perms::all);
    fs::permissions(list_, fs::perms::all);
    fs::permissions(target_.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    cli_.runAs(kNobody);
    const ProgramRun move = cli_.run({"move", list_, target_.path(), "--all"});
    EXPECT_EQ(move.status, 1);
    EXPECT_EQ(move.out, "");
    EXPECT_NE(move.err.find("In '" + target_.path() +
                            "' kann nicht geschrieben werden, cause: 5 (Permission denied) -> nichts verschoben."),
              std::string::npos)
        << move.err;
    EXPECT_TRUE(fs::exists(music_.file("a.mp3")));
}

TEST_F(MoveProgram, UndoPutsTheFilesBackAcrossFileSystems)
{
    testsupport::OtherFileSystem other;
    if (!other.available())
        GTEST_SKIP() << "no other file system: " << other.why();
    listSongs({"a.mp3", "b.mp3"});
    const Bytes a = readFile(music_.file("a.mp3"));
    const ProgramRun move = cli_.run({"move", list_, other.path(), "--all"});
    ASSERT_EQ(move.status, 0) << move.err;
    EXPECT_EQ(readFile(other.file("a.mp3")), a);
    EXPECT_FALSE(fs::exists(music_.file("a.mp3")));
    EXPECT_EQ(listedFolders(), (std::vector<std::string>{other.path(), other.path()}));

    const ProgramRun undo = cli_.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_NE(undo.out.find("restored " + other.file("a.mp3") + " -> " + music_.file("a.mp3")), std::string::npos)
        << undo.out;
    EXPECT_EQ(readFile(music_.file("a.mp3")), a);
    EXPECT_TRUE(fs::is_empty(other.path()));
}

// Moves to another file system killed at moments spread over the run: every
// file is in its old place, its new place or both, whole, and undo gives
// every one back.
TEST(MoveKilled, NoFileIsEverLost)
{
    testsupport::OtherFileSystem other;
    constexpr int kSongs = 24;
    constexpr int kKills = 12;
    constexpr auto kPollStep = std::chrono::microseconds(200);
    testsupport::TempDir music;
    const std::string target = other.available() ? other.path() : music.file("neu");
    if (!other.available()) {
        std::cout << "no other file system (" << other.why() << "): moving within one\n";
        fs::create_directory(target);
    }
    // About 1 MB each: long enough for kills within the copies.
    std::map<std::string, Bytes> songs;
    for (int i = 0; i < kSongs; ++i) {
        Bytes bytes = testsupport::frames({}, 2400);
        bytes[1000] = static_cast<std::uint8_t>(i);
        songs["song " + std::to_string(i) + ".mp3"] = bytes;
    }
    const auto putBack = [&] {
        for (const auto& [name, bytes] : songs) {
            fs::remove(target + "/" + name);
            music.write(name, bytes);
        }
        for (const auto& leftover : fs::directory_iterator(target))
            fs::remove(leftover.path());
    };
    const auto runMove = [&](CliRunner& cli, const std::string& list, double killAfter) {
        testsupport::TempDir output;
        CliProcess move({"XDG_CONFIG_HOME=" + cli.configDir(), "XDG_DATA_HOME=" + cli.dataHome()},
                        {"move", list, target, "--all"}, output.file("err"));
        EXPECT_TRUE(move.started());
        while (!move.ended() && move.elapsed() < killAfter)
            std::this_thread::sleep_for(kPollStep);
        const double took = move.elapsed();
        move.kill();
        return took;
    };
    const auto listAll = [&](CliRunner& cli, const std::string& list) {
        std::vector<std::string> args = {"add", list};
        for (const auto& [name, bytes] : songs)
            args.push_back(music.file(name));
        ASSERT_EQ(cli.run(args).status, 0);
    };

    putBack();
    double whole = 0;
    {
        CliRunner cli;
        testsupport::TempDir lists;
        listAll(cli, lists.file("l.m3l"));
        whole = runMove(cli, lists.file("l.m3l"), 60.0);
        for (const auto& [name, bytes] : songs)
            ASSERT_EQ(readFile(target + "/" + name), bytes) << name;
    }
    int inBoth = 0;
    int moved = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        putBack();
        CliRunner cli;
        testsupport::TempDir lists;
        listAll(cli, lists.file("l.m3l"));
        const double at = whole * (kill + 0.5) / kKills;
        runMove(cli, lists.file("l.m3l"), at);
        for (const auto& [name, bytes] : songs) {
            const bool old = fs::exists(music.file(name));
            const bool now = fs::exists(target + "/" + name);
            ASSERT_TRUE(old || now) << name << " is lost after a kill at " << at << " s";
            if (old) {
                EXPECT_EQ(readFile(music.file(name)), bytes) << name;
            }
            if (now) {
                EXPECT_EQ(readFile(target + "/" + name), bytes) << name;
            }
            inBoth += old && now;
            moved += now && !old;
        }
        const ProgramRun undo = cli.run({"undo"});
        for (const auto& [name, bytes] : songs) {
            EXPECT_EQ(readFile(music.file(name)), bytes) << name << " after undo; " << undo.err;
            EXPECT_FALSE(fs::exists(target + "/" + name)) << name << " after undo";
        }
    }
    EXPECT_GT(moved, 0) << "no kill came after a file was moved";
    std::cout << "whole move " << whole << " s; after " << kKills << " kills: " << moved << " files moved, " << inBoth
              << " in both places\n";
}

#include "platform/byte_reader.h"
#include "platform/file.h"
#include "platform/file_error.h"
#include "platform/path.h"
#include "platform/replacement_file.h"
#include "platform/runtime_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using testsupport::Bytes;
using testsupport::TempDir;

TEST(FileCause, ErrnoMapsToTheFrameworkNumbers)
{
    EXPECT_EQ(causeFromErrno(0), FileCause::None);
    EXPECT_EQ(static_cast<int>(causeFromErrno(ENOENT)), 2);
    EXPECT_EQ(static_cast<int>(causeFromErrno(ENOTDIR)), 3);
    EXPECT_EQ(static_cast<int>(causeFromErrno(EMFILE)), 4);
    EXPECT_EQ(static_cast<int>(causeFromErrno(EACCES)), 5);
    EXPECT_EQ(static_cast<int>(causeFromErrno(EEXIST)), 5);
    EXPECT_EQ(static_cast<int>(causeFromErrno(EROFS)), 5);
    EXPECT_EQ(static_cast<int>(causeFromErrno(EIO)), 10);
    EXPECT_EQ(static_cast<int>(causeFromErrno(ENOSPC)), 13);
    EXPECT_EQ(static_cast<int>(causeFromErrno(E2BIG)), 1);
}

TEST(File, ReadsWritesSeeksAndTruncates)
{
    TempDir dir;
    const std::string path = dir.file("a.bin");
    {
        File file(path, File::Mode::CreateTruncate);
        const Bytes content = {1, 2, 3, 4, 5, 6};
        file.write(content);
        EXPECT_EQ(file.length(), 6);
        file.seek(2);
        Bytes two(2);
        EXPECT_EQ(file.read(two), 2u);
        EXPECT_EQ(two, (Bytes{3, 4}));
        file.readExactAt(4, two);
        EXPECT_EQ(two, (Bytes{5, 6}));
        file.setLength(3);
        file.sync();
        file.close();
    }
    EXPECT_EQ(testsupport::readFile(path), (Bytes{1, 2, 3}));

    File reader(path, File::Mode::Read);
    Bytes buffer(10);
    EXPECT_EQ(reader.read(buffer), 3u);
    reader.seek(1);
    EXPECT_EQ(reader.read(buffer), 2u);
    Bytes five(5);
    EXPECT_THROW(reader.readExactAt(1, five), platform::OutOfBytes);
    EXPECT_NO_THROW(reader.readExactAt(3, std::span(five).first(0)));
}

TEST(File, OpeningFailuresCarryTheirCause)
{
    TempDir dir;
    try {
        File missing(dir.file("missing.mp3"), File::Mode::Read);
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileCause::FileNotFound);
        EXPECT_EQ(error.path(), dir.file("missing.mp3"));
    }
    try {
        File directory(dir.path(), File::Mode::Read);
        FAIL() << "a directory is no file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileCause::AccessDenied);
    }
    dir.write("there", {1});
    EXPECT_THROW(File(dir.file("there"), File::Mode::CreateExclusive), FileError);
}

TEST(RenameNoReplace, NeverReplacesAnExistingFile)
{
    TempDir dir;
    const auto a = dir.write("a.mp3", {1, 1});
    const auto b = dir.write("b.mp3", {2, 2});
    try {
        renameNoReplace(a, b);
        FAIL() << "the rename must not replace b.mp3";
    } catch (const FileError& error) {
        EXPECT_EQ(error.causeNumber(), 5);
    }
    EXPECT_EQ(testsupport::readFile(a), (Bytes{1, 1}));
    EXPECT_EQ(testsupport::readFile(b), (Bytes{2, 2}));

    const auto c = dir.file("c.mp3");
    renameNoReplace(a, c);
    EXPECT_FALSE(fileExists(a));
    EXPECT_EQ(testsupport::readFile(c), (Bytes{1, 1}));

    EXPECT_THROW(renameNoReplace(dir.file("gone.mp3"), dir.file("d.mp3")), FileError);
}

TEST(Path, SplitsAtTheLastSeparatorAndJoins)
{
    auto split = splitPath("/home/u/Musik/a - b.mp3");
    EXPECT_EQ(split.directory, "/home/u/Musik");
    EXPECT_EQ(split.name, "a - b.mp3");
    split = splitPath("/root.mp3");
    EXPECT_EQ(split.directory, "");
    EXPECT_EQ(split.name, "root.mp3");
    split = splitPath("plain.mp3");
    EXPECT_EQ(split.directory, "");
    EXPECT_EQ(split.name, "plain.mp3");
    EXPECT_EQ(joinPath("/home/u", "x.mp3"), "/home/u/x.mp3");
    EXPECT_EQ(joinPath("", "root.mp3"), "/root.mp3");
}

TEST(ReplacementFile, ARelativeNameIsReplacedInItsOwnDirectory)
{
    TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    {
        ReplacementFile replacement("new.m3l");
        const Bytes content = {1, 2, 3};
        replacement.file().write(content);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 0)
            << "the new content has no name until it takes the target's";
        replacement.commit();
    }
    std::filesystem::current_path(previous);
    EXPECT_EQ(testsupport::readFile(dir.file("new.m3l")), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(MemoryReader, ReadsAsTheFileItHoldsWould)
{
    TempDir dir;
    const Bytes content = {10, 11, 12, 13, 14, 15, 16};
    File file(dir.write("a.bin", content), File::Mode::Read);
    MemoryReader memory(content);
    // Inside, across the end, at the end and past it.
    for (const std::int64_t offset : {0, 3, 5, 7, 9}) {
        for (const std::size_t size : {0u, 2u, 4u}) {
            Bytes fromFile(size, 0xEE);
            Bytes fromMemory(size, 0xEE);
            EXPECT_EQ(memory.readAt(offset, fromMemory), file.readAt(offset, fromFile)) << offset << "+" << size;
            EXPECT_EQ(fromMemory, fromFile) << offset << "+" << size;
        }
    }
}

TEST(PrivateRuntimeFolder, IsTheUsersOwnAndClosedOrNone)
{
    TempDir dir;
    const auto runtime = dir.file("runtime");
    const auto top = dir.file("tmp");
    std::filesystem::create_directory(runtime);
    std::filesystem::create_directory(top);
    ::chmod(top.c_str(), 01777);
    const auto fallback = joinPath(top, "liedkram-" + std::to_string(::geteuid()));

    ::chmod(runtime.c_str(), 0700);
    EXPECT_EQ(privateRuntimeFolder(runtime, top), runtime);

    ::chmod(runtime.c_str(), 0755);
    EXPECT_EQ(privateRuntimeFolder(runtime, top), fallback) << "a runtime folder others may enter";
    EXPECT_EQ(privateRuntimeFolder(std::nullopt, top), fallback);
    struct stat info {};
    ASSERT_EQ(::lstat(fallback.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);

    ::chmod(fallback.c_str(), 0770);
    EXPECT_EQ(privateRuntimeFolder(std::nullopt, top), std::nullopt) << "a fallback others may enter is not used";
    std::filesystem::remove(fallback);
    std::filesystem::create_directory_symlink(runtime, fallback);
    ::chmod(runtime.c_str(), 0700);
    EXPECT_EQ(privateRuntimeFolder(std::nullopt, top), std::nullopt) << "a link in place of the fallback";
    std::filesystem::remove(fallback);

    if (::geteuid() != 0)
        GTEST_SKIP() << "a folder of another user needs root to make";
    std::filesystem::create_directory(fallback);
    ::chmod(fallback.c_str(), 0700);
    ASSERT_EQ(::chown(fallback.c_str(), 65534, 65534), 0);
    EXPECT_EQ(privateRuntimeFolder(std::nullopt, top), std::nullopt) << "another user made the fallback first";
}

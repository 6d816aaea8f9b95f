// What reading the ID3v2 tag costs: the same small MP3 files (8 frames and
// an ID3v1 tag each, in 100 folders) without an ID3v2 tag, with a 2 KB one
// and with one holding a 150 KB front cover, built once in the private temp
// directory, each figure beside the untagged files in the same run:
//   loading every file (target: within 1.3 times the untagged files),
//   liedkram-cli add of the 2 KB tagged files (vs liedkram-cli scan of them;
//   target: within 2 times).
// Usage: liedkram-bench-tags [--files N]  (default 100,000; the pictures
// take 150 KB a file, so at most 5,000 files get them).

#include "bench_files.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"
#include "support/test_doubles.h"

#include "entry/liedkram_entry.h"
#include "platform/private_temp_dir.h"
#include "tags/tag_kinds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kDefaultFiles = 100000;
constexpr int kMaxPictureFiles = 5000;
constexpr int kFolders = 100;
constexpr std::size_t kTagBytes = 2048;
constexpr std::size_t kPictureBytes = 150 * 1024;

std::string artistOf(int i)
{
    return "Artist " + std::to_string(i % 997);
}

std::string titleOf(int i)
{
    return "Title " + std::to_string(i);
}

struct Collection {
    std::string root;
    std::vector<std::string> paths;
};

// count files under root, each the audio with the ID3v1 tag and, when
// pictureBytes is not npos, an ID3v2 tag in front.
Collection writeCollection(const std::string& root, int count, std::size_t pictureBytes)
{
    const bench::Bytes audio = bench::musicFrames(3300);
    Collection collection{root, {}};
    ::mkdir(root.c_str(), 0700);
    for (int folder = 0; folder < kFolders; ++folder)
        ::mkdir((root + "/" + std::to_string(folder)).c_str(), 0700);
    for (int i = 0; i < count; ++i) {
        bench::Bytes bytes;
        if (pictureBytes != std::string::npos)
            bytes = bench::id3v2Tag(titleOf(i), artistOf(i), pictureBytes, kTagBytes);
        bytes.insert(bytes.end(), audio.begin(), audio.end());
        const bench::Bytes tag = bench::id3v1Tag(titleOf(i), artistOf(i));
        bytes.insert(bytes.end(), tag.begin(), tag.end());
        collection.paths.push_back(root + "/" + std::to_string(i % kFolders) + "/" + artistOf(i) + " - " + titleOf(i) +
                                   ".mp3");
        bench::writeFile(collection.paths.back(), bytes);
    }
    return collection;
}

// The best of two rounds of loading the first count files.
double loadSeconds(const Collection& collection, std::size_t count, bool tagged)
{
    bench::BestOf load;
    for (int round = 0; round < 2; ++round) {
        load.time([&] {
            for (std::size_t i = 0; i < count; ++i) {
                const CLiedkramEntry entry(collection.paths[i], platform::readRepairSettings());
                const bool read =
                    (entry.m_nTagKinds & tags::kTagId3v23) != 0 && entry.m_szAlbum.view() == "Greatest Hits";
                if (entry.m_dwHeader == 0 || entry.m_bVerified != 1 || read != tagged)
                    throw std::runtime_error("not loaded as written: " + collection.paths[i]);
            }
        });
    }
    return load.seconds();
}

void loadLine(const char* what, std::size_t count, double tagged, double plain)
{
    std::printf("load %zu files, %s: %7.0f files/s   (without ID3v2: %7.0f files/s; ratio %.2f, target <= 1.3)\n",
                count, what, static_cast<double>(count) / tagged, static_cast<double>(count) / plain, tagged / plain);
}

double wallSeconds(const std::string& command)
{
    const auto begin = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("failed: " + command);
    return took.count();
}

int filesFrom(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--files") == 0) {
        const int files = std::atoi(argv[2]);
        if (files > 0)
            return files;
    }
    if (argc != 1)
        throw std::runtime_error("usage: liedkram-bench-tags [--files N]");
    return kDefaultFiles;
}

int run(int files)
{
    platform::PrivateTempDir dir;
    // The command-line runs keep their settings and journal in here.
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    const int pictureFiles = std::min(files, kMaxPictureFiles);
    const Collection plain = writeCollection(dir.file("plain"), files, std::string::npos);
    const Collection tagged = writeCollection(dir.file("tagged"), files, 0);
    const Collection pictures = writeCollection(dir.file("pictures"), pictureFiles, kPictureBytes);
    std::printf("%d files in %d folders, each without an ID3v2 tag and with a 2 KB one; %d with a 150 KB picture\n",
                files, kFolders, pictureFiles);

    const auto all = static_cast<std::size_t>(files);
    const auto some = static_cast<std::size_t>(pictureFiles);
    const double plainAll = loadSeconds(plain, all, false);
    loadLine("2 KB ID3v2 tag", all, loadSeconds(tagged, all, true), plainAll);
    loadLine("150 KB picture", some, loadSeconds(pictures, some, true), loadSeconds(plain, some, false));

    const std::string cli = LIEDKRAM_CLI_PATH;
    const double scan = wallSeconds(cli + " scan " + tagged.root + " >/dev/null");
    const double add =
        wallSeconds(cli + " add --dup=add-all " + dir.file("all.m3l") + " " + tagged.root + " >/dev/null");
    std::printf("liedkram-cli add, %d tagged files: %7.3f s   (liedkram-cli scan of them: %7.3f s; ratio %.2f, "
                "target <= 2)\n",
                files, add, scan, add / scan);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    return bench::runWithSeams("liedkram-bench-tags", [&](testsupport::MemoryProfile&, testsupport::ScriptedPrompter&) {
        return run(filesFrom(argc, argv));
    });
}

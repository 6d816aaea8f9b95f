// A collection of 100,000 small MP3 files (8 frames and an ID3v1 tag each,
// in 100 folders, all different tracks), built once in the private temp
// directory, and what a user does with it, each figure beside a baseline
// from the same run:
//   loading every file (vs opening and reading it whole),
//   liedkram-cli scan (vs mp3val over the same files),
//   liedkram-cli add and subtract (vs liedkram-cli scan),
//   the duplicate lookups of 100,000 entries (vs the pass over the list),
//   the auto-edit of 10,000 entries with nothing to do (vs loading them),
//   the peak memory of liedkram-cli list on a list of 1,000,000 entries.

#include "bench_files.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"
#include "support/test_doubles.h"

#include "autoedit/auto_edit.h"
#include "document/liedkram_doc.h"
#include "document/track_compare.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/private_temp_dir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

constexpr int kFiles = 100000;
constexpr int kFolders = 100;
constexpr int kEditedEntries = 10000;
constexpr int kLinearProbes = 200;
constexpr int kBigListEntries = 1000000;

std::string artistOf(int i)
{
    return "Artist " + std::to_string(i % 997);
}

std::string titleOf(int i)
{
    return "Title " + std::to_string(i);
}

std::vector<std::string> writeCollection(const std::string& root, std::size_t& totalBytes)
{
    const bench::Bytes audio = bench::musicFrames(3300);
    std::vector<std::string> paths;
    paths.reserve(kFiles);
    totalBytes = 0;
    for (int folder = 0; folder < kFolders; ++folder)
        ::mkdir((root + "/" + std::to_string(folder)).c_str(), 0700);
    for (int i = 0; i < kFiles; ++i) {
        bench::Bytes bytes = audio;
        const bench::Bytes tag = bench::id3v1Tag(titleOf(i), artistOf(i));
        bytes.insert(bytes.end(), tag.begin(), tag.end());
        paths.push_back(root + "/" + std::to_string(i % kFolders) + "/" + artistOf(i) + " - " + titleOf(i) + ".mp3");
        bench::writeFile(paths.back(), bytes);
        totalBytes += bytes.size();
    }
    return paths;
}

double wallSeconds(const std::string& command)
{
    const auto begin = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    if (status == -1 || !WIFEXITED(status) || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 1))
        throw std::runtime_error("failed: " + command);
    return took.count();
}

bool installed(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// "Maximum resident set size (kbytes): N" of /usr/bin/time -v, in MB.
double peakMegabytes(const std::string& command, const std::string& report)
{
    wallSeconds("/usr/bin/time -v " + command + " >/dev/null 2>" + report);
    std::ifstream in(report);
    const std::string key = "Maximum resident set size (kbytes): ";
    for (std::string line; std::getline(in, line);) {
        const auto at = line.find(key);
        if (at != std::string::npos)
            return std::stod(line.substr(at + key.size())) / 1024.0;
    }
    throw std::runtime_error("no peak memory in " + report);
}

void loadSection(const std::vector<std::string>& paths, std::size_t totalBytes)
{
    bench::Bytes block(bench::kReadBlock);
    bench::BestOf read;
    bench::BestOf load;
    for (int round = 0; round < 2; ++round) {
        read.time([&] {
            std::size_t got = 0;
            for (const auto& path : paths)
                got += bench::readWhole(path, block);
            if (got != totalBytes)
                throw std::runtime_error("the files are shorter than written");
        });
        load.time([&] {
            for (const auto& path : paths) {
                const CLiedkramEntry entry(path, platform::readRepairSettings());
                if (entry.m_dwHeader == 0 || entry.m_bVerified != 1)
                    throw std::runtime_error("not loaded: " + path);
            }
        });
    }
    std::printf("load %d files:     %7.0f files/s   (open + read() whole: %7.0f files/s; ratio %.2f)\n", kFiles,
                kFiles / load.seconds(), kFiles / read.seconds(), read.seconds() / load.seconds());
}

void commandSection(const std::string& cli, platform::PrivateTempDir& dir)
{
    const std::string root = dir.path() + "/music";
    const std::string list = dir.file("all.m3l");
    const double scan = wallSeconds(cli + " scan " + root + " >/dev/null");
    if (installed("mp3val")) {
        const double mp3val = wallSeconds("find " + root + " -name '*.mp3' -print0 | xargs -0 mp3val >/dev/null 2>&1");
        std::printf("liedkram-cli scan: %7.0f files/s   (mp3val over the same files: %7.0f files/s; ratio %.2f, "
                    "target >= 2)\n",
                    kFiles / scan, kFiles / mp3val, mp3val / scan);
    } else {
        std::printf("liedkram-cli scan: %7.0f files/s   (mp3val is not installed: no baseline)\n", kFiles / scan);
    }
    const double add = wallSeconds(cli + " add --dup=add-all " + list + " " + root + " >/dev/null");
    std::printf("liedkram-cli add:  %7.3f s         (liedkram-cli scan: %7.3f s; ratio %.2f, target <= 2)\n", add, scan,
                add / scan);
    // Adding them again asks about every one of them.
    const double again = wallSeconds(cli + " add --dup=skip " + list + " " + root + " >/dev/null 2>&1");
    std::printf("add, all declined: %7.3f s\n", again);
    const double subtract = wallSeconds(cli + " subtract " + list + " " + root + " >/dev/null");
    std::printf("subtract all:      %7.3f s         (liedkram-cli scan: %7.3f s; ratio %.2f)\n", subtract, scan,
                subtract / scan);
}

void lookupSection(const std::vector<std::string>& paths)
{
    CLiedkramDoc doc;
    document::DuplicatePolicy answer(platform::DuplicateChoice::AddAll);
    for (const auto& path : paths)
        doc.AddEntry(std::make_unique<CLiedkramEntry>(path, platform::readRepairSettings()), false, answer);
    std::vector<CLiedkramEntry> probes;
    for (std::size_t row = 0; row < doc.GetCount(); ++row)
        probes.push_back(std::as_const(doc).GetEntry(row));

    bench::BestOf indexed;
    std::size_t found = 0;
    indexed.time([&] {
        for (const auto& probe : probes)
            found += doc.FindSameTracks(probe).size();
    });
    if (found != probes.size())
        throw std::runtime_error("the lookups found " + std::to_string(found) + " entries");
    bench::BestOf linear;
    linear.time([&] {
        for (int i = 0; i < kLinearProbes; ++i) {
            for (std::size_t row = 0; row < doc.GetCount(); ++row)
                found += document::IsSameTrack(std::as_const(doc).GetEntry(row), probes[i * 499]) ? 1 : 0;
        }
    });
    const double perIndexed = indexed.seconds() / static_cast<double>(probes.size());
    const double perLinear = linear.seconds() / kLinearProbes;
    std::printf("same-track lookup: %7.2f us each    (pass over the %d entries: %9.2f us each; %.0fx)\n",
                perIndexed * 1e6, kFiles, perLinear * 1e6, perLinear / perIndexed);
}

void autoEditSection(const std::vector<std::string>& paths, testsupport::MemoryProfile& profile)
{
    bench::turnOffRepairs(profile);
    std::vector<CLiedkramEntry> entries;
    bench::BestOf load;
    load.time([&] {
        for (int i = 0; i < kEditedEntries; ++i)
            entries.emplace_back(paths[static_cast<std::size_t>(i)], platform::readRepairSettings());
    });
    bench::BestOf edit;
    edit.time([&] {
        for (auto& entry : entries) {
            if (autoedit::EditEntry(entry, platform::readRepairSettings()) != autoedit::EditStep::Done)
                throw std::runtime_error("the auto-edit did not go through");
        }
    });
    std::printf("auto-edit, nothing to do: %7.4f ms per entry (loading: %7.4f ms per entry; target < 1 ms)\n",
                edit.seconds() * 1e3 / kEditedEntries, load.seconds() * 1e3 / kEditedEntries);
}

void memorySection(const std::string& cli, platform::PrivateTempDir& dir)
{
    entry::ArchiveWriter writer;
    writer.writeI32(kBigListEntries);
    for (int i = 0; i < kBigListEntries; ++i) {
        CLiedkramEntry entry;
        entry.m_szFileName = artistOf(i) + " - " + titleOf(i) + ".mp3";
        entry.m_szPath = "/home/anna/Musik/Sammlung/" + std::to_string(i % 1000);
        entry.m_szArtist = artistOf(i);
        entry.m_szTitle = titleOf(i);
        entry.m_szAlbum = "Greatest Hits";
        entry.m_dwHeader = 0x4490FBFF;
        entry.m_nFileSize = 4000000 + i;
        entry.m_nAudioEnd = entry.m_nFileSize - 128;
        entry.m_nLengthMs = 240000;
        entry.m_nBitrate = 128000;
        entry.Serialize(writer);
    }
    const std::string list = dir.file("million.m3l");
    bench::writeFile(list, writer.bytes());
    const double bytes = static_cast<double>(writer.bytes().size()) / (1024.0 * 1024.0);
    const double peak = peakMegabytes(cli + " list " + list, dir.file("time.txt"));
    const double cat = peakMegabytes("cat " + list, dir.file("time.txt"));
    std::printf("list of %d:   %7.0f MB peak     (list file %.0f MB, cat of it %.0f MB peak; target < 400 MB)\n",
                kBigListEntries, peak, bytes, cat);
}

int run(testsupport::MemoryProfile& profile)
{
    platform::PrivateTempDir dir;
    // The command-line runs keep their settings and journal in here.
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    const std::string cli = LIEDKRAM_CLI_PATH;
    const std::string root = dir.path() + "/music";
    ::mkdir(root.c_str(), 0700);
    std::size_t totalBytes = 0;
    const std::vector<std::string> paths = writeCollection(root, totalBytes);
    std::printf("%d files of %zu bytes in %d folders\n", kFiles, totalBytes / kFiles, kFolders);

    loadSection(paths, totalBytes);
    commandSection(cli, dir);
    lookupSection(paths);
    autoEditSection(paths, profile);
    memorySection(cli, dir);
    return 0;
}

}  // namespace

int main()
{
    return bench::runWithSeams(
        "liedkram-bench-collection",
        [](testsupport::MemoryProfile& profile, testsupport::ScriptedPrompter&) { return run(profile); });
}

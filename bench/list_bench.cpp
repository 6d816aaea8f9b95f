// Saving, loading and sorting a list of 100,000 entries, each beside a
// baseline from the same run: plain write()/read() of the same bytes, and
// std::sort of the same entries by plain byte comparison of the artist.

#include "bench_files.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"

#include "platform/private_temp_dir.h"

#include "document/liedkram_doc.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/profile.h"
#include "platform/prompter.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kEntries = 100000;
constexpr int kRounds = 3;

// Tag texts of the kind a real collection has: articles, accents, numbers.
std::unique_ptr<CLiedkramEntry> makeEntry(std::mt19937& random, int index)
{
    static const char* const kArtists[] = {
        "The Beatles", "Die \xC4rzte",       "Abba", "AC/DC", "Bj\xF6rk", "Simon & Garfunkel",
        "Queen",       "the rolling stones", "Nena", "R.E.M."};
    auto entry = std::make_unique<CLiedkramEntry>();
    const std::string artist = std::string(kArtists[random() % 10]) + " " + std::to_string(random() % 5000);
    const std::string title = "Song number " + std::to_string(random() % 100000);
    entry->m_szFileName = artist + " - " + title + ".mp3";
    entry->m_szPath = "/home/anna/Musik/Sammlung/" + std::to_string(index % 300);
    entry->m_szArtist = artist;
    entry->m_szTitle = title;
    entry->m_szAlbum = "Greatest Hits";
    entry->m_szComment = "ripped 2001";
    entry->m_nFileSize = 3000000 + static_cast<int>(random() % 5000000);
    entry->m_nGenre = static_cast<int>(random() % 149) - 1;
    entry->m_nYear = 1960 + static_cast<int>(random() % 60);
    entry->m_dwHeader = 0x4490FBFF;
    entry->m_nLengthMs = static_cast<int>(random() % 600000);
    entry->m_nBitrate = 128000;
    entry->m_nFrames = entry->m_nLengthMs / 26;
    entry->m_nAudioEnd = entry->m_nFileSize - 128;
    entry->m_bVerified = 1;
    entry->m_nTrack = static_cast<std::uint8_t>(random() % 20);
    return entry;
}

double seconds(const bench::BestOf& timing)
{
    return timing.seconds();
}

int run()
{
    platform::PrivateTempDir dir;
    std::mt19937 random(42);
    CLiedkramDoc doc;
    document::DuplicatePolicy answer;
    for (int i = 0; i < kEntries; ++i)
        doc.AddEntry(makeEntry(random, i), false, answer);
    const std::string path = dir.file("big.m3l");

    bench::BestOf save;
    bench::BestOf load;
    bench::BestOf plainWrite;
    bench::BestOf plainRead;
    bench::BestOf sortArtist;
    bench::BestOf sortTitle;
    bench::BestOf plainSort;
    std::size_t bytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        save.time([&] {
            if (!doc.OnSaveDocument(path))
                throw std::runtime_error("saving failed");
        });
        entry::ArchiveWriter writer;
        doc.Serialize(writer);
        bytes = writer.bytes().size();
        plainWrite.time([&] {
            platform::File out(dir.file("plain.bin"), platform::File::Mode::CreateTruncate);
            out.write(writer.bytes());
            out.sync();
        });
        plainRead.time([&] {
            std::vector<std::uint8_t> block(1 << 20);
            if (bench::readWhole(dir.file("plain.bin"), block) != bytes)
                throw std::runtime_error("short read");
        });

        CLiedkramDoc loaded;
        load.time([&] {
            if (!loaded.OnOpenDocument(path, platform::readRepairSettings()) ||
                loaded.GetCount() != static_cast<std::size_t>(kEntries))
                throw std::runtime_error("loading failed");
        });
        sortArtist.time([&] { loaded.SortByColumn(Column::Artist); });
        sortTitle.time([&] { loaded.SortByColumn(Column::Title); });

        std::vector<const CLiedkramEntry*> plain;
        for (std::size_t i = 0; i < doc.GetCount(); ++i)
            plain.push_back(&doc.GetEntry(i));
        plainSort.time([&] {
            std::sort(plain.begin(), plain.end(), [](const CLiedkramEntry* l, const CLiedkramEntry* r) {
                return l->m_szArtist.view() < r->m_szArtist.view();
            });
        });
    }

    std::printf("list of %d entries, %zu bytes, best of %d rounds\n", kEntries, bytes, kRounds);
    std::printf("save:            %6.3f s   (plain write+fsync of the bytes: %6.3f s; target < 0.3 s)\n", seconds(save),
                seconds(plainWrite));
    std::printf("load:            %6.3f s   (plain read of the bytes:        %6.3f s; target < 0.3 s)\n", seconds(load),
                seconds(plainRead));
    std::printf("sort Interpret:  %6.3f s   (std::sort by artist bytes:      %6.3f s; target < 0.5 s)\n",
                seconds(sortArtist), seconds(plainSort));
    std::printf("sort Titel:      %6.3f s\n", seconds(sortTitle));
    return 0;
}

}  // namespace

int main()
{
    return bench::runWithSeams("liedkram-bench-list",
                               [](testsupport::MemoryProfile&, testsupport::ScriptedPrompter&) { return run(); });
}

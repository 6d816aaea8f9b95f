// The full-text search and the similarity search over 100,000 entries, in
// the core and in the list view, beside a baseline from the same run: one
// plain pass over every column text of every entry.

#include "bench_files.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"
#include "support/test_doubles.h"

#include "app/liedkram_view.h"
#include "document/liedkram_doc.h"
#include "document/similar_tracks.h"
#include "document/text_filter.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/shell_open.h"

#include <QApplication>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 100000;
constexpr int kRounds = 3;
// One entry in this many is a second copy of another one, live or remastered.
constexpr int kCopyEvery = 40;
const QString kTyped = QStringLiteral("beatles song 12");

class NoShell : public platform::ShellOpener {
public:
    bool open(const std::string&, const std::string&) override { return false; }
};

// Tag texts of the kind a real collection has: articles, accents, numbers,
// and now and then the same song again. Read in as a list file is, in one go.
void fill(CLiedkramDoc& doc)
{
    static const char* const kArtists[] = {
        "The Beatles", "Die \xC4rzte",       "Abba", "AC/DC", "Bj\xF6rk", "Simon & Garfunkel",
        "Queen",       "the rolling stones", "Nena", "R.E.M."};
    static const char* const kAdditions[] = {" (Live)", " [Remastered]", " (Demo)"};
    std::mt19937 random(15);
    std::vector<CLiedkramEntry> entries(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        CLiedkramEntry& entry = entries[static_cast<std::size_t>(i)];
        if (i > 0 && i % kCopyEvery == 0) {
            const CLiedkramEntry& original = entries[random() % static_cast<unsigned>(i)];
            entry.m_szArtist = original.m_szArtist;
            entry.m_szTitle = original.m_szTitle.str() + kAdditions[random() % 3];
            entry.m_nLengthMs = original.m_nLengthMs + static_cast<int>(random() % 4000) - 2000;
        } else {
            entry.m_szArtist = std::string(kArtists[random() % 10]) + " " + std::to_string(random() % 5000);
            entry.m_szTitle = "Song number " + std::to_string(random() % 1000000);
            entry.m_nLengthMs = 120000 + static_cast<int>(random() % 240000);
        }
        entry.m_szFileName = entry.m_szArtist.str() + " - " + entry.m_szTitle.str() + " " + std::to_string(i) + ".mp3";
        entry.m_szPath = "/home/anna/Musik/Sammlung/" + std::to_string(i % 300);
        entry.m_szAlbum = "Album " + std::to_string(random() % 20000);
        entry.m_szComment = i % 7 == 0 ? "Kassettenrip" : "";
        entry.m_nYear = 1960 + static_cast<int>(random() % 60);
        entry.m_nGenre = static_cast<int>(random() % 148);
        entry.m_nTrack = static_cast<std::uint8_t>(1 + random() % 20);
        entry.m_dwHeader = 0x4490FBFF;
        entry.m_nFileSize = 3000000 + static_cast<int>(random() % 5000000);
        entry.m_nBitrate = 128000;
    }
    entry::ArchiveWriter writer;
    writer.writeI32(kEntries);
    for (const CLiedkramEntry& entry : entries)
        entry.Serialize(writer);
    entry::ArchiveReader reader(writer.bytes());
    doc.Serialize(reader, platform::readRepairSettings());
}

int run()
{
    CLiedkramDoc doc;
    fill(doc);
    const std::vector<const CLiedkramEntry*> entries = doc.Entries();

    bench::BestOf plainPass;
    bench::BestOf filterCold;
    bench::BestOf filterWarm;
    bench::BestOf similar;
    std::size_t bytes = 0;
    std::size_t matches = 0;
    std::size_t groups = 0;
    std::vector<std::string> searchTexts;
    for (const CLiedkramEntry* entry : entries)
        searchTexts.push_back(document::SearchText(*entry));
    const document::TextFilter filter(kTyped.toStdString());
    for (int round = 0; round < kRounds; ++round) {
        plainPass.time([&] {
            bytes = 0;
            for (const CLiedkramEntry* entry : entries) {
                for (const Column column : allColumns())
                    bytes += entry->GetColumnText(column).size();
            }
        });
        filterCold.time([&] {
            matches = 0;
            for (const CLiedkramEntry* entry : entries)
                matches += filter.matches(*entry);
        });
        filterWarm.time([&] {
            std::size_t found = 0;
            for (const std::string& text : searchTexts)
                found += filter.matches(text);
            if (found != matches)
                throw std::runtime_error("the cached texts find other entries");
        });
        similar.time([&] { groups = document::SimilarGroups(entries).size(); });
    }

    // The same in the list view, where the rows shown follow.
    NoShell shell;
    CLiedkramView view(doc, shell);
    bench::BestOf viewFirstSearch;
    bench::BestOf viewSearch;
    bench::BestOf viewSimilar;
    bench::BestOf viewReset;
    for (int round = 0; round < kRounds; ++round) {
        CLiedkramView fresh(doc, shell);
        viewFirstSearch.time([&] { fresh.showMatching(kTyped); });
        viewSearch.time([&] { view.showMatching(kTyped); });
        if (static_cast<std::size_t>(view.model()->rowCount()) != matches)
            throw std::runtime_error("the view shows other rows than the filter finds");
        viewSimilar.time([&] { view.showSimilar(); });
        viewReset.time([&] { view.showAll(); });
    }

    std::printf("%d entries, %zu bytes of column texts, best of %d rounds\n", kEntries, bytes, kRounds);
    std::printf("baseline: every column text of every entry        %6.3f s\n", plainPass.seconds());
    std::printf("filter \"%s\", texts folded as it goes  %6.3f s  (%zu found)\n", kTyped.toUtf8().constData(),
                filterCold.seconds(), matches);
    std::printf("filter, folded texts kept                         %6.3f s\n", filterWarm.seconds());
    std::printf("similar entries                                   %6.3f s  (%zu groups; target < 1 s)\n",
                similar.seconds(), groups);
    std::printf("view: first search (texts folded)                 %6.3f s\n", viewFirstSearch.seconds());
    std::printf("view: search again (folded texts kept)            %6.3f s\n", viewSearch.seconds());
    std::printf("view: similar entries                             %6.3f s\n", viewSimilar.seconds());
    std::printf("view: whole list again                            %6.3f s\n", viewReset.seconds());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runWithSeams("liedkram-bench-search",
                               [](testsupport::MemoryProfile&, testsupport::ScriptedPrompter&) { return run(); });
}

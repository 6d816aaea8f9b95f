// Drawing and writing a 49-title CD cover with the Qt canvas, and exporting
// 10,000 rows as spreadsheet, playlist and name list, each beside a baseline
// from the same run: plain write() of as many bytes, with and without fsync
// (the outputs are made durable before they replace a file).

#include "bench_files.h"
#include "stopwatch.h"

#include "platform/private_temp_dir.h"

#include "entry/liedkram_entry.h"
#include "platform/file.h"
#include "platform/profile.h"
#include "platform/prompter.h"
#include "qtgui/qt_cover_canvas.h"
#include "view/cover_bitmap.h"
#include "view/cover_painting.h"
#include "view/cover_texts.h"
#include "view/export_commands.h"

#include <QGuiApplication>

#include <cstdio>
#include <deque>
#include <exception>
#include <random>
#include <stdexcept>

namespace {

constexpr int kRounds = 5;
constexpr int kCoverTitles = 49;
constexpr int kExportRows = 10000;

struct Baseline {
    bench::BestOf write;
    bench::BestOf writeSync;
};

void plainWrite(const std::string& path, std::span<const std::uint8_t> bytes, bool sync)
{
    platform::File out(path, platform::File::Mode::CreateTruncate);
    out.write(bytes);
    if (sync)
        out.sync();
}

void timeBaseline(Baseline& baseline, const std::string& path, std::span<const std::uint8_t> bytes)
{
    baseline.write.time([&] { plainWrite(path, bytes, false); });
    baseline.writeSync.time([&] { plainWrite(path, bytes, true); });
}

void fill(std::deque<CLiedkramEntry>& entries, int count)
{
    static const char* const kArtists[] = {
        "The Beatles", "Die \xC4rzte",       "Abba", "AC/DC", "Bj\xF6rk", "Simon & Garfunkel",
        "Queen",       "the rolling stones", "Nena", "R.E.M."};
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i) {
        CLiedkramEntry& entry = entries.emplace_back();
        entry.m_szArtist = kArtists[random() % 10];
        entry.m_szTitle = "Song number " + std::to_string(random() % 100000);
        entry.m_szAlbum = "Greatest Hits";
        entry.m_szComment = "ripped 2001";
        entry.m_szPath = "/home/anna/Musik/Sammlung/" + std::to_string(i % 300);
        entry.m_szFileName = entry.m_szArtist.str() + " - " + entry.m_szTitle.str() + ".mp3";
        entry.m_nFileSize = 3000000 + static_cast<int>(random() % 5000000);
        entry.m_nGenre = static_cast<int>(random() % 149) - 1;
        entry.m_nLengthMs = 60000 + static_cast<int>(random() % 540000);
        entry.m_nBitrate = 128000;
    }
}

view::Selection selectionOf(const std::deque<CLiedkramEntry>& entries, int count)
{
    view::Selection selected;
    for (int i = 0; i < count; ++i)
        selected.push_back(&entries[static_cast<std::size_t>(i)]);
    return selected;
}

void printLine(const char* what, std::size_t bytes, double seconds, const Baseline& baseline, double target)
{
    std::printf("%-12s %9zu bytes  %6.3f s   (plain write: %6.3f s, with fsync: %6.3f s; target < %.1f s)\n", what,
                bytes, seconds, baseline.write.seconds(), baseline.writeSync.seconds(), target);
}

int run()
{
    platform::PrivateTempDir dir;
    std::deque<CLiedkramEntry> entries;
    fill(entries, kExportRows);

    const auto coverTexts = view::coverTexts(selectionOf(entries, kCoverTitles));
    const view::FontDescription font{"DejaVu Sans", 120};
    const std::string coverPath = dir.file("cover.bmp");
    bench::BestOf cover;
    Baseline coverBaseline;
    double fill = 0;
    for (int round = 0; round < kRounds; ++round) {
        cover.time([&] {
            qtgui::QtCoverCanvas canvas(qtgui::screenVerticalDpi());
            fill = view::drawCover(canvas, coverTexts, font).fill;
            if (!view::writeCoverBitmap(canvas, coverPath))
                throw std::runtime_error("the cover was not written");
        });
        timeBaseline(coverBaseline, dir.file("plain.bmp"), std::vector<std::uint8_t>(view::kCoverBitmapSize, 0xA5));
    }

    const auto rows = selectionOf(entries, kExportRows);
    const std::pair<view::ExportKind, const char*> kinds[] = {{view::ExportKind::Spreadsheet, "spreadsheet"},
                                                              {view::ExportKind::Playlist, "playlist"},
                                                              {view::ExportKind::NameList, "name list"}};
    std::printf("best of %d rounds\n", kRounds);
    printLine("cover (49)", view::kCoverBitmapSize, cover.seconds(), coverBaseline, 0.5);
    std::printf("%-12s fill %.3f\n", "", fill);
    for (const auto& [kind, name] : kinds) {
        const std::string path = dir.file(std::string("export.") + std::string(view::exportFormat(kind).extension));
        const auto bytes = view::exportBytes(kind, rows);
        bench::BestOf exporting;
        Baseline baseline;
        for (int round = 0; round < kRounds; ++round) {
            exporting.time([&] {
                if (!view::exportEntries(kind, rows, path))
                    throw std::runtime_error(std::string("the ") + name + " was not written");
            });
            timeBaseline(baseline, dir.file("plain.out"), bytes);
        }
        printLine(name, bytes.size(), exporting.seconds(), baseline, 0.2);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Drawing needs fonts but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return bench::runWithSeams("liedkram-bench-outputs",
                               [](testsupport::MemoryProfile&, testsupport::ScriptedPrompter&) { return run(); });
}

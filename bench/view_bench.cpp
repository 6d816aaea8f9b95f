// The list view with 100,000 rows: deleting all selected rows and every
// other one, sorting, the refresh after an edit run of every row, and the
// auto-edit run over 10,000 rows with nothing to do, beside a baseline from
// the same run: reading the same 100,000 rows into the same view.

#include "bench_files.h"
#include "platform/repair_settings.h"
#include "stopwatch.h"
#include "support/test_doubles.h"

#include "app/edit_runs.h"
#include "app/liedkram_view.h"
#include "document/liedkram_doc.h"
#include "entry/archive.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"
#include "platform/shell_open.h"

#include <QApplication>
#include <QItemSelectionModel>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRounds = 3;
constexpr int kEditedRows = 10000;

class NoShell : public platform::ShellOpener {
public:
    bool open(const std::string&, const std::string&) override { return false; }
};

std::vector<std::uint8_t> listBytes()
{
    entry::ArchiveWriter writer;
    writer.writeI32(kRows);
    for (int i = 0; i < kRows; ++i) {
        CLiedkramEntry entry;
        entry.m_szFileName = "Artist " + std::to_string(i % 997) + " - Song " + std::to_string(i) + ".mp3";
        entry.m_szPath = "/home/anna/Musik/" + std::to_string(i % 300);
        entry.m_szArtist = "Artist " + std::to_string(i % 997);
        entry.m_szTitle = "Song " + std::to_string(i);
        entry.m_dwHeader = 0x4490FBFF;
        entry.m_nFileSize = 4000000 + i;
        entry.m_nLengthMs = 240000;
        entry.m_nBitrate = 128000;
        entry.Serialize(writer);
    }
    return writer.bytes();
}

// A document with its view, filled with the rows; the time of the filling
// is the baseline.
struct Fixture {
    Fixture(const std::vector<std::uint8_t>& bytes, bench::BestOf& fill) : view(doc, shell)
    {
        fill.time([&] {
            entry::ArchiveReader archive(bytes);
            doc.Serialize(archive, platform::readRepairSettings());
        });
        if (view.model()->rowCount() != kRows)
            throw std::runtime_error("the view does not show all rows");
    }

    CLiedkramDoc doc;
    NoShell shell;
    CLiedkramView view;
};

void deleteSelection(Fixture& fixture, bench::BestOf& timing, std::size_t remaining)
{
    timing.time([&] { fixture.view.OnDeleteRows(); });
    if (fixture.doc.GetCount() != remaining || static_cast<std::size_t>(fixture.view.model()->rowCount()) != remaining)
        throw std::runtime_error("the delete left the wrong number of rows");
}

// The view shows its rows again, as the user sees them: a repaint of what is on screen.
void repaint(Fixture& fixture)
{
    fixture.view.viewport()->repaint();
    QApplication::processEvents();
}

int run(testsupport::MemoryProfile& profile, testsupport::ScriptedPrompter& prompter)
{
    prompter.setFallback(testsupport::ScriptedPrompter::Kind::YesNo, platform::Answer::Yes);
    const std::vector<std::uint8_t> bytes = listBytes();
    bench::BestOf fill;
    bench::BestOf deleteAll;
    bench::BestOf deleteEveryOther;
    for (int round = 0; round < kRounds; ++round) {
        {
            Fixture all(bytes, fill);
            all.view.selectAll();
            deleteSelection(all, deleteAll, 0);
        }
        {
            Fixture alternate(bytes, fill);
            QItemSelection selection;
            const QAbstractItemModel* model = alternate.view.model();
            for (int row = 0; row < kRows; row += 2)
                selection.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
            alternate.view.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
            deleteSelection(alternate, deleteEveryOther, kRows / 2);
        }
    }
    bench::BestOf sort;
    bench::BestOf refresh;
    bench::BestOf editRun;
    bench::turnOffRepairs(profile);
    for (int round = 0; round < kRounds; ++round) {
        Fixture fixture(bytes, fill);
        fixture.view.resize(1000, 700);
        fixture.view.show();
        repaint(fixture);
        sort.time([&] {
            fixture.doc.SortByColumn(round % 2 ? Column::Title : Column::Artist);
            repaint(fixture);
        });
        refresh.time([&] {
            for (std::size_t row = 0; row < fixture.doc.GetCount(); ++row)
                fixture.doc.RefreshRow(row);
            repaint(fixture);
        });
        std::vector<int> rows(kEditedRows);
        for (int row = 0; row < kEditedRows; ++row)
            rows[static_cast<std::size_t>(row)] = row;
        prompter.clear();
        editRun.time([&] {
            runAutoEdit(fixture.doc, rows, &fixture.view);
            repaint(fixture);
        });
        // A run that stopped early would have said why.
        if (!prompter.prompts().empty())
            throw std::runtime_error("the auto-edit run stopped: " + prompter.prompts().front().text);
    }
    std::printf("list view of %d rows, best of %d rounds\n", kRows, kRounds);
    std::printf("delete all %d selected rows:      %6.3f s   (reading the %d rows into the view: %6.3f s; "
                "target < 1 s)\n",
                kRows, deleteAll.seconds(), kRows, fill.seconds());
    std::printf("delete every other row (%d runs): %6.3f s\n", kRows / 2, deleteEveryOther.seconds());
    std::printf("sort and show the rows:           %6.3f s   (target < 0.5 s)\n", sort.seconds());
    std::printf("refresh of every row after a run: %6.3f s   (target < 0.5 s)\n", refresh.seconds());
    std::printf("auto-edit run of %d rows, nothing to do: %6.3f ms per entry (target < 1 ms)\n", kEditedRows,
                editRun.seconds() * 1e3 / kEditedRows);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::runWithSeams("liedkram-bench-view",
                               [](testsupport::MemoryProfile& profile, testsupport::ScriptedPrompter& prompter) {
                                   return run(profile, prompter);
                               });
}

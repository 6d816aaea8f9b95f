#include "interop/external_tools.h"
#include "platform/text.h"
#include "support/seam_fixture.h"
#include "support/temp_dir.h"
#include "view/export_commands.h"
#include "view_entries.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

using view::ExportKind;

namespace {

struct Cell {
    std::string kind;
    std::string value;
};

std::string numberText(int value)
{
    return std::to_string(value) + ".0";
}

}  // namespace

class SpreadsheetInterop : public testsupport::SeamTest {};

TEST_F(SpreadsheetInterop, XlrdReadsBackEveryCellOfFortyRows)
{
    if (interop::runProgram({interop::kPython, "-c", "import xlrd"}).exitCode != 0)
        FAIL() << "xlrd cannot be imported by " << interop::kPython
               << " (Debian package python3-xlrd; scripts/install-packages.sh installs it)";

    viewtest::Entries entries;
    for (int i = 0; i < 40; ++i) {
        CLiedkramEntry& entry = entries.add("K\xFCnstler & Co " + std::to_string(i), "Lied \x80 " + std::to_string(i));
        entry.m_szAlbum = i % 3 == 0 ? "" : "Album \xE9t\xE9";
        entry.m_nFileSize = 1000003 * i + 7;
        entry.m_nGenre = i % 5 == 0 ? -1 : i;
        entry.m_szComment = std::string(static_cast<std::size_t>(i * 6), 'c');
    }
    const testsupport::TempDir dir;
    const auto path = dir.file("forty.xls");
    ASSERT_TRUE(view::exportEntries(ExportKind::Spreadsheet, entries.selection(), path));

    const auto result = interop::runProgram({interop::kPython, LIEDKRAM_XLS_PROBE, path});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    std::istringstream lines(result.output);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "biff 20 rows 40 columns 6");

    std::map<std::pair<int, int>, Cell> cells;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        int row = 0;
        int column = 0;
        Cell cell;
        fields >> row >> column >> cell.kind;
        fields.get();
        std::getline(fields, cell.value);
        cells[{row, column}] = cell;
    }
    ASSERT_EQ(cells.size(), 240u);
    const auto selection = entries.selection();
    for (int row = 0; row < 40; ++row) {
        const CLiedkramEntry& entry = *selection[static_cast<std::size_t>(row)];
        const std::string texts[] = {entry.m_szTitle.str(), entry.m_szArtist.str(), entry.m_szAlbum.str(), "",
                                     entry.GetGenreText(),  entry.m_szComment.str()};
        for (int column = 0; column < 6; ++column) {
            const Cell& cell = cells[{row, column}];
            if (column == 3) {
                EXPECT_EQ(cell.kind, "number") << row;
                EXPECT_EQ(cell.value, numberText(entry.m_nFileSize)) << row;
            } else {
                EXPECT_EQ(cell.kind, "text") << row << "/" << column;
                EXPECT_EQ(cell.value, platform::cp1252ToUtf8(texts[column])) << row << "/" << column;
            }
        }
    }
}

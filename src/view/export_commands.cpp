#include "view/export_commands.h"

#include "platform/prompter.h"
#include "view/line_exports.h"
#include "view/output_file.h"
#include "view/spreadsheet_export.h"

#include <array>

namespace view {

namespace {

constexpr std::array<ExportFormat, 3> kFormats = {{
    {"xls", {{{"Excel-Tabellen (*.xls)", "*.xls; *.xls"}, {"Alle Dateien (*.*)", "*.*"}}}},
    {"m3u", {{{"Winamp-Playlisten (*.m3u)", "*.m3u; *.m3u"}, {"Alle Dateien (*.*)", "*.*"}}}},
    {"txt", {{{"Winamp-Playlisten (*.txt)", "*.txt; *.txt"}, {"Alle Dateien (*.*)", "*.*"}}}},
}};

std::string tooManyRowsMessage(std::size_t rows)
{
    return "Eine Excel-Tabelle fasst h\u00F6chstens " + std::to_string(kMaxSpreadsheetRows) +
           " Zeilen, markiert sind " + std::to_string(rows) + ". Die Tabelle wird nicht geschrieben.";
}

}  // namespace

const ExportFormat& exportFormat(ExportKind kind)
{
    return kFormats.at(static_cast<std::size_t>(kind));
}

std::string initialExportName(std::string_view shownTitle, ExportKind kind)
{
    const auto stop = shownTitle.rfind('.');
    std::string name(shownTitle.substr(0, stop));
    name += '.';
    name += exportFormat(kind).extension;
    return name;
}

std::vector<std::uint8_t> exportBytes(ExportKind kind, const Selection& entries)
{
    switch (kind) {
    case ExportKind::Spreadsheet:
        return spreadsheetBytes(entries);
    case ExportKind::Playlist:
        return playlistBytes(entries);
    case ExportKind::NameList:
        return nameListBytes(entries);
    }
    return {};
}

bool exportEntries(ExportKind kind, const Selection& entries, const std::string& path)
{
    if (kind == ExportKind::Spreadsheet) {
        if (entries.empty())
            return false;
        if (entries.size() > kMaxSpreadsheetRows) {
            platform::prompter().showMessage(tooManyRowsMessage(entries.size()));
            return false;
        }
    }
    return writeOutputFile(path, exportBytes(kind, entries));
}

}  // namespace view

#pragma once

#include "view/selection.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace view {

enum class ExportKind { Spreadsheet, Playlist, NameList };

// One choice of a file dialog's type list: its caption and the name
// patterns it shows ("*.m3u; *.m3u").
struct FileFilter {
    std::string_view name;
    std::string_view patterns;
};

// What the save dialog of an export offers.
struct ExportFormat {
    std::string_view extension;  // the default extension, without the dot
    std::array<FileFilter, 2> filters;
};

const ExportFormat& exportFormat(ExportKind kind);

// The save dialog's initial file name: the document title as shown, change
// marker included, without everything from its last full stop, then the
// export's extension ("liste.m3l *" gives "liste.xls", "Untitled *" gives
// "Untitled *.xls").
std::string initialExportName(std::string_view shownTitle, ExportKind kind);

// The bytes of the export of the entries.
std::vector<std::uint8_t> exportBytes(ExportKind kind, const Selection& entries);

// Writes the export of the entries to path; returns whether a file was
// written. No spreadsheet is written for an empty selection, and one of more
// than 65535 rows is refused with a message; the line exports are written
// for any selection. A file that cannot be created is reported.
bool exportEntries(ExportKind kind, const Selection& entries, const std::string& path);

}  // namespace view

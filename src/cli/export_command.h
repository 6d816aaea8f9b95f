#pragma once

#include "platform/repair_settings.h"

#include "view/export_commands.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class ProgressLine;

// The export written for a format word: xls, m3u or txt (the exact word).
std::optional<view::ExportKind> exportKindNamed(std::string_view word);
// Those words, in that order.
std::vector<std::string_view> exportFormatNames();

// export: writes the export of the entries (see chooseEntries), all of
// them, in list order, to outputPath. An empty spreadsheet is no file, and
// is said so. Messages go through the installed prompter. Returns kExitOk
// when the file was written and nothing skipped, else kExitSkipped.
int runExport(const platform::RepairSettings& settings, view::ExportKind kind, const std::string& outputPath,
              const std::string& listPath, const std::vector<std::string>& paths, ProgressLine& progress);

}  // namespace cli

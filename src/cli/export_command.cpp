#include "cli/export_command.h"

#include "cli/chosen_entries.h"
#include "cli/usage.h"
#include "platform/prompter.h"

namespace cli {

namespace {

constexpr view::ExportKind kKinds[] = {view::ExportKind::Spreadsheet, view::ExportKind::Playlist,
                                       view::ExportKind::NameList};

}  // namespace

std::optional<view::ExportKind> exportKindNamed(std::string_view word)
{
    for (const auto kind : kKinds) {
        if (word == view::exportFormat(kind).extension)
            return kind;
    }
    return std::nullopt;
}

std::vector<std::string_view> exportFormatNames()
{
    std::vector<std::string_view> names;
    for (const auto kind : kKinds)
        names.push_back(view::exportFormat(kind).extension);
    return names;
}

int runExport(const platform::RepairSettings& settings, view::ExportKind kind, const std::string& outputPath,
              const std::string& listPath, const std::vector<std::string>& paths, ProgressLine& progress)
{
    const auto chosen = chooseEntries(settings, listPath, paths, progress);
    if (!chosen)
        return kExitSkipped;
    const view::Selection selection = chosen->selection();
    // The export itself writes no spreadsheet of no rows without a word; a script must hear of it.
    if (kind == view::ExportKind::Spreadsheet && selection.empty()) {
        platform::prompter().showMessage("No entries: the spreadsheet '" + outputPath + "' is not written.");
        return kExitSkipped;
    }
    if (!view::exportEntries(kind, selection, outputPath))
        return kExitSkipped;
    return chosen->status;
}

}  // namespace cli

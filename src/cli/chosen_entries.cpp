#include "cli/chosen_entries.h"

#include "cli/entry_walk.h"
#include "document/liedkram_doc.h"

#include <utility>

namespace cli {

view::Selection ChosenEntries::selection() const
{
    view::Selection selected;
    selected.reserve(entries.size());
    for (const CLiedkramEntry& entry : entries)
        selected.push_back(&entry);
    return selected;
}

std::optional<ChosenEntries> chooseEntries(const platform::RepairSettings& settings, const std::string& listPath,
                                           const std::vector<std::string>& paths, ProgressLine& progress)
{
    ChosenEntries chosen;
    if (!listPath.empty()) {
        CLiedkramDoc doc;
        if (!doc.OnOpenDocument(listPath, settings))
            return std::nullopt;
        for (std::size_t row = 0; row < doc.GetCount(); ++row)
            chosen.entries.push_back(std::as_const(doc).GetEntry(row));
        return chosen;
    }
    chosen.status = walkEntries(settings, paths, progress, [&chosen](CLiedkramEntry& entry) {
        chosen.entries.push_back(entry);
        return Visit::Kept;
    });
    return chosen;
}

}  // namespace cli

#include "cli/similar_command.h"

#include "cli/scan_table.h"
#include "cli/usage.h"
#include "document/liedkram_doc.h"
#include "document/similar_tracks.h"
#include "entry/liedkram_entry.h"

#include <vector>

namespace cli {

int runSimilar(const platform::RepairSettings& settings, const std::string& listPath, std::ostream& out)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    const std::vector<const CLiedkramEntry*> entries = doc.Entries();
    out << scanHeader();
    bool first = true;
    for (const auto& group : document::SimilarGroups(entries)) {
        if (!first)
            out << '\n';
        first = false;
        for (const std::size_t index : group)
            out << scanRow(*entries[index]);
    }
    out << std::flush;
    return kExitOk;
}

}  // namespace cli

#include "cli/find_command.h"

#include "cli/scan_table.h"
#include "cli/usage.h"
#include "document/liedkram_doc.h"
#include "document/text_filter.h"
#include "entry/liedkram_entry.h"

namespace cli {

int runFind(const platform::RepairSettings& settings, const std::string& listPath,
            const std::vector<std::string>& words, std::ostream& out)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    std::string typed;
    for (const std::string& word : words)
        typed += word + ' ';
    const document::TextFilter filter(typed);
    out << scanHeader();
    for (const CLiedkramEntry* entry : doc.Entries()) {
        if (filter.matches(*entry))
            out << scanRow(*entry);
    }
    out << std::flush;
    return kExitOk;
}

}  // namespace cli

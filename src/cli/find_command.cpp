#include "cli/find_command.h"

#include "cli/scan_table.h"
#include "cli/usage.h"
#include "document/liedkram_doc.h"
#include "document/text_filter.h"
#include "entry/liedkram_entry.h"

namespace cli {

int runFind(const std::string& listPath, const std::vector<std::string>& words, std::ostream& out)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath))
        return kExitSkipped;
    std::string typed;
    for (const std::string& word : words)
        typed += word + ' ';
    const document::TextFilter filter(typed);
    out << scanHeader();
    for (std::size_t row = 0; row < doc.GetCount(); ++row) {
        if (filter.matches(doc.GetEntry(row)))
            out << scanRow(doc.GetEntry(row));
    }
    out << std::flush;
    return kExitOk;
}

}  // namespace cli

#include "cli/list_command.h"

#include "cli/scan_table.h"
#include "cli/usage.h"
#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"
#include "platform/prompter.h"

#include <utility>

namespace cli {

void writeListTable(const CLiedkramDoc& doc, std::ostream& out)
{
    out << scanHeader();
    for (std::size_t row = 0; row < doc.GetCount(); ++row)
        out << scanRow(std::as_const(doc).GetEntry(row));
    out << std::flush;
}

bool saveList(CLiedkramDoc& doc, const std::string& listPath)
{
    if (doc.OnSaveDocument(listPath))
        return true;
    // The document's own message may name only the file it wrote beside the list.
    platform::prompter().showMessage("'" + listPath + "' not saved; the list file is as it was.");
    return false;
}

int runList(const platform::RepairSettings& settings, const std::string& listPath, std::ostream& out)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    writeListTable(doc, out);
    return kExitOk;
}

int runSort(const platform::RepairSettings& settings, const std::string& listPath, Column column, std::ostream& out)
{
    CLiedkramDoc doc;
    if (!doc.OnOpenDocument(listPath, settings))
        return kExitSkipped;
    doc.SortByColumn(column);
    // Sorting is no change of the list to the document, so it is saved here.
    if (!saveList(doc, listPath))
        return kExitSkipped;
    writeListTable(doc, out);
    return kExitOk;
}

}  // namespace cli

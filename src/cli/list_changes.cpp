#include "cli/list_changes.h"

#include "cli/scan_table.h"
#include "entry/liedkram_entry.h"

#include <utility>

namespace cli {

ListChangeRecorder::ListChangeRecorder(CLiedkramDoc& doc, std::ostream& out, std::string removedVerb)
    : doc_(doc), out_(out), removedVerb_(std::move(removedVerb))
{
    doc_.addObserver(this);
}

ListChangeRecorder::~ListChangeRecorder()
{
    doc_.removeObserver(this);
}

void ListChangeRecorder::rowsAppended(std::size_t first, std::size_t count)
{
    for (std::size_t row = first; row < first + count; ++row)
        line("added", std::as_const(doc_).GetEntry(row).GetFullPath());
}

void ListChangeRecorder::rowsAboutToBeRemoved(std::size_t first, std::size_t count)
{
    for (std::size_t row = first; row < first + count; ++row)
        line(removedVerb_, std::as_const(doc_).GetEntry(row).GetFullPath());
}

void ListChangeRecorder::entryDeclined(const CLiedkramEntry& entry, bool cancelled)
{
    line(cancelled ? "cancelled" : "declined", entry.GetFullPath());
}

void ListChangeRecorder::line(std::string_view verb, std::string_view path)
{
    out_ << verb << ' ' << escapeField(path) << '\n' << std::flush;
}

}  // namespace cli

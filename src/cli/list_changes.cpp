#include "cli/list_changes.h"

#include "cli/scan_table.h"
#include "entry/liedkram_entry.h"

#include <utility>

namespace cli {

ListChangeRecorder::ListChangeRecorder(CLiedkramDoc& doc, std::ostream& out, std::string removedVerb)
    : doc_(doc), out_(out), removedVerb_(std::move(removedVerb))
{
    mirrorRows();
    doc_.addObserver(this);
}

ListChangeRecorder::~ListChangeRecorder()
{
    doc_.removeObserver(this);
}

void ListChangeRecorder::rowsAppended(std::size_t first, std::size_t count)
{
    for (std::size_t row = first; row < first + count; ++row) {
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), std::as_const(doc_).GetEntry(row).GetFullPath());
        line("added", rows_[row]);
    }
}

void ListChangeRecorder::rowRemoved(std::size_t row)
{
    line(removedVerb_, rows_.at(row));
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
}

void ListChangeRecorder::rowsReordered()
{
    mirrorRows();
}

void ListChangeRecorder::rowRefreshed(std::size_t row)
{
    rows_.at(row) = std::as_const(doc_).GetEntry(row).GetFullPath();
}

void ListChangeRecorder::listCleared()
{
    rows_.clear();
}

void ListChangeRecorder::entryDeclined(const CLiedkramEntry& entry, bool cancelled)
{
    line(cancelled ? "cancelled" : "declined", entry.GetFullPath());
}

void ListChangeRecorder::line(std::string_view verb, std::string_view path)
{
    out_ << verb << ' ' << escapeField(path) << '\n' << std::flush;
}

void ListChangeRecorder::mirrorRows()
{
    rows_.clear();
    for (std::size_t row = 0; row < doc_.GetCount(); ++row)
        rows_.push_back(std::as_const(doc_).GetEntry(row).GetFullPath());
}

}  // namespace cli

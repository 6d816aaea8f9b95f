#include "document/list_edit.h"

#include "document/liedkram_doc.h"
#include "entry/liedkram_entry.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace document {

struct ListEdit::Step {
    enum class Kind { Removed, Appended, Reordered, Changed };
    explicit Step(Kind stepKind) : kind(stepKind) {}
    Kind kind;
    // Removed: the rows as they were, ascending; Appended: the first row.
    std::vector<std::size_t> rows;
    // Removed and Appended: the entries while they are out of the list.
    std::vector<std::unique_ptr<CLiedkramEntry>> entries;
    std::size_t count = 0;  // Appended
    std::vector<std::size_t> order;  // Reordered: row i held row order[i] before
    std::unique_ptr<CLiedkramEntry> before;  // Changed, the entry at rows[0]
    std::unique_ptr<CLiedkramEntry> after;
};

ListEdit::ListEdit() = default;
ListEdit::~ListEdit() = default;
ListEdit::ListEdit(ListEdit&&) noexcept = default;
ListEdit& ListEdit::operator=(ListEdit&&) noexcept = default;

bool ListEdit::empty() const
{
    return steps_.empty() && touched_.empty() && changeSets_.empty();
}

void ListEdit::touched(const CLiedkramEntry& entry)
{
    if (!touched_.count(&entry))
        touched_.emplace(&entry, std::make_unique<CLiedkramEntry>(entry));
}

void ListEdit::settle(const CLiedkramDoc& doc)
{
    if (touched_.empty())
        return;
    for (std::size_t row = 0; row < doc.GetCount() && !touched_.empty(); ++row) {
        const CLiedkramEntry& entry = doc.GetEntry(row);
        const auto found = touched_.find(&entry);
        if (found == touched_.end())
            continue;
        if (!(*found->second == entry)) {
            Step step(Step::Kind::Changed);
            step.rows = {row};
            step.before = std::move(found->second);
            step.after = std::make_unique<CLiedkramEntry>(entry);
            steps_.push_back(std::move(step));
        }
        touched_.erase(found);
    }
    touched_.clear();
}

void ListEdit::removed(std::vector<std::size_t> rows, std::vector<std::unique_ptr<CLiedkramEntry>> entries)
{
    Step step(Step::Kind::Removed);
    step.rows = std::move(rows);
    step.entries = std::move(entries);
    steps_.push_back(std::move(step));
}

void ListEdit::appended(std::size_t first, std::size_t count)
{
    Step step(Step::Kind::Appended);
    step.rows = {first};
    step.count = count;
    steps_.push_back(std::move(step));
}

void ListEdit::reordered(std::vector<std::size_t> order)
{
    Step step(Step::Kind::Reordered);
    step.order = std::move(order);
    steps_.push_back(std::move(step));
}

namespace {

// The order that takes a reordering back: row order[i] gets what row i holds.
std::vector<std::size_t> inverse(const std::vector<std::size_t>& order)
{
    std::vector<std::size_t> back(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        back[order[i]] = i;
    return back;
}

// The rows of the entries, ascending.
std::vector<std::size_t> rowsOf(const CLiedkramDoc& doc, const std::vector<const CLiedkramEntry*>& entries)
{
    const std::unordered_set<const CLiedkramEntry*> wanted(entries.begin(), entries.end());
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < doc.GetCount() && rows.size() < wanted.size(); ++row) {
        if (wanted.count(&doc.GetEntry(row)))
            rows.push_back(row);
    }
    return rows;
}

void note(std::vector<const CLiedkramEntry*>& shown, const std::vector<std::unique_ptr<CLiedkramEntry>>& entries)
{
    for (const auto& entry : entries)
        shown.push_back(entry.get());
}

std::vector<std::size_t> runOf(std::size_t first, std::size_t count)
{
    std::vector<std::size_t> rows(count);
    for (std::size_t i = 0; i < count; ++i)
        rows[i] = first + i;
    return rows;
}

}  // namespace

ListEdit::Applied ListEdit::undo(CLiedkramDoc& doc)
{
    Applied applied;
    // Every step is checked against the list first: a list that is not as
    // the edit left it is not touched at all.
    std::size_t count = doc.GetCount();
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
        switch (step->kind) {
        case Step::Kind::Removed:
            count += step->rows.size();
            applied.matched &= step->rows.empty() || step->rows.back() < count;
            break;
        case Step::Kind::Appended:
            applied.matched &= step->rows[0] + step->count == count;
            count = step->rows[0];
            break;
        case Step::Kind::Reordered:
            applied.matched &= step->order.size() == count;
            break;
        case Step::Kind::Changed:
            applied.matched &= step->rows[0] < count;
            break;
        }
    }
    if (!applied.matched)
        return applied;
    std::vector<const CLiedkramEntry*> shown;
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
        switch (step->kind) {
        case Step::Kind::Removed:
            note(shown, step->entries);
            doc.insertRows(step->rows, std::move(step->entries));
            step->entries.clear();
            break;
        case Step::Kind::Appended:
            step->entries = doc.takeRows(runOf(step->rows[0], step->count));
            break;
        case Step::Kind::Reordered:
            doc.putInOrder(inverse(step->order));
            break;
        case Step::Kind::Changed:
            doc.replaceEntry(step->rows[0], *step->before);
            shown.push_back(&std::as_const(doc).GetEntry(step->rows[0]));
            break;
        }
    }
    applied.rows = rowsOf(doc, shown);
    return applied;
}

ListEdit::Applied ListEdit::redo(CLiedkramDoc& doc)
{
    Applied applied;
    std::size_t count = doc.GetCount();
    for (const Step& step : steps_) {
        switch (step.kind) {
        case Step::Kind::Removed:
            applied.matched &= step.rows.empty() || step.rows.back() < count;
            count -= std::min(count, step.rows.size());
            break;
        case Step::Kind::Appended:
            applied.matched &= step.rows[0] == count;
            count += step.count;
            break;
        case Step::Kind::Reordered:
            applied.matched &= step.order.size() == count;
            break;
        case Step::Kind::Changed:
            applied.matched &= step.rows[0] < count;
            break;
        }
    }
    if (!applied.matched)
        return applied;
    std::vector<const CLiedkramEntry*> shown;
    for (Step& step : steps_) {
        switch (step.kind) {
        case Step::Kind::Removed:
            step.entries = doc.takeRows(step.rows);
            break;
        case Step::Kind::Appended:
            note(shown, step.entries);
            doc.appendAll(std::move(step.entries));
            step.entries.clear();
            break;
        case Step::Kind::Reordered:
            doc.putInOrder(step.order);
            break;
        case Step::Kind::Changed:
            doc.replaceEntry(step.rows[0], *step.after);
            shown.push_back(&std::as_const(doc).GetEntry(step.rows[0]));
            break;
        }
    }
    applied.rows = rowsOf(doc, shown);
    return applied;
}

}  // namespace document

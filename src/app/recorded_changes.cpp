#include "app/recorded_changes.h"

#include "document/liedkram_doc.h"
#include "document/list_edit.h"
#include "history/journal_location.h"

RecordedChanges::RecordedChanges(CLiedkramDoc& doc, std::string command)
    : doc_(doc), changes_(history::dataDirectory(), std::move(command), history::keepingIsOn())
{
    doc_.changes = &changes_;
}

RecordedChanges::~RecordedChanges()
{
    doc_.changes = nullptr;
    // The window's step that made these changes takes them back with its list edits.
    if (doc_.edits && changes_.number() > 0)
        doc_.edits->addChangeSet(changes_.number());
}

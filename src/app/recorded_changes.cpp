#include "app/recorded_changes.h"

#include "document/liedkram_doc.h"
#include "history/journal_location.h"

RecordedChanges::RecordedChanges(CLiedkramDoc& doc, std::string command)
    : doc_(doc), changes_(history::dataDirectory(), std::move(command), history::keepingIsOn())
{
    doc_.changes = &changes_;
}

RecordedChanges::~RecordedChanges()
{
    doc_.changes = nullptr;
}

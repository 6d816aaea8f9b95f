#pragma once

#include "history/change_set.h"

#include <string>

class CLiedkramDoc;

// The changes one command of the desktop program makes to the user's files,
// as one change set of the journal (keeping originals as the settings say).
// While it lives, the document records the ".cop" names of declined files
// in it too.
class RecordedChanges {
public:
    RecordedChanges(CLiedkramDoc& doc, std::string command);
    ~RecordedChanges();
    RecordedChanges(const RecordedChanges&) = delete;
    RecordedChanges& operator=(const RecordedChanges&) = delete;

    history::ChangeSet& changes() { return changes_; }

private:
    CLiedkramDoc& doc_;
    history::ChangeSet changes_;
};

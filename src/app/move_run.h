#pragma once

#include <vector>

class CLiedkramDoc;
class QWidget;

// A move of this many files or more shows its progress.
inline constexpr int kMoveProgressFrom = 6;

// "mp3's verschieben": asks for the folder (starting at the one chosen last,
// which is remembered), then moves the selected rows' files there as one
// change set; the entries follow their files. With kMoveProgressFrom files
// or more a progress dialog shows how far it has come; its "Abbrechen" stops
// after the current file. The files left where they are are told one by one,
// through the installed prompter (the window's "Meldungen" for several files).
void runMove(CLiedkramDoc& doc, const std::vector<int>& selectedRows, QWidget* parent);

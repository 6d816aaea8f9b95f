#pragma once

#include <vector>

class CLiedkramDoc;
class QWidget;

namespace platform {
class ShellOpener;
}

// The manual edit command: shows the edit dialog for each selected row in
// order. A saved entry marks the list changed and refreshes its row;
// "A&bbrechen" stops the walk. An error while saving stops it with a message
// naming the file.
void runManualEdit(CLiedkramDoc& doc, const std::vector<int>& selectedRows, platform::ShellOpener& shell,
                   QWidget* parent);

// The auto-edit command: applies the auto edit to each selected row in order
// under a progress dialog that asks the run's questions. Over several rows
// with renaming on, every proposed name is reviewed first through the
// prompter, which decides the renames: the run then asks no rename question,
// and "Abbrechen" there ends it before it starts. Every other message
// and question goes to the installed prompter. "&Abbrechen" stops the run:
// at a question at once, otherwise after the current entry. An error stops
// it with a message naming the file. Whenever this returns, the dialog is
// gone and the prompter of before the run is back in place.
void runAutoEdit(CLiedkramDoc& doc, const std::vector<int>& selectedRows, QWidget* parent);

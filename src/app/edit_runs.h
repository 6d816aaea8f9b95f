#pragma once

#include <functional>
#include <string_view>
#include <vector>

class CLiedkramDoc;
class QWidget;

namespace platform {
class ShellOpener;
}

// Answers the progress question of the core (platform::Prompter::askProgress).
using ProgressAsker = std::function<int(std::string_view)>;
// Installs the asker for the time of a run; an empty asker ends the routing.
// The desktop program passes QtPrompter::setProgressAsker.
using ProgressAskerSlot = std::function<void(ProgressAsker)>;

// The manual edit command: shows the edit dialog for each selected row in
// order. A saved entry marks the list changed and refreshes its row;
// "A&bbrechen" stops the walk. An error while saving stops it with a message
// naming the file.
void runManualEdit(CLiedkramDoc& doc, const std::vector<int>& selectedRows, platform::ShellOpener& shell,
                   QWidget* parent);

// The auto-edit command: applies the auto edit to each selected row in order
// under a progress dialog that asks the run's questions. "&Abbrechen" stops
// the run: at a question at once, otherwise after the current entry. An
// error stops it with a message naming the file. The dialog is gone and the
// routing removed whenever this returns.
void runAutoEdit(CLiedkramDoc& doc, const std::vector<int>& selectedRows, QWidget* parent,
                 const ProgressAskerSlot& routeQuestions);

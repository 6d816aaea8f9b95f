#pragma once

#include <string>
#include <vector>

class CLiedkramDoc;
class QWidget;

enum class PathCommand { Add, Subtract };

// Adding that has worked this long shows its progress dialog.
inline constexpr int kPathRunProgressDelayMs = 1000;
// How often the progress dialog is brought up to date and its "Abbrechen" heard.
inline constexpr int kPathRunRepaintMs = 50;

// The add or subtract command over the chosen paths, under the wait cursor.
// Once the work itself (not the time the user spends on its questions) has
// taken delayMs, a progress dialog with "Abbrechen", the files done, their
// rate and the current file appears between two paths, never while a
// question is open. "Abbrechen" stops the command
// after the current path and says how far it came.
void runPathCommand(CLiedkramDoc& doc, PathCommand command, const std::vector<std::string>& paths, QWidget* parent,
                    int delayMs = kPathRunProgressDelayMs);

#pragma once

#include <string>
#include <vector>

class CLiedkramDoc;
class QWidget;

enum class PathCommand { Add, Subtract };

// Adding that has worked this long shows its progress dialog.
inline constexpr int kPathRunProgressDelayMs = 1000;

// The add or subtract command over the chosen paths, under the wait cursor.
// Once the work itself (not the time the user spends on its questions) has
// taken delayMs, a progress dialog with "Abbrechen" appears between two
// paths, never while a question is open. "Abbrechen" stops the command
// after the current path and says how far it came.
void runPathCommand(CLiedkramDoc& doc, PathCommand command, const std::vector<std::string>& paths, QWidget* parent,
                    int delayMs = kPathRunProgressDelayMs);

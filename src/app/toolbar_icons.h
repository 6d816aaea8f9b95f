#pragma once

#include <QIcon>

// The toolbar icon of a command: the desktop theme's icon when it has one,
// else a small drawn badge of our own.
QIcon toolbarIcon(int commandId, const QString& themeName);

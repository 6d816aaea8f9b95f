#pragma once

#include <QIcon>

// The toolbar icon of a command: our own drawing (res/icons/NAME.svg), sharp
// at any size and the same whatever desktop theme is present.
QIcon toolbarIcon(const QString& name);

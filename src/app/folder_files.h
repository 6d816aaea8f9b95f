#pragma once

#include <QStringList>

// The MP3 files (name ending in ".mp3", any case) in the folder and in the
// folders below it, sorted by path. Links to folders are not followed: they
// could lead in a circle.
QStringList mp3FilesBelow(const QString& folder);

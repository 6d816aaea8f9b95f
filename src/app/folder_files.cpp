#include "app/folder_files.h"

#include <QDirIterator>

QStringList mp3FilesBelow(const QString& folder)
{
    // Name filters match without regard to case; without FollowSymlinks the
    // walk does not enter linked folders.
    QDirIterator it(folder, {QStringLiteral("*.mp3")}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

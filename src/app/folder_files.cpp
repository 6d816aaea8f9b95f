#include "app/folder_files.h"

#include "document/collection_walk.h"
#include "platform/prompter.h"

platform::FolderWalk walkFolder(const QString& folder)
{
    platform::FolderWalk walk = document::collectionFilesBelow(folder.toStdString());
    for (const platform::UnreadableFolder& unreadable : walk.unreadable)
        platform::prompter().showFileMessage(
            unreadable.path,
            QStringLiteral("Der Ordner '%1' kann nicht gelesen werden (%2) -> übersprungen.")
                .arg(QString::fromStdString(unreadable.path), QString::fromStdString(unreadable.reason))
                .toStdString());
    if (walk.backupFolder)
        platform::prompter().showMessage(
            QStringLiteral("Im Ordner '%1' liegen die für Rückgängig aufbewahrten Originale -> nicht hinzugefügt.")
                .arg(folder)
                .toStdString());
    return walk;
}

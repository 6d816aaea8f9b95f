#include "app/folder_files.h"

#include "history/journal_location.h"
#include "platform/prompter.h"

platform::FolderWalk walkFolder(const QString& folder)
{
    platform::FolderWalk walk = platform::mp3FilesBelow(folder.toStdString(), {history::dataDirectory()});
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

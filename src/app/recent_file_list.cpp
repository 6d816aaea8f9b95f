#include "app/recent_file_list.h"

#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString keyOf(int number)
{
    return QStringLiteral("File%1").arg(number);
}

}  // namespace

QStringList RecentFileList::files() const
{
    QSettings settings;
    settings.beginGroup(kGroup);
    QStringList files;
    for (int number = 1; number <= kSize; ++number) {
        const QString path = settings.value(keyOf(number)).toString();
        if (!path.isEmpty())
            files << path;
    }
    return files;
}

void RecentFileList::add(const QString& path)
{
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list);
}

void RecentFileList::remove(const QString& path)
{
    QStringList list = files();
    list.removeAll(path);
    store(list);
}

void RecentFileList::store(const QStringList& list)
{
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int number = 1; number <= kSize; ++number) {
        if (number <= list.size())
            settings.setValue(keyOf(number), list.at(number - 1));
        else
            settings.remove(keyOf(number));
    }
}

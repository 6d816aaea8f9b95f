#include "app/recent_file_list.h"

#include "platform/profile.h"

#include <string>

namespace {

// The group the old framework kept its list in; a slot without a path is free.
std::string keyOf(int number)
{
    return "Recent File List/File" + std::to_string(number);
}

}  // namespace

QStringList RecentFileList::files() const
{
    QStringList files;
    for (int number = 1; number <= kSize; ++number) {
        const QString path = QString::fromStdString(platform::profile().getString(keyOf(number), {}));
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
    for (int number = 1; number <= kSize; ++number) {
        const QString path = number <= list.size() ? list.at(number - 1) : QString();
        platform::profile().writeString(keyOf(number), path.toStdString());
    }
}

#pragma once

#include <QStringList>

// The four most recently opened or saved list files, newest first, kept in
// the settings store.
class RecentFileList {
public:
    static constexpr int kSize = 4;

    QStringList files() const;
    void add(const QString& path);
    void remove(const QString& path);

private:
    static void store(const QStringList& list);
};

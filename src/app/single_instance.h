#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

// One Liedkram per user: the first one listens on a local socket in the
// user's runtime folder; a later start (a second "liedkram FILE...", a file
// opened from the file manager) hands its files to it and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket in the user's runtime folder.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);

    // Hands the paths to the Liedkram that listens; false when none does.
    bool handOver(const QStringList& paths) const;
    // Listens for later starts, taking over a socket left by one that
    // ended without closing it; false when that fails.
    bool listen();

signals:
    void filesReceived(const QStringList& paths);

private:
    void receive(class QLocalSocket* socket);

    QString serverName_;
    QLocalServer server_;
};

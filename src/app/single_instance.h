#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <QTimer>

// One Liedkram per user: the first one listens on a local socket in a
// folder only the user may enter; a later start (a second "liedkram
// FILE...", a file opened from the file manager) hands its files to it and
// ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket in the user's own runtime folder; empty when there is no
    // such folder, and then every start runs on its own.
    static QString defaultServerName();

    // A connection that sends no whole message within idleTimeoutMs is closed.
    explicit SingleInstance(QString serverName = defaultServerName(), int idleTimeoutMs = 5000,
                            QObject* parent = nullptr);

    // Hands the paths to the Liedkram that listens; false when none does.
    bool handOver(const QStringList& paths) const;
    // Listens for later starts, taking over a socket left by one that
    // ended without closing it; false when that fails.
    bool listen();

signals:
    void filesReceived(const QStringList& paths);

private:
    void accept();
    void receive(class QLocalSocket* socket);
    void listenAgainIfClosed();

    QString serverName_;
    int idleTimeoutMs_;
    QLocalServer server_;
    // Qt closes the server when accepting fails (no descriptor left).
    QTimer watch_;
    int connections_ = 0;
};

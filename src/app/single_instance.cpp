#include "app/single_instance.h"

#include <QDataStream>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 3000;
constexpr auto kStreamVersion = QDataStream::Qt_6_0;

}  // namespace

QString SingleInstance::defaultServerName()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/liedkram");
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName))
{
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            receive(socket);
        }
    });
}

bool SingleInstance::handOver(const QStringList& paths) const
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << paths;
    socket.write(message);
    if (!socket.waitForBytesWritten(kWriteTimeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWriteTimeoutMs);
    return true;
}

bool SingleInstance::listen()
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(serverName_))
        return true;
    // Nobody answered there (handOver failed), so the socket is a leftover.
    QLocalServer::removeServer(serverName_);
    return server_.listen(serverName_);
}

void SingleInstance::receive(QLocalSocket* socket)
{
    QDataStream in(socket);
    in.setVersion(kStreamVersion);
    in.startTransaction();
    QStringList paths;
    in >> paths;
    // The rest of the message is still on its way.
    if (!in.commitTransaction())
        return;
    socket->disconnectFromServer();
    emit filesReceived(paths);
}

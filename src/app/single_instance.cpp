#include "app/single_instance.h"

#include "platform/runtime_folder.h"

#include <QDataStream>
#include <QLocalSocket>

#include <cstdlib>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 3000;
constexpr int kWatchIntervalMs = 1000;
// A start hands over one message; a few at once are starts made together.
constexpr int kMaxConnections = 8;
constexpr quint32 kMaxMessageBytes = 4 << 20;
constexpr auto kStreamVersion = QDataStream::Qt_6_0;

}  // namespace

QString SingleInstance::defaultServerName()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const auto folder = platform::privateRuntimeFolder(runtime ? std::optional<std::string>(runtime) : std::nullopt);
    return folder ? QString::fromStdString(*folder) + QStringLiteral("/liedkram") : QString();
}

SingleInstance::SingleInstance(QString serverName, int idleTimeoutMs, QObject* parent)
    : QObject(parent), serverName_(std::move(serverName)), idleTimeoutMs_(idleTimeoutMs)
{
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
    watch_.setInterval(kWatchIntervalMs);
    connect(&watch_, &QTimer::timeout, this, &SingleInstance::listenAgainIfClosed);
}

bool SingleInstance::handOver(const QStringList& paths) const
{
    if (serverName_.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << paths;
    QByteArray message;
    QDataStream framed(&message, QIODevice::WriteOnly);
    framed << static_cast<quint32>(payload.size());
    message += payload;
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
    if (serverName_.isEmpty())
        return false;
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    watch_.start();
    if (server_.listen(serverName_))
        return true;
    // Nobody answered there (handOver failed), so the socket is a leftover.
    QLocalServer::removeServer(serverName_);
    return server_.listen(serverName_);
}

void SingleInstance::listenAgainIfClosed()
{
    if (server_.isListening())
        return;
    QLocalServer::removeServer(serverName_);
    server_.listen(serverName_);
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (connections_ >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++connections_;
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        idle->start(idleTimeoutMs_);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this] { --connections_; });
        receive(socket);
    }
}

void SingleInstance::receive(QLocalSocket* socket)
{
    // A message is its length and the paths; the length is checked before
    // anything is taken from it, as the stream's own list reader would
    // reserve whatever count it is sent.
    constexpr qint64 kLengthBytes = 4;
    if (socket->bytesAvailable() < kLengthBytes)
        return;
    quint32 length = 0;
    QDataStream(socket->peek(kLengthBytes)) >> length;
    if (length > kMaxMessageBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kLengthBytes + length)
        return;
    socket->skip(kLengthBytes);
    const QByteArray payload = socket->read(length);
    socket->disconnectFromServer();

    QDataStream in(payload);
    in.setVersion(kStreamVersion);
    quint32 count = 0;
    in >> count;
    // Every path takes at least its own length field.
    if (count > payload.size() / kLengthBytes)
        return;
    QStringList paths;
    for (quint32 i = 0; i < count; ++i) {
        QString path;
        in >> path;
        if (in.status() != QDataStream::Ok)
            return;
        paths << path;
    }
    emit filesReceived(paths);
}

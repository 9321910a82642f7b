#include "SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace mirado {
namespace {

constexpr int kTimeoutMs = 3000;

// Paths travel one per line, UTF-8; a path cannot hold a line break on the systems we support.
QByteArray encode(const QStringList& paths) {
    QByteArray bytes;
    for (const QString& path : paths) bytes += path.toUtf8() + '\n';
    return bytes;
}

QStringList decode(const QByteArray& bytes) {
    QStringList paths;
    for (const QByteArray& line : bytes.split('\n')) {
        if (!line.isEmpty()) paths << QString::fromUtf8(line);
    }
    return paths;
}

}  // namespace

SingleInstance::SingleInstance(const QString& key) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    name_ = !runtime.isEmpty() && QFileInfo(runtime).isDir()
                ? QDir(runtime).filePath(key)
                : QStringLiteral("%1-%2").arg(key).arg(::getuid());
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::handOver(const QStringList& paths) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    socket.write(encode(paths));
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(kTimeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
    return true;
}

bool SingleInstance::listen(Receiver receiver) {
    receiver_ = std::move(receiver);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left behind by a player that ended abnormally: nobody answered handOver.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) {
            server_.reset();
            return false;
        }
    }
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QLocalSocket::readyRead, socket,
                             [socket, received] { *received += socket->readAll(); });
            const auto finish = [this, socket, received] {
                *received += socket->readAll();
                socket->deleteLater();
                if (receiver_) receiver_(decode(*received));
            };
            if (socket->state() == QLocalSocket::UnconnectedState)
                finish();
            else
                QObject::connect(socket, &QLocalSocket::disconnected, socket, finish);
        }
    });
    return true;
}

}  // namespace mirado

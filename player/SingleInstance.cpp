#include "SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

namespace mirado {
namespace {

constexpr int kTimeoutMs = 3000;
const QString kSocketName = QStringLiteral("mirado-player.socket");

// A folder of this user that nobody else can enter, list or write (a symbolic link does not count).
bool isPrivateFolder(const QString& folder) {
    struct stat info {};
    return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString socketFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime)) return runtime;
    // Without a runtime folder, one of our own under the temporary folder; a folder of that name that
    // someone else made first is not used.
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("mirado-%1").arg(::getuid()));
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivateFolder(own) ? own : QString();
}

// Each path ends with a zero byte: a file name may hold any other byte, line breaks included.
QByteArray encode(const QStringList& paths) {
    QByteArray bytes;
    for (const QString& path : paths) bytes += QFile::encodeName(path) + '\0';
    return bytes;
}

QStringList decode(const QByteArray& bytes) {
    QStringList paths;
    for (const QByteArray& entry : bytes.split('\0')) {
        if (!entry.isEmpty()) paths << QFile::decodeName(entry);
    }
    return paths;
}

}  // namespace

SingleInstance::SingleInstance() {
    const QString folder = socketFolder();
    if (!folder.isEmpty()) name_ = QDir(folder).filePath(kSocketName);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::peerIsThisUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == ::getuid();
}

bool SingleInstance::handOver(const QStringList& paths) {
    if (name_.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    // The paths go only to a player of this user.
    if (!peerIsThisUser(socket)) return false;
    socket.write(encode(paths));
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(kTimeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
    return true;
}

bool SingleInstance::listen(Receiver receiver) {
    if (name_.isEmpty()) return false;
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
            if (!peerIsThisUser(*socket)) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
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

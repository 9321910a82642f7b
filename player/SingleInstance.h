#pragma once
// One running player per user. The first start listens on a local socket in a folder only its user can
// enter; a later start hands its files to it and ends. Either side talks only to a process of its own user.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace mirado {

class SingleInstance {
public:
    // Receives the files a later start handed over (possibly none); it should bring the window forward.
    using Receiver = std::function<void(const QStringList& paths)>;

    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when a running instance of this user took the paths: this process should end.
    bool handOver(const QStringList& paths);
    // Becomes the running instance. False when the socket cannot be made (the program then runs alone).
    bool listen(Receiver receiver);

    // The socket's path: in the user's runtime folder when it is private, else in a folder of mode 0700
    // made under the temporary folder. Empty when neither can be had.
    const QString& serverName() const { return name_; }

    // Whether the process at the other end of `socket` runs as this user.
    static bool peerIsThisUser(const QLocalSocket& socket);

private:
    QString name_;
    std::unique_ptr<QLocalServer> server_;
    Receiver receiver_;
};

}  // namespace mirado

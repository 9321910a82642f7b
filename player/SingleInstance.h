#pragma once
// One running player per user. The first start listens on a local socket named after the window
// title; a later start hands its files to it and ends.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;

namespace mirado {

class SingleInstance {
public:
    // Receives the files a later start handed over (possibly none); it should bring the window forward.
    using Receiver = std::function<void(const QStringList& paths)>;

    explicit SingleInstance(const QString& key);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when a running instance took the paths: this process should end.
    bool handOver(const QStringList& paths);
    // Becomes the running instance. False when the socket cannot be made (the program then runs alone).
    bool listen(Receiver receiver);

    // The socket's name: in the user's runtime folder when there is one, else per user id.
    const QString& serverName() const { return name_; }

private:
    QString name_;
    std::unique_ptr<QLocalServer> server_;
    Receiver receiver_;
};

}  // namespace mirado

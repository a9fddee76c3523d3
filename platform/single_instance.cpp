#include "platform/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <unistd.h>

namespace orvek {

namespace {
constexpr char kActivate[] = "activate\n";
}

SingleInstanceGuard::SingleInstanceGuard(const QString& programId, const QString& folder, QObject* parent)
    : QObject(parent)
    , programId_(programId)
    , folder_(folder)
{
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    if (server_)
        server_->close();
}

QString SingleInstanceGuard::LockFilePath() const
{
    return QDir(folder_).filePath(QString("%1-%2.lock").arg(programId_).arg(getuid()));
}

// A full path keeps the socket in the per-user folder instead of the shared /tmp.
QString SingleInstanceGuard::ServerName() const
{
    return QDir(folder_).filePath(QString("%1-%2.sock").arg(programId_).arg(getuid()));
}

bool SingleInstanceGuard::TryAcquire()
{
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(LockFilePath());
    // Age alone never makes the lock stale: only a holder that no longer runs does.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    // The lock is ours, so any socket file is a leftover of a crashed instance.
    QLocalServer::removeServer(ServerName());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstanceGuard::OnNewConnection);
    server_->listen(ServerName());
    return true;
}

void SingleInstanceGuard::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains("activate"))
                Q_EMIT ActivationRequested();
            socket->disconnectFromServer();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

bool SingleInstanceGuard::NotifyRunningInstance(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return sent;
}

} // namespace orvek

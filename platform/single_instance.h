#pragma once
// One running instance per user. The first start holds a lock file and listens on a
// local socket; a later start finds the lock held, tells the first one to come to
// the front and ends. A lock or socket left behind by a crashed instance is taken
// over, never obeyed.

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QLocalServer;

namespace orvek {

class SingleInstanceGuard : public QObject {
    Q_OBJECT
public:
    // ProgramId names the lock and the socket, Folder (a per-user folder) holds them.
    SingleInstanceGuard(const QString& programId, const QString& folder, QObject* parent = nullptr);
    ~SingleInstanceGuard() override;

    // True when this process is the first instance; it then listens for notices.
    bool TryAcquire();
    // Sent by a later start: asks the first instance to come to the front. A notice that
    // cannot be delivered is given up after TimeoutMs; the later start ends all the same.
    bool NotifyRunningInstance(int timeoutMs = 2000);

    QString LockFilePath() const;
    QString ServerName() const;

Q_SIGNALS:
    // Another start of the program asked this instance to come to the front.
    void ActivationRequested();

private:
    void OnNewConnection();

    QString programId_;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

} // namespace orvek

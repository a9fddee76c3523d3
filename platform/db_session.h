#pragma once
// A database session: the aliases (an alias names a folder whose tables live in that
// folder's database file), the table passwords the session knows, the private and
// network folders and a progress callback. Connections are opened per alias through
// the session and closed with it.

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class QSqlDatabase;
class QTimer;

namespace orvek {

class DatabaseSession {
public:
    explicit DatabaseSession(const QString& sessionName);
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession&) = delete;
    DatabaseSession& operator=(const DatabaseSession&) = delete;

    QString SessionName() const { return sessionName_; }

    // Activating checks that the database driver is there and that the private and
    // network folders are writable; False with Error otherwise. Deactivating closes
    // every connection of the session.
    bool SetActive(bool active, QString* error = nullptr);
    bool Active() const { return active_; }
    QString PrivateDir, NetFileDir;

    // Replaces the alias's parameters by the one line "PATH=" + Folder, or adds it.
    void SetAlias(const QString& name, const QString& folder);
    bool IsAlias(const QString& name) const;
    QStringList AliasParams(const QString& name) const;
    QString AliasFolder(const QString& name) const;

    // The connection of the session to the database of Alias's folder (created when
    // CreateMissing). Not open, with Error, when the session is inactive, the alias is
    // unknown or the file cannot be opened.
    QSqlDatabase Database(const QString& alias, bool createMissing = false, QString* error = nullptr);
    QString ConnectionName(const QString& alias) const;
    void CloseDatabases();

    // Table passwords known to the session.
    void AddPassword(const QString& password);
    void RemoveAllPasswords();
    bool KnowsPassword(const QString& password) const { return passwords_.contains(password); }
    // True when Table has no password or the session knows it.
    bool MayOpenTable(QSqlDatabase& db, const QString& table) const;

    // Progress of long operations: Phase (0 headers, 1 indexes, 2 data, 8 repair) and
    // the percentage done. Empty when nobody listens.
    using ProgressCallback = std::function<void(int phase, int percent)>;
    void SetProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }
    void ReportProgress(int phase, int percent) const;

private:
    QString sessionName_;
    bool active_ = false;
    QMap<QString, QString> aliases_; // upper-cased name -> folder
    QSet<QString> passwords_;
    QStringList opened_;
    ProgressCallback progress_;
};

// Table passwords are kept in the table TablePasswords of the database (table name
// and a salted SHA-256 of the password); a table without a row is unprotected.
inline constexpr const char* kTablePasswordTable = "TablePasswords";
bool SetTablePassword(QSqlDatabase& db, const QString& table, const QString& password, QString* error = nullptr);
bool TableHasPassword(QSqlDatabase& db, const QString& table);
bool TablePasswordMatches(QSqlDatabase& db, const QString& table, const QString& password);

// Tells when another connection (another process or workstation) changed a watched
// table: polls the connection's data version and, when it moved, the tables' change
// counters. TableChanged is emitted on the thread of the watcher.
class TableChangeWatcher : public QObject {
    Q_OBJECT
public:
    TableChangeWatcher(
        const QString& connectionName, const QStringList& tables, int intervalMs = 500, QObject* parent = nullptr);
    // One poll now; returns the tables found changed (and emits for each).
    QStringList Poll();

Q_SIGNALS:
    void TableChanged(const QString& table);

private:
    QString connectionName_;
    QMap<QString, qint64> counters_;
    qint64 dataVersion_ = -1;
    QTimer* timer_;
};

} // namespace orvek

#include "platform/db_session.h"

#include "platform/sql_database.h"
#include "platform/sql_engine.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QTimer>

namespace orvek {

namespace {

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

bool FolderWritable(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("probe-XXXXXX")));
    return probe.open();
}

QString PasswordDigest(const QString& table, const QString& password)
{
    // The table name salts the digest, so equal passwords of two tables differ.
    return QString::fromLatin1(
        QCryptographicHash::hash((table.toUpper() + QLatin1Char('\n') + password).toUtf8(), QCryptographicHash::Sha256)
            .toHex());
}

bool EnsurePasswordTable(QSqlDatabase& db, QString* error)
{
    return TableExists(db, QString::fromLatin1(kTablePasswordTable))
        || PostStatement(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS ") + QuoteName(QString::fromLatin1(kTablePasswordTable))
                + QStringLiteral(" (TableName TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, Digest TEXT NOT NULL)"),
            {}, error);
}

} // namespace

DatabaseSession::DatabaseSession(const QString& sessionName)
    : sessionName_(sessionName)
{
}

DatabaseSession::~DatabaseSession()
{
    CloseDatabases();
}

bool DatabaseSession::SetActive(bool active, QString* error)
{
    if (!active) {
        CloseDatabases();
        active_ = false;
        return true;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        SetError(error, QStringLiteral("The SQLite database driver cannot be loaded"));
        return false;
    }
    for (const QString& folder : { PrivateDir, NetFileDir }) {
        // A server database has no folder of its own.
        if (!folder.isEmpty() && !IsServerLocation(folder) && !FolderWritable(folder)) {
            SetError(error, QStringLiteral("The folder %1 is not writable").arg(folder));
            return false;
        }
    }
    active_ = true;
    return true;
}

void DatabaseSession::SetAlias(const QString& name, const QString& folder)
{
    aliases_[name.toUpper()] = folder;
}

bool DatabaseSession::IsAlias(const QString& name) const
{
    return aliases_.contains(name.toUpper());
}

QStringList DatabaseSession::AliasParams(const QString& name) const
{
    if (!IsAlias(name))
        return {};
    return { QStringLiteral("PATH=") + aliases_.value(name.toUpper()) };
}

QString DatabaseSession::AliasFolder(const QString& name) const
{
    return aliases_.value(name.toUpper());
}

QString DatabaseSession::ConnectionName(const QString& alias) const
{
    return sessionName_ + QLatin1Char('/') + alias.toUpper();
}

QSqlDatabase DatabaseSession::Database(const QString& alias, bool createMissing, QString* error)
{
    if (!active_) {
        SetError(error, QStringLiteral("The database session is not active"));
        return QSqlDatabase();
    }
    if (!IsAlias(alias)) {
        SetError(error, QStringLiteral("Unknown alias %1").arg(alias));
        return QSqlDatabase();
    }
    const QString name = ConnectionName(alias);
    if (!opened_.contains(name))
        opened_ << name;
    return OpenFolderDatabase(name, AliasFolder(alias), createMissing, error);
}

void DatabaseSession::CloseDatabases()
{
    for (const QString& name : std::as_const(opened_))
        CloseFolderDatabase(name);
    opened_.clear();
}

void DatabaseSession::AddPassword(const QString& password)
{
    passwords_.insert(password);
}

void DatabaseSession::RemoveAllPasswords()
{
    passwords_.clear();
}

bool DatabaseSession::MayOpenTable(QSqlDatabase& db, const QString& table) const
{
    if (!TableHasPassword(db, table))
        return true;
    for (const QString& password : passwords_)
        if (TablePasswordMatches(db, table, password))
            return true;
    return false;
}

void DatabaseSession::ReportProgress(int phase, int percent) const
{
    if (progress_)
        progress_(phase, percent);
}

bool SetTablePassword(QSqlDatabase& db, const QString& table, const QString& password, QString* error)
{
    if (!EnsurePasswordTable(db, error))
        return false;
    return PostStatement(db,
        QStringLiteral("INSERT OR REPLACE INTO ") + QuoteName(QString::fromLatin1(kTablePasswordTable))
            + QStringLiteral(" (TableName, Digest) VALUES (?, ?)"),
        { table, PasswordDigest(table, password) }, error);
}

bool TableHasPassword(QSqlDatabase& db, const QString& table)
{
    if (!TableExists(db, QString::fromLatin1(kTablePasswordTable)))
        return false;
    QSqlQuery query(db);
    return ExecBound(query,
               QStringLiteral("SELECT 1 FROM ") + QuoteName(QString::fromLatin1(kTablePasswordTable))
                   + QStringLiteral(" WHERE TableName = ?"),
               { table })
        && query.next();
}

bool TablePasswordMatches(QSqlDatabase& db, const QString& table, const QString& password)
{
    QSqlQuery query(db);
    return ExecBound(query,
               QStringLiteral("SELECT Digest FROM ") + QuoteName(QString::fromLatin1(kTablePasswordTable))
                   + QStringLiteral(" WHERE TableName = ?"),
               { table })
        && query.next() && query.value(0).toString() == PasswordDigest(table, password);
}

TableChangeWatcher::TableChangeWatcher(
    const QString& connectionName, const QStringList& tables, int intervalMs, QObject* parent)
    : QObject(parent)
    , connectionName_(connectionName)
    , timer_(new QTimer(this))
{
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    dataVersion_ = DataVersion(db);
    for (const QString& table : tables)
        counters_[table] = ReadChangeCounter(db, table);
    connect(timer_, &QTimer::timeout, this, [this] { Poll(); });
    if (intervalMs > 0)
        timer_->start(intervalMs);
}

QStringList TableChangeWatcher::Poll()
{
    QStringList changed;
    if (!QSqlDatabase::contains(connectionName_))
        return changed;
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (!db.isOpen())
        return changed;
    const qint64 version = DataVersion(db);
    if (version == dataVersion_)
        return changed;
    dataVersion_ = version;
    for (auto it = counters_.begin(); it != counters_.end(); ++it) {
        const qint64 counter = ReadChangeCounter(db, it.key());
        if (counter != it.value()) {
            it.value() = counter;
            changed << it.key();
        }
    }
    for (const QString& table : std::as_const(changed))
        Q_EMIT TableChanged(table);
    return changed;
}

} // namespace orvek

#pragma once
// A table of a session's alias database. It opens only when the session is active,
// the table exists and the session knows the table's password. Every post is its own
// committed write transaction; new row IDs come from the insert itself.

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

namespace orvek {

class DatabaseSession;

class TVxTable {
public:
    explicit TVxTable(DatabaseSession* session = nullptr)
        : session_(session)
    {
    }

    int SelRecNo = -1;
    QString DatabaseName; // alias
    QString TableName;
    bool Exclusive = false;
    bool CachedUpdates = false;

    void SetSession(DatabaseSession* session) { session_ = session; }
    DatabaseSession* Session() const { return session_; }

    bool Open(QString* error = nullptr);
    void Close() { active_ = false; }
    bool Active() const { return active_; }
    // True when the alias's database holds the table (the table need not be open).
    bool Exists();
    QSqlDatabase Database(QString* error = nullptr);

    // Appends a row and returns its new ID (the row's key), or -1 with Error.
    qint64 Append(const QVariantMap& values, QString* error = nullptr);
    // Changes the row with key ID; False with Error, also when no row has that key.
    bool Update(qint64 id, const QVariantMap& values, QString* error = nullptr);
    bool Delete(qint64 id, QString* error = nullptr);
    // The row with key ID (an empty map when there is none).
    QVariantMap Row(qint64 id);

private:
    DatabaseSession* session_ = nullptr;
    bool active_ = false;
};

// Makes the table's changes durable now: commits a write transaction left open on its
// connection (posts commit themselves, so usually there is none). False with Error
// when the commit fails.
bool FlushTable(TVxTable& table, QString* error = nullptr);

} // namespace orvek

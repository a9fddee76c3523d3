#include "database/undo_table.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "core/logs.h"
#include "database/data_module.h"
#include "platform/sql_database.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace orvek {

namespace {

// Snapshots of this many characters or fewer (trimmed) are no state of a tree.
constexpr int kShortestMainWindowSnapshot = 20;

} // namespace

QSqlDatabase WindowUndoDatabase(const QString& name)
{
    const QString folder = QDir(TempDir).filePath(name);
    QDir().mkpath(folder);
    // The history goes with the session: its writes are not synced to disk.
    return OpenFolderDatabase(name, folder, true, nullptr, TDurability::Scratch);
}

TUndoTable::TUndoTable(TUndoPolicy policy, std::function<QSqlDatabase()> database)
    : policy_(policy)
    , database_(std::move(database))
{
}

TUndoTable::~TUndoTable()
{
    Drop();
}

QSqlDatabase TUndoTable::Database() const
{
    return database_ ? database_() : TemporaryDatabase();
}

void TUndoTable::LogFailure(const QString& what, const QString& error) const
{
    AppendLogBlock(
        QString::fromLatin1(kErrorLogFile), QStringLiteral("Undo table %1: %2: %3").arg(table_, what, error));
}

bool TUndoTable::Create()
{
    Drop();
    QSqlDatabase db = Database();
    QString error;
    if (!db.isOpen()) {
        LogFailure(QStringLiteral("create"), db.lastError().text());
        return false;
    }
    QString name;
    do
        name = UniqueFileName(TempDir, QStringLiteral("Undo"), QStringLiteral("db"));
    while (TableExists(db, name));
    if (!PostStatement(db,
            QStringLiteral("CREATE TABLE ") + QuoteName(name)
                + QStringLiteral(" (ID INTEGER PRIMARY KEY AUTOINCREMENT, Strom TEXT)"),
            {}, &error)) {
        LogFailure(QStringLiteral("create ") + name, error);
        return false;
    }
    table_ = name;
    return true;
}

void TUndoTable::Drop()
{
    rows_.clear();
    recNo_ = 0;
    if (table_.isEmpty())
        return;
    QSqlDatabase db = Database();
    if (db.isOpen())
        PostStatement(db, QStringLiteral("DROP TABLE IF EXISTS ") + QuoteName(table_));
    table_.clear();
}

void TUndoTable::Reset()
{
    if (table_.isEmpty()) {
        if (policy_ == TUndoPolicy::DropRedoTail)
            Create();
        return;
    }
    QSqlDatabase db = Database();
    QString error;
    if (!db.isOpen() || !PostStatement(db, QStringLiteral("DELETE FROM ") + QuoteName(table_), {}, &error)) {
        // A table that cannot be emptied is replaced by a new one.
        LogFailure(QStringLiteral("empty"), error);
        Create();
        return;
    }
    rows_.clear();
    recNo_ = 0;
}

bool TUndoTable::Push(const QString& text)
{
    if (policy_ == TUndoPolicy::KeepUndone && text.trimmed().size() <= kShortestMainWindowSnapshot)
        return false;
    if (table_.isEmpty())
        return false;
    QSqlDatabase db = Database();
    const bool dropTail = policy_ == TUndoPolicy::DropRedoTail && recNo_ < RowCount() && recNo_ >= 0;
    qint64 newRow = 0;
    QString error;
    const bool ok = db.isOpen()
        && Post(
            db,
            [&](QString* workError) {
                QSqlQuery query(db);
                if (dropTail
                    && !ExecBound(query,
                        QStringLiteral("DELETE FROM ") + QuoteName(table_) + QStringLiteral(" WHERE ID > ?"),
                        { recNo_ > 0 ? rows_.at(recNo_ - 1) : qint64(0) }, workError))
                    return false;
                if (!ExecBound(query,
                        QStringLiteral("INSERT INTO ") + QuoteName(table_) + QStringLiteral(" (Strom) VALUES (?)"),
                        { text }, workError))
                    return false;
                newRow = LastInsertId(db, query).toLongLong();
                return true;
            },
            &error);
    if (!ok) {
        LogFailure(QStringLiteral("push"), db.isOpen() ? error : db.lastError().text());
        return false;
    }
    if (dropTail)
        rows_.resize(recNo_);
    rows_ << newRow;
    recNo_ = RowCount();
    return true;
}

bool TUndoTable::ReadRow(int recNo, QString& text)
{
    QSqlDatabase db = Database();
    QSqlQuery query(db);
    QString error;
    if (db.isOpen()
        && ExecBound(query, QStringLiteral("SELECT Strom FROM ") + QuoteName(table_) + QStringLiteral(" WHERE ID = ?"),
            { rows_.at(recNo - 1) }, &error)
        && query.next()) {
        text = query.value(0).toString();
        return true;
    }
    LogFailure(QStringLiteral("read"), error.isEmpty() ? QStringLiteral("row %1 missing").arg(recNo) : error);
    return false;
}

bool TUndoTable::Undo(QString& text)
{
    if (!CanUndo() || !ReadRow(recNo_ - 1, text))
        return false;
    --recNo_;
    return true;
}

bool TUndoTable::Redo(QString& text)
{
    if (!CanRedo() || !ReadRow(recNo_ + 1, text))
        return false;
    ++recNo_;
    return true;
}

} // namespace orvek

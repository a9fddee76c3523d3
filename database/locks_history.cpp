// Record locks, the change history of records and templates, and the validation history.

#include "database/locks_history.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/logs.h"
#include "database/data_module.h"
#include "platform/db_session.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvek {

namespace {

QString ItemTable()
{
    return CurrentDiagramKind ? QStringLiteral("TemplateDB") : QStringLiteral("TreeDB");
}

int ItemID()
{
    return CurrentDiagramKind ? CurrentTemplateID : CurrentRecordID;
}

// OpenedByUserID of the current diagram's row: 0 when free or missing.
int ReadLockOwner(DatabaseSession& session)
{
    QSqlDatabase db = session.Database(AliasDB, false);
    if (!db.isOpen())
        return 0;
    QSqlQuery query(db);
    if (ExecBound(query,
            QStringLiteral("SELECT OpenedByUserID FROM ") + QuoteName(ItemTable()) + QStringLiteral(" WHERE ID = ?"),
            { ItemID() })
        && query.next())
        return query.value(0).toInt();
    return 0;
}

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

LockOutcome TryLockRow(
    QSqlDatabase& db, const QString& table, qint64 id, int userId, qint64 expectedCounter, int* ownerId, QString* error)
{
    if (ownerId)
        *ownerId = 0;
    int rows = 0;
    QString sql = QStringLiteral("UPDATE ") + QuoteName(table)
        + QStringLiteral(" SET OpenedByUserID = ? WHERE ID = ? AND (OpenedByUserID = 0 OR OpenedByUserID IS NULL OR "
                         "OpenedByUserID = ?)");
    QVariantList values { userId, id, userId };
    if (expectedCounter >= 0) {
        sql += QStringLiteral(" AND ChangeCounter = ?");
        values << expectedCounter;
    }
    if (!PostStatement(db, sql, values, error, &rows))
        return LockOutcome::Failed;
    if (rows == 1)
        return LockOutcome::Taken;
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("SELECT OpenedByUserID, ChangeCounter FROM ") + QuoteName(table)
                + QStringLiteral(" WHERE ID = ?"),
            { id }, error))
        return LockOutcome::Failed;
    if (!query.next())
        return LockOutcome::Missing;
    const int owner = query.value(0).toInt();
    if (owner != 0 && owner != userId) {
        if (ownerId)
            *ownerId = owner;
        return LockOutcome::HeldByOther;
    }
    if (expectedCounter >= 0 && query.value(1).toLongLong() != expectedCounter)
        return LockOutcome::ChangedSinceLoaded;
    // Freed or changed between the statement and the read: the caller may try again.
    SetError(error, QStringLiteral("The lock of %1 %2 changed while it was taken").arg(table).arg(id));
    return LockOutcome::Failed;
}

bool TDataModule1::CanLockItem()
{
    DiagramLockOwnerID = ReadLockOwner(*session_);
    return DiagramLockOwnerID == 0 || DiagramLockOwnerID == CurrentUserID;
}

bool TDataModule1::IsItemLockedByMe()
{
    DiagramLockOwnerID = ReadLockOwner(*session_);
    return DiagramLockOwnerID > 0 && DiagramLockOwnerID == CurrentUserID;
}

bool TDataModule1::LockItem(bool* changedSinceLoaded)
{
    if (changedSinceLoaded)
        *changedSinceLoaded = false;
    if (ItemID() <= 0)
        return true;
    if (CurrentUserID <= 0)
        return false;
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    if (!db.isOpen())
        return false;
    int owner = 0;
    switch (TryLockRow(db, ItemTable(), ItemID(), CurrentUserID, LoadedItemChangeCounter, &owner, &error)) {
    case LockOutcome::Taken:
    case LockOutcome::Missing:
        return true;
    case LockOutcome::HeldByOther:
        DiagramLockOwnerID = owner;
        return false;
    case LockOutcome::ChangedSinceLoaded:
        if (changedSinceLoaded)
            *changedSinceLoaded = true;
        return false;
    case LockOutcome::Failed:
        break;
    }
    AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("LockItem: ") + error);
    return false;
}

bool TDataModule1::UnlockItem()
{
    if (ItemID() <= 0)
        return true;
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    // Only the user's own lock is cleared: another user's lock stays.
    const bool ok = db.isOpen()
        && PostStatement(db,
            QStringLiteral("UPDATE ") + QuoteName(ItemTable())
                + QStringLiteral(" SET OpenedByUserID = 0 WHERE ID = ? AND OpenedByUserID = ?"),
            { ItemID(), CurrentUserID }, &error);
    if (!ok)
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("UnlockItem: ") + error);
    return ok;
}

void TDataModule1::RememberLoadedChangeCounter()
{
    LoadedItemChangeCounter = -1;
    QSqlDatabase db = session_->Database(AliasDB, false);
    if (!db.isOpen() || ItemID() <= 0)
        return;
    QSqlQuery query(db);
    if (ExecBound(query,
            QStringLiteral("SELECT ChangeCounter FROM ") + QuoteName(ItemTable()) + QStringLiteral(" WHERE ID = ?"),
            { ItemID() })
        && query.next())
        LoadedItemChangeCounter = query.value(0).toLongLong();
}

std::function<bool(QSqlDatabase& db, QString* error)> TDataModule1::TakeHistoryStep()
{
    const QString original = HistoryOriginalValues, changed = HistoryNewValues;
    // The texts go whatever happens: a lost row is not written twice.
    HistoryOriginalValues.clear();
    HistoryNewValues.clear();
    const QString historyTable = CurrentDiagramKind ? QStringLiteral("HistoryTemplate") : QStringLiteral("History");
    const QString nameColumn = CurrentDiagramKind ? QStringLiteral("TemplateName") : QStringLiteral("NazovMerania");
    const QString itemTable = ItemTable();
    const int itemID = ItemID();
    const QDateTime now = Now();
    // The row names who made the change as the globals say now.
    const QVariantList who { CurrentGroupID, CurrentUserID, LoginID };
    const QString userName = CurrentUserName;
    return [=](QSqlDatabase& db, QString* workError) {
        QSqlQuery query(db);
        QVariant name = QString();
        if (!ExecBound(query,
                QStringLiteral("SELECT ") + QuoteName(nameColumn) + QStringLiteral(" FROM ") + QuoteName(itemTable)
                    + QStringLiteral(" WHERE ID = ?"),
                { itemID }, workError))
            return false;
        if (query.next())
            name = query.value(0).toString();
        return ExecBound(query,
            QStringLiteral("INSERT INTO ") + QuoteName(historyTable)
                + QStringLiteral(" (GroupID, PracovnikID, LoginID, DiagramID, Datum, Cas, OriginalValues, "
                                 "NewValues, PracovnikMeno, DiagramName) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            who
                + QVariantList { itemID, now.date().toString(QStringLiteral("yyyy-MM-dd")),
                    now.time().toString(QStringLiteral("HH:mm:ss.zzz")), original, changed, userName, name },
            workError);
    };
}

bool TDataModule1::WriteHistory()
{
    const auto step = TakeHistoryStep();
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    const bool ok = db.isOpen()
        && Post(
            db, [&](QString* workError) { return step(db, workError); }, &error);
    if (!ok)
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("WriteHistory: ") + error);
    return ok;
}

bool TDataModule1::WriteValidationHistory(const QString& resultStr, const QString& resultMemo, QString* error)
{
    QSqlDatabase db = session_->Database(AliasDB, false, error);
    const QDateTime now = Now();
    return db.isOpen()
        && PostStatement(db,
            QStringLiteral("INSERT INTO ValidationHistory (ValidationDate, ValidationTime, ResultStr, ResultMemo) "
                           "VALUES (?, ?, ?, ?)"),
            { now.date().toString(QStringLiteral("yyyy-MM-dd")), now.time().toString(QStringLiteral("HH:mm:ss.zzz")),
                resultStr.left(20), resultMemo },
            error);
}

bool DataModuleRecordLocks::CanLockItem()
{
    return DataModule1 && DataModule1->CanLockItem();
}

QString DataModuleRecordLocks::GetUserFullName(int userID)
{
    QString name;
    if (DataModule1)
        DataModule1->GetUserFullName(userID, name);
    return name;
}

} // namespace orvek

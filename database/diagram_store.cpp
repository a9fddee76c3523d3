#include "database/diagram_store.h"

#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvek {

TStoreResult StoreDiagramText(QSqlDatabase& db, const QString& table, qint64 id, const QString& text, int userId,
    qint64 expectedCounter, const std::function<bool(QSqlDatabase& db, QString* error)>& alsoStored)
{
    TStoreResult result;
    QString refusalError;
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            QString sql = QStringLiteral("UPDATE ") + QuoteName(table)
                + QStringLiteral(" SET Strom = ?, OpenedByUserID = 0 WHERE ID = ? AND (OpenedByUserID = 0 OR "
                                 "OpenedByUserID IS NULL OR OpenedByUserID = ?)");
            QVariantList values { text, id, userId };
            if (expectedCounter >= 0) {
                sql += QStringLiteral(" AND ChangeCounter = ?");
                values << expectedCounter;
            }
            if (!ExecBound(query, sql, values, workError))
                return false;
            const bool written = query.numRowsAffected() == 1;
            if (!ExecBound(query,
                    QStringLiteral("SELECT OpenedByUserID, ChangeCounter FROM ") + QuoteName(table)
                        + QStringLiteral(" WHERE ID = ?"),
                    { id }, workError))
                return false;
            if (!query.next()) {
                result.Outcome = TStoreOutcome::Missing;
            } else if (written) {
                result.Outcome = TStoreOutcome::Stored;
                result.ChangeCounter = query.value(1).toLongLong();
                if (alsoStored && !alsoStored(db, workError)) {
                    result.Outcome = TStoreOutcome::Failed;
                    result.ChangeCounter = -1;
                    return false;
                }
                return true;
            } else if (const int owner = query.value(0).toInt(); owner != 0 && owner != userId) {
                result.Outcome = TStoreOutcome::HeldByOther;
                result.OwnerID = owner;
            } else {
                result.Outcome = TStoreOutcome::ChangedSinceLoaded;
            }
            // Nothing was written; the transaction ends without a change.
            *workError = refusalError = QStringLiteral("refused");
            return false;
        },
        &result.Error);
    if (ok)
        result.Error.clear();
    else if (!refusalError.isEmpty())
        result.Error.clear();
    else
        result.Outcome = TStoreOutcome::Failed;
    return result;
}

bool ReadDiagramText(
    QSqlDatabase& db, const QString& table, qint64 id, QString& text, qint64& changeCounter, QString* error)
{
    QSqlQuery query(db);
    if (!ExecBound(query,
            QStringLiteral("SELECT Strom, ChangeCounter FROM ") + QuoteName(table) + QStringLiteral(" WHERE ID = ?"),
            { id }, error))
        return false;
    if (!query.next()) {
        if (error)
            *error = QStringLiteral("%1 has no row %2").arg(table).arg(id);
        return false;
    }
    text = query.value(0).toString();
    changeCounter = query.value(1).isNull() ? 0 : query.value(1).toLongLong();
    return true;
}

bool IsTemplateUsedByRecords(QSqlDatabase& db, qint64 templateId)
{
    QSqlQuery query(db);
    return ExecBound(query, QStringLiteral("SELECT 1 FROM TreeDB WHERE FromTemplateID = ? LIMIT 1"), { templateId })
        && query.next();
}

} // namespace orvek

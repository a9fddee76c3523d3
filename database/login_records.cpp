// The login records and the history statements built on them.

#include "database/login_records.h"

#include "platform/sql_database.h"

#include <QSqlQuery>

namespace orvek {

namespace {

HistoryViewer g_historyViewer;

} // namespace

QVector<TLoginRecord> ReadLoginRecords(QSqlDatabase& db, int userID, QString* error)
{
    QVector<TLoginRecord> records;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!ExecBound(query,
            QStringLiteral("SELECT ID, PracovnikID, DatumPrihlasenia, CasPrihlasenia, DatumOdhlasenia, CasOdhlasenia "
                           "FROM Logs WHERE PracovnikID = ? ORDER BY ID"),
            { userID }, error))
        return records;
    while (query.next()) {
        TLoginRecord record;
        record.ID = query.value(0).toInt();
        record.UserID = query.value(1).toInt();
        record.LoginDate = query.value(2).toString();
        record.LoginTime = query.value(3).toString();
        record.LogoutDate = query.value(4).toString();
        record.LogoutTime = query.value(5).toString();
        records << record;
    }
    return records;
}

int CountLoginRecords(QSqlDatabase& db, int userID)
{
    QSqlQuery query(db);
    return ExecBound(query, QStringLiteral("SELECT count(*) FROM Logs WHERE PracovnikID = ?"), { userID })
            && query.next()
        ? query.value(0).toInt()
        : 0;
}

QString HistoryStatement(THistoryScope scope, int userID, const QString& date, QVariantList& values)
{
    // The columns are named: another workstation's upgrade may add columns to History
    // while this one reads it, and a star list would then change under the statement.
    const QString order = QStringLiteral(" ORDER BY Datum, Cas");
    const QString select = QStringLiteral("SELECT ID, GroupID, PracovnikID, LoginID, DiagramID, Datum, Cas, "
                                          "OriginalValues, NewValues, PracovnikMeno, DiagramName FROM History");
    switch (scope) {
    case THistoryScope::UserAll:
        values = { userID };
        return select + QStringLiteral(" WHERE PracovnikID = ?") + order;
    case THistoryScope::UserOnDate:
        values = { userID, date };
        return select + QStringLiteral(" WHERE PracovnikID = ? AND Datum = ?") + order;
    case THistoryScope::AllUsersAll:
        values.clear();
        return select + order;
    case THistoryScope::AllUsersOnDate:
        values = { date };
        return select + QStringLiteral(" WHERE Datum = ?") + order;
    }
    values.clear();
    return QString();
}

void SetHistoryViewer(HistoryViewer viewer)
{
    g_historyViewer = std::move(viewer);
}

bool HistoryViewerInstalled()
{
    return bool(g_historyViewer);
}

void ShowHistory(const QString& sql, const QVariantList& values, int userID)
{
    if (g_historyViewer)
        g_historyViewer(sql, values, userID);
}

} // namespace orvek

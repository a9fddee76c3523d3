#pragma once
// The login records: the logins of a user, their count, and the change-history
// statements the login-records and users windows open. Dates are bound in their stored
// form ("yyyy-MM-dd").

#include <QString>
#include <QVariantList>
#include <QVector>
#include <functional>

class QSqlDatabase;

namespace orvek {

struct TLoginRecord {
    int ID = 0;
    int UserID = 0;
    QString LoginDate, LoginTime, LogoutDate, LogoutTime; // as stored; empty logout: none
};

// The logins of a user in the order they were made.
QVector<TLoginRecord> ReadLoginRecords(QSqlDatabase& db, int userID, QString* error = nullptr);
int CountLoginRecords(QSqlDatabase& db, int userID);

// Which changes a history view lists.
enum class THistoryScope {
    UserAll, // every change of the user
    UserOnDate, // the user's changes on a login date
    AllUsersAll, // every change
    AllUsersOnDate, // everybody's changes on a login date
};

// The statement of a history view with its bound values. The date is a stored date text;
// an empty date (no login selected) matches nothing.
QString HistoryStatement(THistoryScope scope, int userID, const QString& date, QVariantList& values);

// Opens the change-history window for a statement on History; UserID names the user the
// history is opened for (0 nobody). The program installs the window; without one the
// request is ignored.
using HistoryViewer = std::function<void(const QString& sql, const QVariantList& values, int userID)>;
void SetHistoryViewer(HistoryViewer viewer);
bool HistoryViewerInstalled();
void ShowHistory(const QString& sql, const QVariantList& values, int userID);

} // namespace orvek

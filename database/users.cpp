// Users, login and the login records of the data module.

#include "database/users.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/logs.h"
#include "database/data_module.h"
#include "database/password_hash.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvek {

namespace {

LoginPrompt* g_loginPrompt = nullptr;

// Dates and times are stored as text that sorts and compares as it reads.
QString DateText(const QDateTime& moment)
{
    return moment.date().toString(QStringLiteral("yyyy-MM-dd"));
}

QString TimeText(const QDateTime& moment)
{
    return moment.time().toString(QStringLiteral("HH:mm:ss.zzz"));
}

void ClearCurrentUser()
{
    CurrentUserID = 0;
    CurrentUserName.clear();
    CurrentUserRights = 0;
    CurrentGroupID = 0;
}

struct UserRow {
    int id = 0;
    bool active = false;
    QString firstName, lastName, hash;
    int rights = 0, group = 0;
    bool mustChange = false;
};

} // namespace

LoginPrompt* SetLoginPrompt(LoginPrompt* prompt)
{
    LoginPrompt* previous = g_loginPrompt;
    g_loginPrompt = prompt;
    return previous;
}

LoginPrompt* CurrentLoginPrompt()
{
    return g_loginPrompt;
}

bool TDataModule1::Authenticate(const QString& userName, const QString& password, QString& currentPassword,
    QString& fullName, bool& active, int& userID, bool* mustChangePassword)
{
    QSqlDatabase db = session_->Database(AliasDB, false);
    if (!db.isOpen() || !session_->MayOpenTable(db, QStringLiteral("Administration")))
        return false;
    QVector<UserRow> verified;
    {
        QSqlQuery query(db);
        if (!ExecBound(query,
                QStringLiteral("SELECT ID, Aktivny, FirstName, LastName, PasswordHash, UserRights, UserGroup, "
                               "MustChangePassword FROM Administration WHERE UserName = ? ORDER BY ID"),
                { userName }))
            return false;
        while (query.next()) {
            UserRow row;
            row.hash = query.value(4).toString();
            // An empty or malformed hash never verifies.
            if (!VerifyPassword(password, row.hash))
                continue;
            row.id = query.value(0).toInt();
            row.active = query.value(1).toInt() != 0;
            row.firstName = query.value(2).toString();
            row.lastName = query.value(3).toString();
            row.rights = query.value(5).toInt();
            row.group = query.value(6).toInt();
            row.mustChange = query.value(7).toInt() != 0;
            verified.append(row);
        }
    }
    // Exactly one active row must verify; an inactive one is reported as found but
    // inactive only when no active row competes.
    QVector<UserRow> activeRows;
    for (const UserRow& row : verified)
        if (row.active)
            activeRows.append(row);
    const QVector<UserRow>& candidates = activeRows.isEmpty() ? verified : activeRows;
    if (candidates.size() != 1)
        return false;
    const UserRow& row = candidates.first();
    userID = row.id;
    active = row.active;
    fullName = row.firstName + QLatin1Char(' ') + row.lastName;
    currentPassword = row.hash;
    if (mustChangePassword)
        *mustChangePassword = row.mustChange;
    CurrentUserRights = row.rights;
    CurrentGroupID = row.group == 0 ? 1 : row.group;
    return true;
}

bool TDataModule1::LoginDialog()
{
    CurrentUserID = 0;
    CurrentUserName.clear();
    CurrentPassword.clear();
    bool result = false;
    LoginPrompt* prompt = CurrentLoginPrompt();
    QSqlDatabase db = session_->Database(AliasDB, false);
    const bool haveUsers = prompt && db.isOpen() && TableExists(db, QStringLiteral("Administration"))
        && session_->MayOpenTable(db, QStringLiteral("Administration"));
    while (haveUsers) {
        // The list of login names in key order, on the last user who logged in.
        QStringList names;
        int selected = 0;
        {
            QSqlQuery query(db);
            if (!ExecBound(query, QStringLiteral("SELECT ID, UserName FROM Administration ORDER BY ID")))
                break;
            while (query.next()) {
                if (query.value(0).toInt() == LastLoggedInUserID)
                    selected = names.size();
                names << query.value(1).toString();
            }
        }
        QString userName, password;
        if (!prompt->AskLogin(names, selected, userName, password))
            break;

        const QString serviceHash = MainStrings.Value(QString::fromLatin1(kServicePasswordEntry)).trimmed();
        if (!serviceHash.isEmpty() && VerifyPassword(password, serviceHash)) {
            CurrentUserID = 1;
            CurrentUserName = QString::fromLatin1(kServiceUserName);
            CurrentUserRights = 1;
            CurrentGroupID = 1;
            CurrentPassword.clear();
            LogLogin();
            result = true;
            break;
        }

        QString hash, fullName;
        bool active = false, mustChange = false;
        int userID = 0;
        if (!Authenticate(userName, password, hash, fullName, active, userID, &mustChange)) {
            if (MessageDlg(GetString(501), TMsgDlgType::mtError, mbRetry | mbCancel) == mrRetry)
                continue;
            break;
        }
        if (!active) {
            MessageDlg(GetString(500, { userName, QStringLiteral("\n\n") }), TMsgDlgType::mtError, mbOK);
            ClearCurrentUser();
            break;
        }
        CurrentUserID = userID;
        CurrentUserName = fullName;
        if (userID == 1 && fullName.trimmed().isEmpty())
            CurrentUserName = GetString(439);
        CurrentPassword = hash;
        LastLoggedInUserID = userID;
        LogLogin();
        result = true;
        if (mustChange) {
            // The first password (or one an administrator set) is replaced before any
            // work; declining logs the user out again.
            QString newPassword;
            if (!prompt->AskNewPassword(CurrentPassword, newPassword, QString()) || !ChangePassword(newPassword)) {
                LogLogout();
                ClearCurrentUser();
                CurrentPassword.clear();
                result = false;
            }
        }
        break;
    }
    MoreGroupsOfFolders = false;
    return result;
}

void TDataModule1::LogLogin()
{
    LoginID = 0;
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    if (!db.isOpen())
        return;
    const QDateTime now = Now();
    qint64 id = 0;
    // The new row's own ID, not the table's last row: two workstations logging in at
    // the same moment each keep their own record.
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query,
                    QStringLiteral("INSERT INTO Logs (PracovnikID, GroupID, DatumPrihlasenia, CasPrihlasenia) "
                                   "VALUES (?, ?, ?, ?)"),
                    { CurrentUserID, CurrentGroupID, DateText(now), TimeText(now) }, workError))
                return false;
            id = LastInsertId(db, query).toLongLong();
            return true;
        },
        &error);
    if (ok)
        LoginID = int(id);
    else
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("LogLogin: ") + error);
}

void TDataModule1::LogLogout()
{
    if (CurrentUserID <= 0 || LoginID <= 0)
        return;
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    if (!db.isOpen())
        return;
    const QDateTime now = Now();
    int rows = 0;
    if (!PostStatement(db, QStringLiteral("UPDATE Logs SET DatumOdhlasenia = ?, CasOdhlasenia = ? WHERE ID = ?"),
            { DateText(now), TimeText(now), LoginID }, &error, &rows)) {
        AppendLogBlock(QString::fromLatin1(kErrorLogFile), QStringLiteral("LogLogout: ") + error);
        return;
    }
    if (rows != 1)
        return;
    ClearCurrentUser();
    LoginID = 0;
}

void TDataModule1::GetUserFullName(int userID, QString& name)
{
    name.clear();
    if (userID == 1) {
        name = QStringLiteral("Administrator");
        return;
    }
    if (userID <= 0)
        return;
    QSqlDatabase db = session_->Database(AliasDB, false);
    if (!db.isOpen())
        return;
    QSqlQuery query(db);
    if (ExecBound(query, QStringLiteral("SELECT FirstName, LastName FROM Administration WHERE ID = ?"), { userID })
        && query.next())
        name = query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString();
}

bool TDataModule1::ChangePassword(const QString& newPassword)
{
    QString error;
    QSqlDatabase db = session_->Database(AliasDB, false, &error);
    const QString hash = HashPassword(newPassword);
    int rows = 0;
    const bool ok = db.isOpen() && CurrentUserID > 0
        && PostStatement(db,
            QStringLiteral("UPDATE Administration SET PasswordHash = ?, MustChangePassword = 0 WHERE ID = ?"),
            { hash, CurrentUserID }, &error, &rows)
        && rows == 1;
    if (!ok) {
        MessageDlg(GetString(499), TMsgDlgType::mtInformation, mbOK);
        return false;
    }
    CurrentPassword = hash;
    MessageDlg(GetString(498), TMsgDlgType::mtInformation, mbOK);
    return true;
}

namespace {

bool AnyRow(DatabaseSession& session, const QString& sql, const QString& value)
{
    QSqlDatabase db = session.Database(AliasDB, false);
    if (!db.isOpen())
        return false;
    QSqlQuery query(db);
    return ExecBound(query, sql, { value }) && query.next();
}

} // namespace

bool TDataModule1::UserNameInUse(const QString& userName)
{
    return AnyRow(*session_, QStringLiteral("SELECT 1 FROM Administration WHERE UserName = ? LIMIT 1"), userName);
}

bool TDataModule1::GroupNameExists(const QString& name)
{
    return AnyRow(*session_, QStringLiteral("SELECT 1 FROM MeasureNameList WHERE Description = ? LIMIT 1"), name);
}

} // namespace orvek

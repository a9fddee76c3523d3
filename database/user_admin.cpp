// The users administration on the users table.

#include "database/user_admin.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/identifier_text.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/password_hash.h"
#include "platform/sql_database.h"
#include "richtext/report_table.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace orvek {

QString UserRightName(int rights)
{
    static const char* const names[] = { "Unsigned", "Main admin", "Group admin", "Group user" };
    return rights >= 0 && rights <= 3 ? QString::fromLatin1(names[rights]) : QString();
}

QString ActiveStateName(int active)
{
    return active == 0 ? QStringLiteral("Nie") : QStringLiteral("Áno");
}

TUserCheck CheckUserDialog(const TUserDialogInput& input, bool newUser)
{
    auto tooLong = [](const QString& text, int size) { return size > 0 && text.size() > size; };
    if (tooLong(input.FirstName, FirstNameSize))
        return { 623, FirstNameSize, TUserField::FirstName };
    if (tooLong(input.LastName, LastNameSize))
        return { 624, LastNameSize, TUserField::LastName };
    if (!IsAlphanumeric(input.UserName))
        return { 625, 0, TUserField::UserName };
    if (tooLong(input.UserName, UserNameSize))
        return { 626, UserNameSize, TUserField::UserName };
    if (input.UserName.size() < kMinUserNameLength)
        return { 627, kMinUserNameLength, TUserField::UserName };
    if (input.Password.isEmpty())
        return newUser ? TUserCheck { 22002, 0, TUserField::Password } : TUserCheck {};
    if (!IsAlphanumeric(input.Password))
        return { 628, 0, TUserField::Password };
    if (tooLong(input.Password, UserPasswordSize))
        return { 629, UserPasswordSize, TUserField::Password };
    if (input.Password.size() < kMinUserNameLength)
        return { 630, kMinUserNameLength, TUserField::Password };
    return {};
}

int UserActionRefusal(const TUserRow& target, TUserAction action, int actingUserID, int actingRights, int actingGroup)
{
    if (action != TUserAction::Change) {
        if (target.ID == 1)
            return 22004;
        if (target.ID == actingUserID)
            return 22005;
    }
    if (actingRights == 1)
        return 0;
    if (actingRights == 2 && target.Rights == 3 && target.Group == actingGroup)
        return 0;
    return 22003;
}

QString UserListStatement(int rights, int groupID, QVariantList& values)
{
    values.clear();
    if (rights == 1)
        return QStringLiteral("SELECT * FROM Administration ORDER BY UserGroup, UserRights, LastName, FirstName");
    values << groupID;
    return QStringLiteral("SELECT * FROM Administration WHERE UserGroup = ? ORDER BY UserRights, LastName, FirstName");
}

QVector<TUserRow> ReadUsers(QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error)
{
    QVector<TUserRow> rows;
    QSqlQuery query(db);
    if (!ExecBound(query, sql, values, error))
        return rows;
    const QSqlRecord record = query.record();
    const int id = record.indexOf(QStringLiteral("ID")), rights = record.indexOf(QStringLiteral("UserRights")),
              group = record.indexOf(QStringLiteral("UserGroup")), active = record.indexOf(QStringLiteral("Aktivny")),
              name = record.indexOf(QStringLiteral("UserName")), first = record.indexOf(QStringLiteral("FirstName")),
              last = record.indexOf(QStringLiteral("LastName")), number = record.indexOf(QStringLiteral("NumberID"));
    while (query.next()) {
        TUserRow row;
        row.ID = query.value(id).toInt();
        row.Rights = query.value(rights).toInt();
        row.Group = query.value(group).toInt();
        row.Active = query.value(active).toInt();
        row.UserName = query.value(name).toString();
        row.FirstName = query.value(first).toString();
        row.LastName = query.value(last).toString();
        row.NumberID = query.value(number).toString();
        rows << row;
    }
    return rows;
}

bool ReadUser(QSqlDatabase& db, int id, TUserRow& row)
{
    const QVector<TUserRow> rows = ReadUsers(db, QStringLiteral("SELECT * FROM Administration WHERE ID = ?"), { id });
    if (rows.isEmpty())
        return false;
    row = rows.first();
    return true;
}

int AddUser(QSqlDatabase& db, const TUserDialogInput& input, int group, bool deactivated, QString* error)
{
    qint64 id = 0;
    const QString hash = HashPassword(input.Password);
    const bool ok = Post(
        db,
        [&](QString* workError) {
            QSqlQuery query(db);
            if (!ExecBound(query,
                    QStringLiteral(
                        "INSERT INTO Administration (UserRights, UserGroup, Aktivny, UserName, UserPassword, "
                        "FirstName, LastName, NumberID, PasswordHash, MustChangePassword) "
                        "VALUES (3, ?, ?, ?, '', ?, ?, ?, ?, 1)"),
                    { group, deactivated ? 0 : 1, input.UserName, input.FirstName, input.LastName, input.NumberID,
                        hash },
                    workError))
                return false;
            id = LastInsertId(db, query).toLongLong();
            return true;
        },
        error);
    return ok ? int(id) : 0;
}

bool UpdateUser(
    QSqlDatabase& db, int id, const TUserDialogInput& input, int group, bool deactivated, bool ownRow, QString* error)
{
    QString sql = QStringLiteral("UPDATE Administration SET UserName = ?, FirstName = ?, LastName = ?, NumberID = ?, "
                                 "Aktivny = ?");
    QVariantList values { input.UserName, input.FirstName, input.LastName, input.NumberID, deactivated ? 0 : 1 };
    if (!input.Password.isEmpty()) {
        // A password an administrator sets for somebody else is a first password.
        sql += QStringLiteral(", PasswordHash = ?, MustChangePassword = ?");
        values << HashPassword(input.Password) << (ownRow ? 0 : 1);
    }
    if (group >= 0) {
        sql += QStringLiteral(", UserGroup = ?");
        values << group;
    }
    sql += QStringLiteral(" WHERE ID = ?");
    values << id;
    int rows = 0;
    if (!PostStatement(db, sql, values, error, &rows))
        return false;
    if (rows != 1) {
        if (error)
            *error = QStringLiteral("the user no longer exists");
        return false;
    }
    return true;
}

bool LoginNameUsedByOther(QSqlDatabase& db, const QString& userName, int exceptID)
{
    QSqlQuery query(db);
    return ExecBound(query, QStringLiteral("SELECT 1 FROM Administration WHERE UserName = ? AND ID <> ? LIMIT 1"),
               { userName, exceptID })
        && query.next();
}

int CountUserItems(QSqlDatabase& db, int id)
{
    int count = 0;
    for (const char* table : { "TreeDB", "TemplateDB" }) {
        QSqlQuery query(db);
        if (ExecBound(query,
                QStringLiteral("SELECT count(*) FROM ") + QuoteName(QString::fromLatin1(table))
                    + QStringLiteral(" WHERE PracovnikID = ?"),
                { id })
            && query.next())
            count += query.value(0).toInt();
    }
    return count;
}

bool DeactivateUser(QSqlDatabase& db, int id, QString* error)
{
    return PostStatement(db, QStringLiteral("UPDATE Administration SET Aktivny = 0 WHERE ID = ?"), { id }, error);
}

bool DeleteUser(QSqlDatabase& db, int id, QString* error)
{
    return PostStatement(db, QStringLiteral("DELETE FROM Administration WHERE ID = ?"), { id }, error);
}

QString UserListMarkup(const QVector<TUserRow>& users, const QDate& today)
{
    ReportTableOwner owner;
    TStringTable& table = owner.Table();
    table.Clear();
    table.ColCount = 6;
    table.RowCount = int(users.size()) + 1;
    auto bold = [](const QString& text) { return QStringLiteral("[cf3]") + text + QStringLiteral("[cf1]"); };
    table.Cells(1, 1) = QStringLiteral("[cf3]Nr.[cf1]");
    const int titles[5] = { 1120, 538, 537, 1129, 1130 };
    for (int column = 2; column <= 6; ++column)
        table.Cells(column, 1) = bold(GetString(titles[column - 2]));
    int previousGroup = -1;
    for (int i = 0; i < users.size(); ++i) {
        const TUserRow& user = users[i];
        const int row = i + 2;
        table.Cells(1, row) = QString::number(i + 1) + QLatin1Char('.');
        if (user.Group != previousGroup) {
            QString group;
            GetGroupName(user.Group, group);
            table.Cells(2, row) = group;
            previousGroup = user.Group;
        }
        table.Cells(3, row) = user.FirstName;
        table.Cells(4, row) = user.LastName;
        table.Cells(5, row) = UserRightName(user.Rights);
        table.Cells(6, row) = ActiveStateName(user.Active);
    }
    QString block;
    BuildTableMarkup(true, 1, ReportTableFontSize, block, 50);
    return bold(GetString(1131) + QLatin1Char(' ') + DateToShortText(today)) + QStringLiteral("\r\n") + block;
}

namespace {

const QColor kNavy(0, 0, 128);

TUserRowStyle Style(bool bold, bool italic, bool selected, const QColor& selectedText, const QColor& text)
{
    TUserRowStyle style;
    style.Bold = bold;
    style.Italic = italic;
    style.Background = selected ? kNavy : QColor(Qt::white);
    style.Text = selected ? selectedText : text;
    return style;
}

TUserRowStyle ActiveStateStyle(int active, bool selected)
{
    if (active == 0)
        return Style(false, true, selected, QColor(0, 128, 0), QColor(Qt::red));
    return Style(false, false, selected, QColor(Qt::white), QColor(Qt::black));
}

} // namespace

TUserRowStyle UserGridStyle(int rights, int active, bool selected)
{
    if (rights == 1)
        return Style(true, false, selected, QColor(Qt::white), QColor(Qt::blue));
    if (rights == 2)
        return Style(true, false, selected, QColor(Qt::white), QColor(Qt::red));
    return ActiveStateStyle(active, selected);
}

TUserRowStyle LoginUserGridStyle(int active, bool selected)
{
    if (active == 99)
        return Style(true, false, selected, QColor(Qt::white), QColor(Qt::blue));
    return ActiveStateStyle(active, selected);
}

} // namespace orvek

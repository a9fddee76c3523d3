#pragma once
// The users administration: the checks of the user dialog, who may change whom, the
// user list statement and the writes of a user row. Every value is bound; passwords are
// stored only as salted hashes.

#include <QColor>
#include <QDate>
#include <QString>
#include <QVariantList>
#include <QVector>

class QSqlDatabase;

namespace orvek {

// Names of the rights 0 to 3 and of the active states 0 and 1 (99 reads as 1).
QString UserRightName(int rights);
QString ActiveStateName(int active);

// The shortest login name and password accepted.
inline constexpr int kMinUserNameLength = 3;

// What the user dialog holds.
struct TUserDialogInput {
    QString UserName, Password, FirstName, LastName, NumberID;
};

enum class TUserField { None, FirstName, LastName, UserName, Password };

// The first failed check of the user dialog: the text, its argument and the field that
// gets the focus; TextID 0 when every check passes.
struct TUserCheck {
    int TextID = 0;
    int Argument = 0;
    TUserField Field = TUserField::None;
};

// The checks in their order: first name size (623), last name size (624), login name
// letters and digits (625), size (626) and at least 3 characters (627); then a typed
// password: letters and digits (628), size (629), at least 3 characters (630). An empty
// password keeps the stored one when the user exists; a new user needs one (22002).
// A size of 0 (unknown) is not checked.
TUserCheck CheckUserDialog(const TUserDialogInput& input, bool newUser);

// One row of the users table.
struct TUserRow {
    int ID = 0;
    int Rights = 3;
    int Group = 0;
    int Active = 1;
    QString UserName, FirstName, LastName, NumberID;
};

enum class TUserAction { Change, Deactivate, Delete };

// The text that refuses Action on Target to the acting user, or 0 when it is allowed. A
// main administrator may change every user; a group administrator only the users with
// rights 3 of the own group (22003); nobody deletes or deactivates user 1 (22004) or the
// own row (22005).
int UserActionRefusal(const TUserRow& target, TUserAction action, int actingUserID, int actingRights, int actingGroup);

// The user list of the users window: every user for rights 1, the own group for rights
// 2 (Values receives the bound group).
QString UserListStatement(int rights, int groupID, QVariantList& values);

// The rows of a statement on the users table.
QVector<TUserRow> ReadUsers(QSqlDatabase& db, const QString& sql, const QVariantList& values, QString* error = nullptr);
bool ReadUser(QSqlDatabase& db, int id, TUserRow& row);

// A new user with rights 3 in Group; the password is stored hashed and must be changed
// at the first login. The new ID, or 0 with Error.
int AddUser(QSqlDatabase& db, const TUserDialogInput& input, int group, bool deactivated, QString* error = nullptr);
// Writes the dialog's fields; an empty password keeps the stored hash, a new one must
// be changed at the next login unless the user changes the own password. Group < 0
// keeps the stored group.
bool UpdateUser(QSqlDatabase& db, int id, const TUserDialogInput& input, int group, bool deactivated, bool ownRow,
    QString* error = nullptr);
// Whether another user than ExceptID uses the login name.
bool LoginNameUsedByOther(QSqlDatabase& db, const QString& userName, int exceptID);
// Records and templates that name the user as their worker.
int CountUserItems(QSqlDatabase& db, int id);
bool DeactivateUser(QSqlDatabase& db, int id, QString* error = nullptr);
bool DeleteUser(QSqlDatabase& db, int id, QString* error = nullptr);

// The numbered user list as report mark-up: a bold title with Today's date, then a table
// of number, group (named in the first row of each group only), first name, last name,
// rights and active state, with automatic widths.
QString UserListMarkup(const QVector<TUserRow>& users, const QDate& today);

// How a grid row of users is drawn: the users window colours by rights and active state,
// the login-records window by active state only (99 as a highlighted user).
struct TUserRowStyle {
    bool Bold = false;
    bool Italic = false;
    QColor Text;
    QColor Background;
};
TUserRowStyle UserGridStyle(int rights, int active, bool selected);
TUserRowStyle LoginUserGridStyle(int active, bool selected);

} // namespace orvek

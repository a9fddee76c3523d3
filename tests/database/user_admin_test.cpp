// The users administration, the login records and the status-bar texts on a copy of
// the empty database.

#include "core/string_table.h"
#include "database/login_records.h"
#include "database/status_bar_texts.h"
#include "database/user_admin.h"
#include "platform/db_session.h"
#include "tests/support/user_database_fixture.h"

namespace orvek {
namespace {

using test::UserDatabase;

class UserAdmin : public UserDatabase {
protected:
    QSqlDatabase Db() { return module->SessionOrvek().Database(AliasDB, false); }
};

TEST_F(UserAdmin, UserDialogChecksStopAtTheFirstFailureInOrder)
{
    ASSERT_EQ(FirstNameSize, 30);
    ASSERT_EQ(LastNameSize, 50);
    ASSERT_EQ(UserNameSize, 50);
    ASSERT_EQ(UserPasswordSize, 50);
    const QString longFirst(31, 'a'), longLast(51, 'b'), longName(51, 'c');
    const struct {
        TUserDialogInput input;
        bool newUser;
        int text;
        TUserField field;
    } cases[] = {
        { { "eva", "abc", "Eva", "Nová", "" }, true, 0, TUserField::None },
        { { "eva_n", "a_b", longFirst, longLast, "" }, true, 623, TUserField::FirstName },
        { { "eva_n", "a_b", "Eva", longLast, "" }, true, 624, TUserField::LastName },
        { { "eva_n", "a_b", "Eva", "Nová", "" }, true, 625, TUserField::UserName },
        { { "eva n", "abc", "Eva", "Nová", "" }, true, 625, TUserField::UserName },
        { { longName, "a_b", "Eva", "Nová", "" }, true, 626, TUserField::UserName },
        { { "ev", "a_b", "Eva", "Nová", "" }, true, 627, TUserField::UserName },
        { { "eva", "a_b", "Eva", "Nová", "" }, true, 628, TUserField::Password },
        { { "eva", QString(51, 'p'), "Eva", "Nová", "" }, true, 629, TUserField::Password },
        { { "eva", "pw", "Eva", "Nová", "" }, true, 630, TUserField::Password },
        { { "eva", "", "Eva", "Nová", "" }, true, 22002, TUserField::Password },
        // Changing a user, an empty password keeps the stored one.
        { { "eva", "", "Eva", "Nová", "" }, false, 0, TUserField::None },
    };
    for (const auto& c : cases) {
        const TUserCheck check = CheckUserDialog(c.input, c.newUser);
        EXPECT_EQ(check.TextID, c.text) << c.input.UserName.toStdString() << "/" << c.input.Password.toStdString();
        EXPECT_EQ(check.Field, c.field) << c.input.UserName.toStdString();
    }
    EXPECT_EQ(CheckUserDialog({ "ev", "abc", "Eva", "Nová", "" }, true).Argument, 3);
    EXPECT_EQ(CheckUserDialog({ "eva", "abc", longFirst, "Nová", "" }, true).Argument, 30);
}

TEST_F(UserAdmin, WhoMayChangeWhom)
{
    auto row = [](int id, int rights, int group) {
        TUserRow r;
        r.ID = id;
        r.Rights = rights;
        r.Group = group;
        return r;
    };
    const TUserRow admin = row(1, 1, 0), mainAdmin2 = row(5, 1, 0), groupAdmin = row(6, 2, 1), user = row(7, 3, 1),
                   otherGroupUser = row(8, 3, 2);
    const struct {
        TUserRow target;
        TUserAction action;
        int actingID, actingRights, actingGroup;
        int refusal;
    } cases[] = {
        { admin, TUserAction::Change, 1, 1, 1, 0 },
        { admin, TUserAction::Deactivate, 5, 1, 1, 22004 },
        { admin, TUserAction::Delete, 5, 1, 1, 22004 },
        { mainAdmin2, TUserAction::Delete, 5, 1, 1, 22005 },
        { mainAdmin2, TUserAction::Delete, 1, 1, 1, 0 },
        { groupAdmin, TUserAction::Deactivate, 1, 1, 1, 0 },
        { groupAdmin, TUserAction::Change, 9, 2, 1, 22003 },
        { groupAdmin, TUserAction::Delete, 6, 2, 1, 22005 },
        { mainAdmin2, TUserAction::Change, 6, 2, 1, 22003 },
        { user, TUserAction::Change, 6, 2, 1, 0 },
        { user, TUserAction::Delete, 6, 2, 1, 0 },
        { otherGroupUser, TUserAction::Change, 6, 2, 1, 22003 },
        { user, TUserAction::Change, 7, 3, 1, 22003 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(UserActionRefusal(c.target, c.action, c.actingID, c.actingRights, c.actingGroup), c.refusal)
            << "target " << c.target.ID << " by " << c.actingID;
}

TEST_F(UserAdmin, UsersAreWrittenWithHashedPasswordsAndBoundValues)
{
    QSqlDatabase db = Db();
    QString error;
    const int id = orvek::AddUser(db, { "jan", "abc123", "Ján", "O'Hara\"", "7" }, 1, false, &error);
    ASSERT_GT(id, 1) << error.toStdString();
    QVariantMap row = Row("Administration", id);
    EXPECT_EQ(row["UserRights"].toInt(), 3);
    EXPECT_EQ(row["LastName"].toString(), "O'Hara\"");
    EXPECT_EQ(row["Aktivny"].toInt(), 1);
    EXPECT_TRUE(VerifyPassword("abc123", row["PasswordHash"].toString()));
    EXPECT_TRUE(row["UserPassword"].toString().isEmpty());
    EXPECT_EQ(row["MustChangePassword"].toInt(), 1);
    const QString hash = row["PasswordHash"].toString();

    // An empty password keeps the hash; the group stays when asked to.
    ASSERT_TRUE(UpdateUser(db, id, { "jano", "", "Ján", "Nový", "8" }, -1, true, false, &error));
    row = Row("Administration", id);
    EXPECT_EQ(row["UserName"].toString(), "jano");
    EXPECT_EQ(row["PasswordHash"].toString(), hash);
    EXPECT_EQ(row["Aktivny"].toInt(), 0);
    EXPECT_EQ(row["UserGroup"].toInt(), 1);
    // The own new password need not be changed again; one set for another user must.
    ASSERT_TRUE(UpdateUser(db, id, { "jano", "xyz789", "Ján", "Nový", "8" }, 2, false, true));
    row = Row("Administration", id);
    EXPECT_TRUE(VerifyPassword("xyz789", row["PasswordHash"].toString()));
    EXPECT_EQ(row["MustChangePassword"].toInt(), 0);
    EXPECT_EQ(row["UserGroup"].toInt(), 2);
    EXPECT_FALSE(UpdateUser(db, 999, { "x", "", "a", "b", "" }, -1, false, false, &error));

    EXPECT_TRUE(LoginNameUsedByOther(db, "admin", id));
    EXPECT_FALSE(LoginNameUsedByOther(db, "jano", id));
}

TEST_F(UserAdmin, DeletingAUserWithItemsOnlyDeactivates)
{
    QSqlDatabase db = Db();
    const int withItems = AddUser("eva", "abc"), without = AddUser("ivo", "abc");
    QSqlQuery query(Other());
    ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (PracovnikID) VALUES (?)", { withItems }));
    ASSERT_TRUE(ExecBound(query, "INSERT INTO TemplateDB (PracovnikID) VALUES (?)", { withItems }));
    EXPECT_EQ(CountUserItems(db, withItems), 2);
    EXPECT_EQ(CountUserItems(db, without), 0);
    ASSERT_TRUE(DeactivateUser(db, withItems));
    EXPECT_EQ(Row("Administration", withItems)["Aktivny"].toInt(), 0);
    ASSERT_TRUE(DeleteUser(db, without));
    EXPECT_TRUE(Row("Administration", without).isEmpty());
}

TEST_F(UserAdmin, GroupAdministratorsListTheirGroupAndTheCopiedListNumbersUsers)
{
    AddUser("eva", "abc", 3, 2, 1, "Eva", "Beta");
    AddUser("ivo", "abc", 2, 2, 1, "Ivo", "Alfa");
    AddUser("ema", "abc", 3, 1, 0, "Ema", "Gama");
    QSqlQuery query(Other());
    ASSERT_TRUE(ExecBound(query, "INSERT INTO MeasureNameList (ID, Description) VALUES (2, 'Lab B')"));
    module->OpenTables();
    QVariantList values;
    QSqlDatabase db = Db();
    QVector<TUserRow> users = ReadUsers(db, UserListStatement(2, 2, values), values);
    ASSERT_EQ(users.size(), 2);
    EXPECT_EQ(users[0].UserName, "ivo"); // rights first
    EXPECT_EQ(users[1].UserName, "eva");

    users = ReadUsers(db, UserListStatement(1, 2, values), values);
    ASSERT_EQ(users.size(), 4);
    EXPECT_EQ(users[0].ID, 1); // group 0 first
    const QString markup = UserListMarkup(users, QDate(2026, 3, 9));
    EXPECT_TRUE(markup.startsWith("[cf3]" + GetString(1131) + " "));
    EXPECT_TRUE(markup.contains("\r1.\t"));
    EXPECT_TRUE(markup.contains("\r4.\t"));
    EXPECT_EQ(markup.count("Lab B"), 1);
    EXPECT_TRUE(markup.contains("Group user"));
    EXPECT_TRUE(markup.contains("Nie"));
}

TEST_F(UserAdmin, LoginRecordsOfAUserAndHistoryByLoginDate)
{
    const int eva = AddUser("eva", "abc"), ivo = AddUser("ivo", "abc");
    QSqlQuery query(Other());
    for (const auto& [user, date] : { std::pair { eva, "2026-03-01" }, { eva, "2026-03-02" }, { ivo, "2026-03-02" } })
        ASSERT_TRUE(
            ExecBound(query, "INSERT INTO Logs (PracovnikID, DatumPrihlasenia, CasPrihlasenia) VALUES (?, ?, ?)",
                { user, QString::fromLatin1(date), "08:00:00.000" }));
    ASSERT_TRUE(
        ExecBound(query, "INSERT INTO History (PracovnikID, Datum, Cas) VALUES (?, '2026-03-02', '09:00')", { eva }));
    ASSERT_TRUE(
        ExecBound(query, "INSERT INTO History (PracovnikID, Datum, Cas) VALUES (?, '2026-03-02', '08:00')", { ivo }));
    QSqlDatabase db = Db();
    const QVector<TLoginRecord> logins = ReadLoginRecords(db, eva);
    ASSERT_EQ(logins.size(), 2);
    EXPECT_EQ(logins[1].LoginDate, "2026-03-02");
    EXPECT_TRUE(logins[1].LogoutDate.isEmpty());
    EXPECT_EQ(CountLoginRecords(db, ivo), 1);
    // A user's logins are found through the index, not by reading every login.
    QSqlQuery plan(db);
    ASSERT_TRUE(ExecBound(plan, "EXPLAIN QUERY PLAN SELECT * FROM Logs WHERE PracovnikID = ?", { eva }));
    ASSERT_TRUE(plan.next());
    EXPECT_TRUE(plan.value(3).toString().contains("PracovnikID_IDX")) << plan.value(3).toString().toStdString();

    auto rows = [&](THistoryScope scope, int user, const QString& date) {
        QVariantList values;
        QSqlQuery history(db);
        EXPECT_TRUE(ExecBound(history, HistoryStatement(scope, user, date, values), values));
        QList<int> users;
        while (history.next())
            users << history.value("PracovnikID").toInt();
        return users;
    };
    EXPECT_EQ(rows(THistoryScope::UserAll, eva, {}), QList<int> { eva });
    EXPECT_EQ(rows(THistoryScope::UserOnDate, eva, "2026-03-02"), QList<int> { eva });
    EXPECT_EQ(rows(THistoryScope::UserOnDate, eva, "2026-03-01"), QList<int> {});
    EXPECT_EQ(rows(THistoryScope::AllUsersOnDate, 0, "2026-03-02"), (QList<int> { ivo, eva }));
    EXPECT_EQ(rows(THistoryScope::AllUsersOnDate, 0, QString()), QList<int> {});
    EXPECT_EQ(rows(THistoryScope::AllUsersAll, 0, {}).size(), 2);
}

TEST(StatusBar, TextsByUserRightsAndCustomerMode)
{
    const QString logged = GetString(640), all = GetString(650), of = GetString(649);
    const struct {
        TStatusBarState state;
        QString panel0, panel1, panel3;
    } cases[] = {
        { { 0, "", 0, 0, "", "G" }, GetString(641), "", "" },
        { { 1, "Main administrator", 1, 0, "", "Lab A" }, logged + " Administrator", all, "Lab A" },
        { { 1, "Main administrator", 1, 7, "Eva Nová", "Lab A" }, logged + " Administrator", of + " Eva Nová",
            "Lab A" },
        { { 1, "Tulkarn", 1, 0, "", "Lab A" }, logged + " Tulkarn", all, "Lab A" },
        { { 6, "Ivo Alfa", 2, 6, "Ivo Alfa", "Lab B" }, logged + " Ivo Alfa", all, "Lab B" },
        { { 7, "Eva Nová", 3, 7, "Eva Nová", "Lab B" }, logged + " Eva Nová", all, "Lab B" },
        { { 7, "Eva Nová", 3, 7, "Eva Nová", "Lab B", true }, logged + " Eva Nová", all, " Quelvar" },
        { { 0, "", 0, 0, "", "", false, true }, GetString(641), "", " Ostrevin" },
    };
    for (const auto& c : cases) {
        const auto panels = StatusBarTexts(c.state);
        EXPECT_EQ(panels[0], c.panel0) << c.state.CurrentUserID;
        EXPECT_EQ(panels[1], c.panel1) << c.state.CurrentUserID;
        EXPECT_EQ(panels[2], GetString(1116));
        EXPECT_EQ(panels[3], c.panel3) << c.state.CurrentUserID;
    }
}

} // namespace
} // namespace orvek

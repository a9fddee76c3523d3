#include "database/empty_database.h"
#include "tests/support/user_database_fixture.h"

using namespace orvek;
using orvek::test::DialogScript;

namespace {

class Users : public test::UserDatabase { };

TEST_F(Users, AuthenticateBindsTheTextsAndChecksTheHash)
{
    const QString quoted = "o\"'Brien; --";
    const int quotedId = AddUser(quoted, "pa\"ss' OR '1'='1", 2, 0);
    AddUser("inactive", "secret", 3, 2, 0);
    AddUser("nohash", QString());
    struct Case {
        const char* what;
        QString name, password;
        bool found, active;
    };
    const Case cases[] = {
        { "quotes in name and password", quoted, "pa\"ss' OR '1'='1", true, true },
        { "wrong password", quoted, "pa\"ss", false, false },
        { "SQL in the password matches nothing", "admin", "' OR '1'='1", false, false },
        { "inactive user is found but inactive", "inactive", "secret", true, false },
        { "empty hash never verifies", "nohash", "", false, false },
        { "unknown user", "nobody", "secret", false, false },
    };
    for (const Case& c : cases) {
        QString hash, fullName;
        bool active = true;
        int id = -1;
        EXPECT_EQ(module->Authenticate(c.name, c.password, hash, fullName, active, id), c.found) << c.what;
        if (c.found) {
            EXPECT_EQ(active, c.active) << c.what;
        }
    }
    QString hash, fullName;
    bool active = false, mustChange = true;
    int id = 0;
    ASSERT_TRUE(module->Authenticate(quoted, "pa\"ss' OR '1'='1", hash, fullName, active, id, &mustChange));
    EXPECT_EQ(id, quotedId);
    EXPECT_EQ(fullName, QString::fromUtf8("Eva Nová"));
    EXPECT_TRUE(VerifyPassword("pa\"ss' OR '1'='1", hash));
    EXPECT_FALSE(mustChange);
    EXPECT_EQ(CurrentUserRights, 2);
    EXPECT_EQ(CurrentGroupID, 1); // group 0 is read as 1
}

TEST_F(Users, TwoRowsThatVerifyAreRefused)
{
    AddUser("twin", "same");
    AddUser("twin", "same");
    QString hash, fullName;
    bool active = false;
    int id = 0;
    EXPECT_FALSE(module->Authenticate("twin", "same", hash, fullName, active, id));
}

TEST_F(Users, FirstLoginOfTheAdministratorForcesANewPassword)
{
    LastLoggedInUserID = 0;
    prompt.logins = { { kFirstAdministratorName, kFirstAdministratorPassword } };
    prompt.newPasswords = { "Novy123" };
    DialogScript::Instance().AnswerMessage(mrOk); // text 498
    ASSERT_TRUE(module->LoginDialog());
    EXPECT_EQ(prompt.shownNames, QStringList { "admin" });
    EXPECT_EQ(CurrentUserID, 1);
    EXPECT_EQ(CurrentUserName, GetString(439)); // no first or last name
    EXPECT_EQ(LastLoggedInUserID, 1);
    EXPECT_TRUE(VerifyPassword(kFirstAdministratorPassword, prompt.shownHash));
    const QVariantMap admin = Row("Administration", 1);
    EXPECT_EQ(admin["MustChangePassword"].toInt(), 0);
    EXPECT_TRUE(VerifyPassword("Novy123", admin["PasswordHash"].toString()));
    EXPECT_EQ(module->CurrentPassword, admin["PasswordHash"].toString());
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(498) });
    EXPECT_GT(module->LoginID, 0);
    EXPECT_FALSE(MoreGroupsOfFolders);
}

TEST_F(Users, CancellingTheForcedChangeLogsOut)
{
    prompt.logins = { { kFirstAdministratorName, kFirstAdministratorPassword } };
    prompt.newPasswords = { QString() };
    EXPECT_FALSE(module->LoginDialog());
    EXPECT_EQ(CurrentUserID, 0);
    EXPECT_EQ(module->LoginID, 0);
    EXPECT_TRUE(module->CurrentPassword.isEmpty());
    const QVariantMap login = Row("Logs", 1);
    EXPECT_EQ(login["DatumOdhlasenia"].toString(), "2026-03-09");
    EXPECT_EQ(Row("Administration", 1)["MustChangePassword"].toInt(), 1);
}

TEST_F(Users, RetryAfterAWrongPasswordThenLoginOnTheLastUser)
{
    const int eva = AddUser("eva", "heslo1", 3, 0);
    LastLoggedInUserID = eva;
    prompt.logins = { { "eva", "wrong" }, { "eva", "heslo1" } };
    DialogScript::Instance().AnswerMessage(mrRetry);
    ASSERT_TRUE(module->LoginDialog());
    EXPECT_EQ(prompt.shownSelected, (std::vector<int> { 1, 1 })); // the last user, again after Retry
    EXPECT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(501) });
    EXPECT_EQ(CurrentUserID, eva);
    EXPECT_EQ(CurrentUserName, QString::fromUtf8("Eva Nová"));
    EXPECT_EQ(CurrentGroupID, 1);
    const QVariantMap login = Row("Logs", module->LoginID);
    EXPECT_EQ(login["PracovnikID"].toInt(), eva);
    EXPECT_EQ(login["GroupID"].toInt(), 1);
    EXPECT_EQ(login["DatumPrihlasenia"].toString(), "2026-03-09");
    EXPECT_EQ(login["CasPrihlasenia"].toString(), "08:15:30.250");
    EXPECT_TRUE(login["DatumOdhlasenia"].isNull());
}

TEST_F(Users, WrongPasswordCancelledAndInactiveUserRefused)
{
    AddUser("old", "heslo1", 3, 1, 0);
    prompt.logins = { { "admin", "nope" }, { "old", "heslo1" } };
    DialogScript::Instance().AnswerMessage(mrCancel);
    EXPECT_FALSE(module->LoginDialog());
    DialogScript::Instance().AnswerMessage(mrOk);
    EXPECT_FALSE(module->LoginDialog());
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(500, { "old", "\n\n" }));
    EXPECT_EQ(CurrentUserID, 0);
    EXPECT_EQ(CurrentUserRights, 0);
    EXPECT_EQ(CurrentGroupID, 0);
    EXPECT_EQ(Count("Logs"), 0);
}

TEST_F(Users, ServiceLoginNeedsItsHashAndIsClosedByLogout)
{
    // The stored entry holds no hash: the service login stays off, even for an empty box.
    module->MainStrings.Strings.removeIf([](const QString& e) { return e.startsWith("ServicePassword="); });
    module->MainStrings.Strings << "ServicePassword=";
    prompt.logins = { { "admin", "" } };
    DialogScript::Instance().AnswerMessage(mrCancel);
    EXPECT_FALSE(module->LoginDialog());

    module->MainStrings.Strings.removeLast();
    module->MainStrings.Strings << "ServicePassword= " + HashPassword("Servis9", 1) + " ";
    prompt.logins = { { "anyone", "Servis9" } };
    ASSERT_TRUE(module->LoginDialog());
    EXPECT_EQ(CurrentUserID, 1);
    EXPECT_EQ(CurrentUserName, "Tulkarn");
    EXPECT_EQ(CurrentUserRights, 1);
    EXPECT_EQ(CurrentGroupID, 1);
    ASSERT_GT(module->LoginID, 0);
    const int loginId = module->LoginID;
    moment = moment.addSecs(3600);
    module->LogLogout();
    EXPECT_EQ(Row("Logs", loginId)["CasOdhlasenia"].toString(), "09:15:30.250");
    EXPECT_EQ(CurrentUserID, 0);
}

TEST_F(Users, LogoutIsWrittenOnce)
{
    CurrentUserID = AddUser("eva", "heslo1");
    CurrentGroupID = 1;
    module->LogLogin();
    const int loginId = module->LoginID;
    ASSERT_GT(loginId, 0);
    moment = moment.addSecs(60);
    module->LogLogout();
    moment = moment.addSecs(60);
    CurrentUserID = 1;
    module->LogLogout(); // LoginID is 0 now: nothing written
    EXPECT_EQ(Row("Logs", loginId)["CasOdhlasenia"].toString(), "08:16:30.250");
    EXPECT_EQ(Count("Logs"), 1);
}

TEST_F(Users, NamesAndLookUps)
{
    const int eva = AddUser("eva", "heslo1");
    QString name;
    module->GetUserFullName(1, name);
    EXPECT_EQ(name, "Administrator");
    module->GetUserFullName(eva, name);
    EXPECT_EQ(name, QString::fromUtf8("Eva Nová"));
    for (int id : { 0, -3, 999 }) {
        module->GetUserFullName(id, name);
        EXPECT_TRUE(name.isEmpty()) << id;
    }
    EXPECT_TRUE(module->UserNameInUse("eva"));
    EXPECT_FALSE(module->UserNameInUse("eva' OR '1'='1"));
    EXPECT_TRUE(module->GroupNameExists("1"));
    EXPECT_FALSE(module->GroupNameExists("1\" OR \"1\"=\"1"));
}

TEST_F(Users, ChangePasswordStoresOnlyTheHash)
{
    CurrentUserID = AddUser("eva", "heslo1");
    DialogScript::Instance().AnswerMessage(mrOk);
    ASSERT_TRUE(module->ChangePassword("Nove99"));
    const QVariantMap row = Row("Administration", CurrentUserID);
    EXPECT_TRUE(VerifyPassword("Nove99", row["PasswordHash"].toString()));
    EXPECT_TRUE(row["UserPassword"].toString().isEmpty());
    CurrentUserID = 0; // nobody logged in: nothing to change
    DialogScript::Instance().AnswerMessage(mrOk);
    EXPECT_FALSE(module->ChangePassword("Nove99"));
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(499));
}

} // namespace

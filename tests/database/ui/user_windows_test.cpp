// The users window, the user dialog and the login-records window, driven as a user would
// on a copy of the empty database. ORVEK_SHOTS=<folder> also saves pictures of them and
// of a self-validation report in English and Slovak.

#include "core/string_table.h"
#include "database/login_records.h"
#include "database/self_validation.h"
#include "database/ui/administrator_window.h"
#include "database/ui/info_user_dialog.h"
#include "database/ui/login_records_window.h"
#include "database/ui/vx_db_grid.h"
#include "richtext/markup_render.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/user_database_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>

using namespace orvek;
using orvek::test::DialogScript;

namespace {

using test::WhenShown;

class UserWindows : public test::UserDatabase {
protected:
    void SetUp() override
    {
        test::UserDatabase::SetUp();
        DataModule1 = module.get();
        LogInAs(1, 1, 1);
        SetHistoryViewer([this](const QString& sql, const QVariantList& values, int user) {
            historySql = sql;
            historyValues = values;
            historyUser = user;
        });
    }
    void TearDown() override
    {
        SetHistoryViewer({});
        DataModule1 = nullptr;
        test::UserDatabase::TearDown();
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
    }
    static void LogInAs(int id, int rights, int group)
    {
        CurrentUserID = id;
        CurrentUserRights = rights;
        CurrentGroupID = group;
    }
    // Users of all three rights and an inactive one, in group 1.
    void AddStaff()
    {
        groupAdmin = AddUser("ivo", "abc", 2, 1, 1, "Ivo", "Alfa");
        user = AddUser("eva", "abc", 3, 1, 1, "Eva", "Beta");
        inactive = AddUser("ema", "abc", 3, 1, 0, "Ema", "Gama");
    }
    static int RowOf(TfAdministrator& window, int id)
    {
        for (int i = 0; i < window.Users.size(); ++i)
            if (window.Users[i].ID == id)
                return i;
        return -1;
    }
    static void Select(TfAdministrator& window, int id) { window.DBGrid1->selectRow(RowOf(window, id)); }

    int groupAdmin = 0, user = 0, inactive = 0;
    QString historySql;
    QVariantList historyValues;
    int historyUser = -1;
};

TEST_F(UserWindows, RefusedFieldKeepsItsTextAndGetsTheFocus)
{
    TfInfoUser dialog;
    dialog.NewUser = true;
    dialog.ClearFields();
    dialog.show();
    QTest::keyClicks(dialog.Edit_FirstName, "Eva");
    dialog.Edit_LastName->setText("Nová");
    QTest::keyClicks(dialog.Edit_UserName, "ev");
    dialog.Timer1Timer();
    EXPECT_FALSE(dialog.Button_OK->isEnabled()); // no password yet
    EXPECT_EQ(dialog.Edit_Password->echoMode(), QLineEdit::Password);
    QTest::keyClicks(dialog.Edit_Password, "abc");
    dialog.Timer1Timer();
    ASSERT_TRUE(dialog.Button_OK->isEnabled());
    DialogScript::Instance().AnswerMessage(mrRetry);
    dialog.Button_OK->click();
    ASSERT_EQ(DialogScript::Instance().Shown(), QStringList { GetString(627, { 3 }) });
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.Edit_UserName);
    EXPECT_EQ(dialog.Edit_UserName->text(), "ev");
    EXPECT_EQ(dialog.Edit_Password->text(), "abc");
    QTest::keyClicks(dialog.Edit_UserName, "a");
    dialog.Button_OK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(UserWindows, MainAdministratorAddsChangesAndDeletesUsers)
{
    AddStaff();
    TfAdministrator window;
    window.FillGroupCombos();
    window.show();
    ASSERT_EQ(window.Users.size(), 4);
    EXPECT_TRUE(window.Button_Diagramy->isVisibleTo(&window));

    // New: always rights 3, password hashed.
    WhenShown<TfInfoUser>([](TfInfoUser& dialog) {
        EXPECT_EQ(dialog.windowTitle(), GetString(482));
        EXPECT_EQ(dialog.Edit_UserRights->text(), "Group user");
        EXPECT_TRUE(dialog.Edit_Password->text().isEmpty());
        dialog.Edit_FirstName->setText("Jan");
        dialog.Edit_LastName->setText("Nový");
        dialog.Edit_UserName->setText("jan");
        dialog.Edit_Password->setText("heslo1");
        dialog.Timer1Timer();
        dialog.Button_OK->click();
    });
    window.Button_Novy->click();
    ASSERT_EQ(window.Users.size(), 5);
    const TUserRow* added = window.CurrentUser();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->UserName, "jan");
    EXPECT_EQ(added->Rights, 3);
    const int jan = added->ID;
    EXPECT_TRUE(VerifyPassword("heslo1", Row("Administration", jan)["PasswordHash"].toString()));

    // Change with an empty password keeps the hash; a login name in use is asked about.
    const QString hash = Row("Administration", jan)["PasswordHash"].toString();
    WhenShown<TfInfoUser>([](TfInfoUser& dialog) {
        EXPECT_TRUE(dialog.Edit_Password->text().isEmpty());
        EXPECT_EQ(dialog.Edit_UserName->text(), "jan");
        dialog.Edit_UserName->setText("eva");
        dialog.Timer1Timer();
        dialog.Button_OK->click();
    });
    DialogScript::Instance().AnswerMessage(mrNo);
    window.Button_Zmenit->click();
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(481));
    EXPECT_EQ(Row("Administration", jan)["UserName"].toString(), "jan");
    WhenShown<TfInfoUser>([](TfInfoUser& dialog) {
        dialog.Edit_LastName->setText("Starý");
        dialog.CheckBox_DocasneZrusit->setChecked(true);
        dialog.Timer1Timer();
        dialog.Button_OK->click();
    });
    window.Button_Zmenit->click();
    EXPECT_EQ(Row("Administration", jan)["LastName"].toString(), "Starý");
    EXPECT_EQ(Row("Administration", jan)["Aktivny"].toInt(), 0);
    EXPECT_EQ(Row("Administration", jan)["PasswordHash"].toString(), hash);

    // A user with records is only deactivated; one without is deleted.
    QSqlQuery query(Other());
    ASSERT_TRUE(ExecBound(query, "INSERT INTO TreeDB (PracovnikID) VALUES (?)", { user }));
    Select(window, user);
    DialogScript::Instance().AnswerMessage(mrYes);
    window.Button_Vymazat->click();
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(479, { 1, QStringLiteral("\n\n") }));
    EXPECT_EQ(Row("Administration", user)["Aktivny"].toInt(), 0);
    Select(window, jan);
    DialogScript::Instance().AnswerMessage(mrYes);
    window.Button_Vymazat->click();
    EXPECT_TRUE(Row("Administration", jan).isEmpty());
    EXPECT_EQ(window.Users.size(), 4);

    // The own row and user 1 keep Delete off.
    Select(window, 1);
    window.Timer1Timer();
    EXPECT_FALSE(window.Button_Vymazat->isEnabled());
    EXPECT_TRUE(window.Button_Zmenit->isEnabled());
}

TEST_F(UserWindows, GroupAdministratorTouchesOnlyUsersOfTheGroup)
{
    AddStaff();
    const int otherGroup = AddUser("ota", "abc", 3, 2, 1, "Ota", "Delta");
    LogInAs(groupAdmin, 2, 1);
    TfAdministrator window;
    window.FillGroupCombos();
    window.show();
    EXPECT_FALSE(window.Button_Diagramy->isVisibleTo(&window));
    EXPECT_EQ(RowOf(window, otherGroup), -1);
    Select(window, 1);
    window.Timer1Timer();
    EXPECT_FALSE(window.Button_Zmenit->isEnabled());
    EXPECT_FALSE(window.Button_Vymazat->isEnabled());
    DialogScript::Instance().AnswerMessage(mrOk);
    window.Button_ZmenitClick();
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(22003));
    Select(window, groupAdmin);
    window.Timer1Timer();
    EXPECT_FALSE(window.Button_Vymazat->isEnabled());

    // A new user of a group administrator goes into the group, the group not offered.
    WhenShown<TfInfoUser>([](TfInfoUser& dialog) {
        EXPECT_FALSE(dialog.ComboBox_GroupList->isEnabled());
        dialog.Edit_FirstName->setText("Uma");
        dialog.Edit_LastName->setText("Nová");
        dialog.Edit_UserName->setText("uma");
        dialog.Edit_Password->setText("abc");
        dialog.Timer1Timer();
        dialog.Button_OK->click();
    });
    window.Button_Novy->click();
    const TUserRow* uma = window.CurrentUser();
    ASSERT_TRUE(uma);
    EXPECT_EQ(uma->Group, 1);
}

TEST_F(UserWindows, RecordsHistoryAndCopyOfTheList)
{
    AddStaff();
    TfAdministrator window;
    window.FillGroupCombos();
    window.show();
    Select(window, user);
    window.Button_Historia->click();
    EXPECT_EQ(historyUser, user);
    EXPECT_EQ(historyValues, QVariantList { user });
    EXPECT_TRUE(historySql.contains("PracovnikID = ?"));

    window.Button_CopyList->click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->hasFormat("text/rtf"));
    EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf1"));
    EXPECT_TRUE(data->text().contains("1."));
    EXPECT_TRUE(data->text().contains("Gama"));

    window.Button_Diagramy->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.ChosenUserID, user);
}

TEST_F(UserWindows, LoginRecordsFollowTheSelectedUser)
{
    AddStaff();
    QSqlQuery query(Other());
    for (const auto& [who, date] :
        { std::pair { user, "2026-03-01" }, { user, "2026-03-02" }, { inactive, "2026-03-03" } })
        ASSERT_TRUE(ExecBound(query,
            "INSERT INTO Logs (PracovnikID, DatumPrihlasenia, CasPrihlasenia, DatumOdhlasenia, CasOdhlasenia) "
            "VALUES (?, ?, '08:00:00.000', ?, '16:00:00.000')",
            { who, QString::fromLatin1(date), QString::fromLatin1(date) }));
    TfEvidenciaPrihlasovania window;
    window.show();
    ASSERT_EQ(window.Users.size(), 4);
    window.DBGrid1->selectRow(2); // Eva
    ASSERT_EQ(window.SelectedUserID(), user);
    EXPECT_EQ(window.LogIns.size(), 2);
    window.Timer1Timer();
    EXPECT_EQ(window.IntegerEdit_PocetPristupov->text(), "2");
    EXPECT_EQ(window.SelectedLoginDate(), "2026-03-02");
    window.Button_ZobrazitZmeny->click();
    EXPECT_EQ(historyValues, (QVariantList { user, "2026-03-02" }));
    EXPECT_EQ(historyUser, user);

    window.DBGrid1->selectRow(0); // the administrator has no logins here
    window.Timer1Timer();
    EXPECT_EQ(window.IntegerEdit_PocetPristupov->text(), "0");
    window.Zmenyvovybranomdtumeprstupu1->trigger();
    EXPECT_EQ(historyValues, QVariantList { QString() });
    EXPECT_EQ(historyUser, 0);
    window.menuVsetkyZmeny2->trigger();
    EXPECT_TRUE(historyValues.isEmpty());
}

TEST_F(UserWindows, Pictures)
{
    const QString shots = qEnvironmentVariable("ORVEK_SHOTS");
    if (shots.isEmpty())
        GTEST_SKIP() << "set ORVEK_SHOTS to a folder to save pictures";
    AddStaff();
    QSqlQuery query(Other());
    ASSERT_TRUE(ExecBound(query,
        "INSERT INTO Logs (PracovnikID, DatumPrihlasenia, CasPrihlasenia, DatumOdhlasenia, CasOdhlasenia) "
        "VALUES (?, '2026-03-02', '08:00:00.000', '2026-03-02', '16:30:00.000')",
        { groupAdmin }));
    for (const quint8 language : { quint8(0), quint8(1) }) {
        LanguageID = language;
        const QString suffix = language == 1 ? "-sk" : "-en";
        TfAdministrator window;
        window.FillGroupCombos();
        window.show();
        Select(window, inactive);
        QTest::qWait(50);
        window.grab().save(shots + "/users" + suffix + ".png");

        TfInfoUser dialog;
        dialog.NewUser = false;
        dialog.ClearFields();
        dialog.setWindowTitle(GetString(560));
        dialog.Edit_FirstName->setText("Ema");
        dialog.Edit_LastName->setText("Gama");
        dialog.Edit_UserName->setText("ema");
        dialog.Edit_UserRights->setText(UserRightName(3));
        dialog.FillGroups(1);
        dialog.ShowGroupCombo(true);
        dialog.CheckBox_DocasneZrusit->setChecked(true);
        dialog.show();
        QTest::qWait(50);
        dialog.grab().save(shots + "/user-dialog" + suffix + ".png");

        TfEvidenciaPrihlasovania records;
        records.show();
        records.DBGrid1->selectRow(1);
        records.Timer1Timer();
        QTest::qWait(50);
        records.grab().save(shots + "/login-records" + suffix + ".png");

        QString result, report;
        ASSERT_TRUE(SelfValidation(result, report));
        QTextEdit view;
        RenderMarkupToRichEdit(10, "Arial", false, view.document(), report);
        view.resize(900, 560);
        view.show();
        QTest::qWait(50);
        view.grab().save(shots + "/self-validation" + suffix + ".png");
    }
    LanguageID = 0;
}

} // namespace

// Logging in, out and in again, and the own password, through the menus every user
// sees; the change histories the users window and the login records open.

#include "core/string_table.h"
#include "database/query_rows_model.h"
#include "database/ui/administrator_window.h"
#include "database/ui/history_window.h"
#include "database/ui/login_records_window.h"
#include "database/ui/record_view_panel.h"
#include "database/ui/vx_db_grid.h"
#include "tests/app/program_fixture.h"

#include <QLabel>
#include <QMenu>

using namespace orvek;
using orvek::test::DialogScript;
using orvek::test::ProgramTest;
using orvek::test::WhenShown;

namespace {

TEST_F(ProgramTest, AfterALogOutOrACancelledLogInAnotherUserLogsIn)
{
    StartAsAdministrator();
    const int eva = AddUser("eva", "abc123");
    QAction* logIn = Action("aLogInNewUser");
    QAction* logOut = Action("aOdhlasenieUzivatela");
    QAction* password = Action("aChangeUserPassword");

    // The administrator logs out: nobody is logged in and only the log-in is offered.
    ASSERT_TRUE(InMenuBar(logOut));
    DialogScript::Instance().AnswerMessage(mrYes); // log out the current user?
    logOut->trigger();
    EXPECT_EQ(CurrentUserID, 0);
    EXPECT_FALSE(Main().RecordPanel->View().RecordViewOpen);
    EXPECT_EQ(Main().StatusPanels[0]->text(), GetString(641));
    EXPECT_FALSE(logOut->isEnabled());
    EXPECT_FALSE(password->isEnabled());

    // Eva logs in from the same menu.
    ASSERT_TRUE(InMenuBar(logIn));
    AnswerLogin("eva", "abc123");
    logIn->trigger();
    ASSERT_EQ(CurrentUserID, eva);
    EXPECT_EQ(CurrentUserRights, 3);
    EXPECT_TRUE(Main().RecordPanel->View().RecordViewOpen);
    EXPECT_EQ(Main().StatusPanels[0]->text(), GetString(640) + " Eva Nová");
    EXPECT_FALSE(Main().menuAdministrator->menuAction()->isVisible());
    EXPECT_TRUE(InMenuBar(logOut));

    // Another log-in, cancelled: Eva is logged out and nobody is logged in.
    ASSERT_TRUE(InMenuBar(logIn));
    DialogScript::Instance().AnswerMessage(mrYes); // log Eva out and log in another user?
    AnswerLogin(QString(), QString(), false);
    logIn->trigger();
    EXPECT_EQ(CurrentUserID, 0);
    EXPECT_FALSE(logOut->isEnabled());
    EXPECT_EQ(logOut->text(), GetString(438));

    // The administrator logs in again without a restart.
    ASSERT_TRUE(InMenuBar(logIn));
    AnswerLogin("admin", "heslo1");
    logIn->trigger();
    EXPECT_EQ(CurrentUserID, 1);
    EXPECT_TRUE(Main().RecordPanel->View().RecordViewOpen);
    EXPECT_TRUE(Main().menuAdministrator->menuAction()->isVisible());
    EXPECT_EQ(ColumnElsewhere("SELECT count(*) FROM Logs WHERE PracovnikID = ? AND DatumOdhlasenia <> ''", { eva }),
        QStringList { "1" });
}

TEST_F(ProgramTest, AGroupUserChangesTheOwnPasswordAndLogsOut)
{
    StartAsAdministrator();
    const int eva = AddUser("eva", "abc123");
    DialogScript::Instance().AnswerMessage(mrYes); // log the administrator out?
    AnswerLogin("eva", "abc123");
    Action("aLogInNewUser")->trigger();
    ASSERT_EQ(CurrentUserID, eva);

    QAction* password = Action("aChangeUserPassword");
    ASSERT_TRUE(InMenuBar(password));
    AnswerNewPassword("abc123", "xyz789");
    DialogScript::Instance().AnswerMessage(mrOk); // the password has been changed
    password->trigger();
    EXPECT_EQ(Shown().last(), GetString(498));

    QAction* logOut = Action("aOdhlasenieUzivatela");
    ASSERT_TRUE(InMenuBar(logOut));
    DialogScript::Instance().AnswerMessage(mrYes);
    logOut->trigger();
    EXPECT_EQ(CurrentUserID, 0);

    // The new password is hers now.
    AnswerLogin("eva", "xyz789");
    Action("aLogInNewUser")->trigger();
    EXPECT_EQ(CurrentUserID, eva);
}

// The change history of a user, of a login date and of everybody, each in the history
// browser of the program.
class ProgramHistory : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        StartAsAdministrator();
        eva = AddUser("eva", "abc123", 3, 1, "Eva", "Nová");
        // Eva changed two records on two days, the administrator one on the first of them.
        for (const auto& [user, date, time] :
            { std::tuple { eva, kDay1, "09:00:00.000" }, { eva, kDay2, "10:00:00.000" }, { 1, kDay1, "11:00:00.000" } })
            ExecElsewhere("INSERT INTO History (GroupID, PracovnikID, Datum, Cas, OriginalValues, NewValues, "
                          "PracovnikMeno, DiagramName) VALUES (1, ?, ?, ?, 'before', 'after', '', 'Model')",
                { user, date, time });
        ExecElsewhere("INSERT INTO Logs (PracovnikID, GroupID, DatumPrihlasenia, CasPrihlasenia, DatumOdhlasenia, "
                      "CasOdhlasenia) VALUES (?, 1, ?, '08:00:00.000', ?, '16:00:00.000')",
            { eva, kDay1, kDay1 });
    }
    // The IDs of the rows the next history browser shows; it is closed at once.
    void CaptureHistory(QStringList& rows)
    {
        WhenShown<TfHistory1>([&rows](TfHistory1& history) {
            for (int row = 0; row < history.Q_History->RecordCount(); ++row)
                rows << history.Q_History->Value(row, "ID").toString();
            history.reject();
        });
    }
    static QStringList HistoryIDs(const QString& condition, const QVariantList& values = {})
    {
        return ColumnElsewhere("SELECT ID FROM History " + condition + " ORDER BY Datum, Cas", values);
    }

    static constexpr const char* kDay1 = "2025-01-15";
    static constexpr const char* kDay2 = "2025-01-16";
    int eva = 0;
};

TEST_F(ProgramHistory, TheUsersWindowsHistoryButtonShowsTheSelectedUsersChanges)
{
    QStringList rows;
    bool shown = false;
    WhenShown<TfAdministrator>([&](TfAdministrator& users) {
        for (int row = 0; row < users.Users.size(); ++row)
            if (users.Users[row].ID == eva)
                users.DBGrid1->setCurrentIndex(users.DBGrid1->model()->index(row, 1));
        CaptureHistory(rows);
        users.Button_Historia->click();
        shown = true;
        users.Button_OK->click();
    });
    Action("aZoznamUzivatelov")->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(rows.size(), 2);
    EXPECT_EQ(rows, HistoryIDs("WHERE PracovnikID = ?", { eva }));
}

TEST_F(ProgramHistory, TheLoginRecordsOpenTheHistoriesOfAUserADayAndEverybody)
{
    const QStringList ofEva = HistoryIDs("WHERE PracovnikID = ?", { eva });
    const QStringList ofEvaOnDay1 = HistoryIDs("WHERE PracovnikID = ? AND Datum = ?", { eva, kDay1 });
    const QStringList all = HistoryIDs(QString());
    const QStringList allOnDay1 = HistoryIDs("WHERE Datum = ?", { kDay1 });
    ASSERT_EQ(ofEvaOnDay1.size(), 1);
    ASSERT_EQ(allOnDay1.size(), 2);

    struct Opened {
        const char* what;
        QStringList expected;
        QStringList rows;
    };
    std::vector<Opened> opened { { "the button", ofEvaOnDay1, {} }, { "all changes of the user", ofEva, {} },
        { "the user on the login date", ofEvaOnDay1, {} }, { "all changes of everybody", all, {} },
        { "everybody on the login date", allOnDay1, {} } };
    bool shown = false;
    WhenShown<TfEvidenciaPrihlasovania>([&](TfEvidenciaPrihlasovania& logins) {
        for (int row = 0; row < logins.Users.size(); ++row)
            if (logins.Users[row].ID == eva)
                logins.DBGrid1->setCurrentIndex(logins.DBGrid1->model()->index(row, 0));
        EXPECT_EQ(logins.SelectedLoginDate(), kDay1);
        const std::vector<std::function<void()>> openers { [&] { logins.Button_ZobrazitZmeny->click(); },
            [&] { logins.menuVsetkyZmeny->trigger(); }, [&] { logins.Vovybranomdtumeprstupu1->trigger(); },
            [&] { logins.menuVsetkyZmeny2->trigger(); }, [&] { logins.Zmenyvovybranomdtumeprstupu1->trigger(); } };
        for (size_t i = 0; i < openers.size(); ++i) {
            CaptureHistory(opened[i].rows);
            openers[i]();
        }
        shown = true;
        logins.Button_Close->click();
    });
    Action("aEvidenciaPrihlasovania")->trigger();
    ASSERT_TRUE(shown);
    for (const Opened& o : opened)
        EXPECT_EQ(o.rows, o.expected) << o.what;
}

} // namespace

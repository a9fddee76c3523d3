// The user's session on the record panel: log-in of another user, log-out, the own
// password, the administrator's backup and restore, the users window and the
// validation actions, driven through the dialog script and the main-window double.

#include "core/settings.h"
#include "core/string_table.h"
#include "database/backups.h"
#include "database/password_hash.h"
#include "database/query_rows_model.h"
#include "database/ui/administrator_window.h"
#include "database/ui/history_window.h"
#include "database/ui/template_window.h"
#include "database/ui/validation_history.h"
#include "platform/sql_database.h"
#include "tests/database/ui/record_panel_fixture.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/test_env.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace orvek {
namespace {

using test::DialogScript;

class SessionPanel : public RecordPanel {
protected:
    void SetUp() override
    {
        RecordPanel::SetUp();
        panel = std::make_unique<RecordViewPanel>(&module->SessionOrvek());
        eva = AddUser("eva", "abc123", 3, 1);
    }
    void TearDown() override
    {
        panel.reset();
        RecordPanel::TearDown();
    }
    // The main administrator with a login row of the session, the views open.
    void OpenAsAdministrator()
    {
        CurrentUserID = 1;
        CurrentUserRights = 1;
        CurrentGroupID = 1;
        CurrentUserName = "Main administrator";
        module->LogLogin();
        panel->OpenSession();
        panel->OpenMeasurementView(scale1);
    }
    // Logs Eva in through the panel's action while nobody is logged in.
    void LogInEva()
    {
        CurrentUserID = 0;
        prompt.logins = { { "eva", "abc123" } };
        panel->aLogInNewUser->trigger();
        ASSERT_EQ(CurrentUserID, eva);
    }
    QStringList History(const QString& column)
    {
        return test::QueryColumn(db, "SELECT " + column + " FROM History ORDER BY ID");
    }

    std::unique_ptr<RecordViewPanel> panel;
    int eva = 0;
};

TEST_F(SessionPanel, LogInAnotherUserAndCancelLeavesNobodyLoggedIn)
{
    LogInEva();
    const int evaLogin = module->LoginID;
    EXPECT_TRUE(panel->View().RecordViewOpen);
    EXPECT_EQ(window.Calls("CreateUndoTable"), 1);
    EXPECT_FALSE(window.ServicePageShown);
    EXPECT_EQ(panel->View().ShownOwnerID, eva);
    EXPECT_EQ(LastLoggedInUserID, eva);
    EXPECT_EQ(window.StatusBarTexts,
        QStringList({ GetString(640) + " Eva Nová", GetString(650), GetString(1116), CurrentGroupName }));
    EXPECT_FALSE(CurrentGroupName.isEmpty());

    // No keeps Eva: no log-in dialog is shown.
    DialogScript::Instance().AnswerMessage(mrNo);
    panel->aLogInNewUser->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(437, { "Eva Nová", "\n\n" }));
    EXPECT_EQ(CurrentUserID, eva);
    EXPECT_TRUE(panel->View().RecordViewOpen);

    // Yes logs her out; a cancelled log-in leaves nobody, the views closed.
    DialogScript::Instance().AnswerMessage(mrYes);
    prompt.logins = { { "", "", false } };
    panel->aLogInNewUser->trigger();
    EXPECT_EQ(CurrentUserID, 0);
    EXPECT_EQ(CurrentUserRights, 0);
    EXPECT_FALSE(panel->View().RecordViewOpen);
    EXPECT_EQ(panel->View().RowCount(), 0);
    EXPECT_EQ(window.Calls("DropUndoTable"), 1);
    EXPECT_FALSE(panel->aOdhlasenieUzivatela->isEnabled());
    EXPECT_EQ(panel->aOdhlasenieUzivatela->text(), GetString(438));
    EXPECT_EQ(window.StatusBarTexts.value(0), GetString(641));
    EXPECT_FALSE(Row("Logs", evaLogin).value("DatumOdhlasenia").toString().isEmpty());
}

TEST_F(SessionPanel, LogOutClosesTheViewsAndRemembersTheRecord)
{
    SaveLastRecordOfUser(eva, scale2);
    LogInEva();
    const int login = module->LoginID;
    const int shown = panel->View().CurrentRowID();
    ASSERT_EQ(shown, scale2);
    SaveLastRecordOfUser(eva, 0);
    const int cleared = window.Calls("ClearDiagram");

    DialogScript::Instance().AnswerMessage(mrNo);
    panel->aOdhlasenieUzivatela->trigger();
    EXPECT_EQ(CurrentUserID, eva);

    DialogScript::Instance().AnswerMessage(mrYes);
    panel->aOdhlasenieUzivatela->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(447));
    EXPECT_EQ(CurrentUserID, 0);
    EXPECT_FALSE(panel->View().RecordViewOpen);
    EXPECT_EQ(window.Calls("ClearDiagram"), cleared + 1);
    EXPECT_EQ(window.LastUpdateMode, 0);
    EXPECT_FALSE(Row("Logs", login).value("DatumOdhlasenia").toString().isEmpty());
    int remembered = 0;
    LoadLastRecordOfUser(eva, remembered);
    EXPECT_EQ(remembered, shown);
}

// Every rebuild of the list names in the status bar whose records it shows.
TEST_F(SessionPanel, ShowingAllUsersRecordsNamesNoOwnerInTheStatusBar)
{
    OpenAsAdministrator();
    panel->View().ShownOwnerID = eva;
    panel->RefreshRecordView();
    EXPECT_EQ(window.StatusBarTexts.value(1), GetString(649) + " Eva Nová");
    panel->aShowAllUsers->trigger();
    EXPECT_EQ(panel->View().ShownOwnerID, 0);
    EXPECT_EQ(window.StatusBarTexts.value(1), GetString(650));
}

TEST_F(SessionPanel, OnlyTheServiceLoginSeesTheServicePage)
{
    for (const auto& [name, shown] : { std::pair { "Tulkarn", true }, { "Main administrator", false } }) {
        CurrentUserID = 1;
        CurrentUserRights = 1;
        CurrentGroupID = 1;
        CurrentUserName = name;
        panel->OpenSession();
        EXPECT_EQ(window.ServicePageShown, shown) << name;
    }
}

TEST_F(SessionPanel, ChangesTheOwnPassword)
{
    LogInEva();
    const QString oldHash = module->CurrentPassword;
    prompt.newPasswords = { "" }; // cancelled: nothing changes, nothing is said
    panel->aChangeUserPassword->trigger();
    EXPECT_EQ(Row("Administration", eva).value("PasswordHash").toString(), oldHash);

    prompt.newPasswords = { "xyz789" };
    DialogScript::Instance().AnswerMessage(mrOk);
    panel->aChangeUserPassword->trigger();
    EXPECT_EQ(prompt.shownHash, oldHash);
    EXPECT_EQ(prompt.shownLabel, GetString(445) + CurrentUserName + " ");
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(498));
    EXPECT_TRUE(VerifyPassword("xyz789", Row("Administration", eva).value("PasswordHash").toString()));
}

// The database folder, a folder inside it (also reached through a link) and the
// working-backup folder are refused before anything closes.
TEST_F(SessionPanel, BackupIntoTheDatabaseOrWorkingBackupFolderIsRefused)
{
    OpenAsAdministrator();
    QDir().mkpath(DatabaseDir + "inner");
    QDir().mkpath(WorkingBackupDir);
    const QString link = test::TestRoot() + "/database-link";
    QFile::link(QDir(DatabaseDir).absolutePath(), link);
    const struct {
        QString folder;
        int text;
    } cases[] = { { DatabaseDir, 455 }, { DatabaseDir + "inner/", 455 }, { link + "/inner", 455 },
        { WorkingBackupDir, 454 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        DialogScript::Instance().AnswerFolder(c.folder);
        DialogScript::Instance().AnswerMessage(mrCancel);
        panel->aDBBackup->trigger();
        EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(c.text));
    }
    EXPECT_EQ(window.Calls("DropUndoTable"), 0);
    EXPECT_TRUE(panel->View().RecordViewOpen);
    EXPECT_EQ(panel->View().CurrentRowID(), scale1);
    EXPECT_TRUE(History("ID").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(DatabaseDir + "inner/" + kAdminBackupSubfolder));
}

// A backup, a damaged backup whose restore fails (the database and the views as they
// were), and a good one restored: every history row lands where it belongs.
TEST_F(SessionPanel, BackupAndRestoreKeepTheUserAndWriteTheirHistory)
{
    OpenAsAdministrator();
    const QString good = test::TestRoot() + "/admin-backup/";
    QDir().mkpath(good);
    DialogScript::Instance().AnswerFolder(good);
    DialogScript::Instance().AnswerMessage(mrOk);
    panel->aDBBackup->trigger();
    ASSERT_EQ(DialogScript::Instance().Shown().last(), GetString(450));
    EXPECT_EQ(AdminBackupDir, good);
    EXPECT_EQ(History("OriginalValues"), QStringList { GetString(621) + " " + good });
    EXPECT_EQ(History("NewValues"), QStringList { GetString(450) });
    EXPECT_TRUE(panel->View().RecordViewOpen);
    EXPECT_EQ(panel->View().CurrentRowID(), scale1);
    EXPECT_EQ(window.Calls("CreateUndoTable"), 2);

    // A backup with damaged pages: the check warns, the restore refuses it.
    const QString damaged = test::TestRoot() + "/damaged-backup/";
    QDir().mkpath(damaged);
    {
        QSqlDatabase other = Other();
        ASSERT_TRUE(Post(other, [&](QString* error) {
            QSqlQuery query(other);
            for (int i = 0; i < 2000; ++i)
                if (!ExecBound(query, "INSERT INTO History (GroupID, OriginalValues) VALUES (2, ?)",
                        { QString(400, 'x') }, error))
                    return false;
            return true;
        }));
    }
    AdminBackupDir = damaged;
    ASSERT_TRUE(module->MakeAdminBackup());
    {
        QFile file(FolderDatabasePath(damaged + kAdminBackupSubfolder + "/"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(4096 * (file.size() / 4096 / 2));
        file.write(QByteArray(4096, '\x5A'));
    }
    const int records = panel->View().RowCount();
    const int historyRows = History("ID").size();
    DialogScript::Instance().AnswerFolder(damaged);
    DialogScript::Instance().AnswerMessage(mrYes); // 456
    DialogScript::Instance().AnswerMessage(mrYes); // 460
    DialogScript::Instance().AnswerMessage(mrCancel); // 466
    panel->aDBRestore->trigger();
    const QStringList shown = DialogScript::Instance().Shown();
    EXPECT_EQ(shown.at(shown.size() - 2), GetString(460));
    EXPECT_TRUE(shown.last().startsWith(GetString(466, { "" }))) << shown.last().toStdString();
    EXPECT_EQ(CurrentUserID, 1);
    EXPECT_TRUE(panel->View().RecordViewOpen);
    EXPECT_EQ(panel->View().RowCount(), records);
    EXPECT_EQ(panel->View().CurrentRowID(), scale1);
    EXPECT_EQ(History("ID").size(), historyRows + 1);
    EXPECT_EQ(History("OriginalValues").last(), GetString(620) + " " + damaged);

    // The good backup comes back: the record added since is gone, the user has a new
    // login row in the restored database, and the restore's row is there.
    const int added = Add("3", "Po zálohe");
    const int loginBefore = module->LoginID;
    DialogScript::Instance().AnswerFolder(good);
    DialogScript::Instance().AnswerMessage(mrYes); // 456
    DialogScript::Instance().AnswerMessage(mrYes); // 458
    DialogScript::Instance().AnswerMessage(mrOk); // 465
    panel->aDBRestore->trigger();
    const QStringList answers = DialogScript::Instance().Shown();
    EXPECT_EQ(answers.at(answers.size() - 2), GetString(458, { good, "\n\n" }));
    EXPECT_EQ(answers.last(), GetString(465));
    EXPECT_EQ(CurrentUserID, 1);
    EXPECT_EQ(CurrentUserName, "Main administrator");
    EXPECT_TRUE(panel->View().RecordViewOpen);
    EXPECT_TRUE(test::QueryColumn(db, "SELECT ID FROM TreeDB WHERE ID = ?", { added }).isEmpty());
    EXPECT_EQ(History("OriginalValues"), QStringList { GetString(620) + " " + good });
    EXPECT_NE(module->LoginID, loginBefore);
    EXPECT_EQ(Row("Logs", module->LoginID).value("PracovnikID").toInt(), 1);
    EXPECT_TRUE(DialogScript::Instance().AllAnswered());
}

TEST_F(SessionPanel, RestoreFromAFolderWithoutADatabaseStopsBeforeAnythingCloses)
{
    OpenAsAdministrator();
    const QString empty = test::TestRoot() + "/no-backup/";
    QDir().mkpath(empty);
    DialogScript::Instance().AnswerFolder(empty);
    DialogScript::Instance().AnswerMessage(mrYes); // 456
    DialogScript::Instance().AnswerMessage(mrCancel); // the verify's report
    panel->aDBRestore->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().last(), TableCheckReport);
    DialogScript::Instance().AnswerFolder(DatabaseDir);
    DialogScript::Instance().AnswerMessage(mrYes); // 456
    DialogScript::Instance().AnswerMessage(mrCancel); // 463
    panel->aDBRestore->trigger();
    EXPECT_EQ(DialogScript::Instance().Shown().last(), GetString(463));
    EXPECT_EQ(window.Calls("DropUndoTable"), 0);
    EXPECT_TRUE(panel->View().RecordViewOpen);
}

TEST_F(SessionPanel, UsersWindowShowsTheRecordsOfTheChosenUser)
{
    OpenAsAdministrator();
    TNewRecord record;
    record.GroupID = 1;
    record.FolderID = "3";
    record.RecordName = "Evin záznam";
    record.UserName = "Eva Nová";
    record.UserID = eva;
    const int evas = int(AppendRecord(db, record));
    panel->ActionZobrazitVsetkyMerania->trigger();
    ASSERT_EQ(panel->View().RowCount(), 5);

    test::WhenShown<TfAdministrator>([this](TfAdministrator& users) {
        users.RefreshUserList(eva);
        users.Button_Diagramy->click();
    });
    panel->aZoznamUzivatelov->trigger();
    EXPECT_EQ(panel->View().ShownOwnerID, eva);
    EXPECT_EQ(Rows(*panel), QList<int> { evas });
    EXPECT_EQ(window.StatusBarTexts.value(1), GetString(649) + " Eva Nová");
}

TEST_F(SessionPanel, HistoryOfTheShownRecord)
{
    OpenAsAdministrator();
    for (int diagram : { scale1, scale2, scale1 })
        PostStatement(db, "INSERT INTO History (GroupID, DiagramID, Datum, Cas) VALUES (1, ?, '2026-01-02', ?)",
            { diagram, QString("10:0%1:00.000").arg(diagram % 10) });
    CurrentRecordID = scale1;
    int rows = -1;
    test::WhenShown<TfHistory1>([&rows](TfHistory1& history) {
        rows = history.Q_History->RecordCount();
        history.reject();
    });
    panel->aHistory->trigger();
    EXPECT_EQ(rows, 2);
}

TEST_F(SessionPanel, ValidationActionsAndTheTemplateWindowMenu)
{
    OpenAsAdministrator();
    // Each example goes to ImportExampleAsRecord with its folder and file.
    QStringList picked;
    panel->TemplatePicker = [&picked](const TTemplatePickRequest& request, THandOverFields&) {
        picked << request.Folder + request.FileName;
        return false;
    };
    for (const quint8 language : { 0, 1 }) {
        LanguageID = language;
        panel->findChild<QAction*>("Action_S5_1")->trigger();
    }
    LanguageID = 0;
    EXPECT_EQ(picked,
        QStringList(
            { AppDir + "Validation/EN/S5_1_Calibration_of_a_type_N_thermocouple_at_1000_C_Furnace_temperature.stm",
                AppDir + "Validation/SK/S5_1_Kalibracia_termoelektrickeho_snimaca_teploty_typu_N_Teplota_pece.stm" }));
    EXPECT_EQ(panel->Action_PSV->text(), GetString(942));
    // An example that is not installed says so and opens no pick.
    DialogScript::Instance().AnswerMessage(mrOk);
    panel->Action_S6->trigger();
    EXPECT_EQ(picked.size(), 2);
    EXPECT_TRUE(DialogScript::Instance().Shown().last().startsWith(GetString(22008).section("%s", 0, 0)));

    // The template window's validation menu starts with the two validation actions.
    {
        TfOrvekDB templates;
        fOrvekDB = &templates;
        panel->OpenSession();
        panel->OpenSession();
        const QList<QAction*> items = templates.menuValidacia->actions();
        fOrvekDB = nullptr;
        ASSERT_GE(items.size(), 3);
        EXPECT_EQ(items.at(0), panel->ActionStartValidation);
        EXPECT_EQ(items.at(1), panel->Action_ValidacnyProtokolOrvek);
        EXPECT_EQ(items.count(panel->ActionStartValidation), 1);
    }

    // The validation history runs the self-validation and stores its result.
    SelfValidationHook = nullptr;
    test::WhenShown<TfValidationHistory>([](TfValidationHistory& history) {
        ASSERT_TRUE(history.Button_Validation->isEnabled());
        history.Button_Validation->click();
        history.Button_Close->click();
    });
    panel->ActionStartValidation->trigger();
    SelfValidationHook = nullptr;
    EXPECT_EQ(test::QueryColumn(db, "SELECT ResultStr FROM ValidationHistory"), QStringList { GetString(897) });
    EXPECT_TRUE(window.TimerRunning);
}

} // namespace
} // namespace orvek

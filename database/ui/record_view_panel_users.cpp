// The administration on the record view: the administrator's backup and restore of the
// database, and the openers of the users window, the login records and the change
// history of the shown record.

#include "database/ui/record_view_panel.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/session.h"
#include "database/ui/administrator_window.h"
#include "database/ui/history_window.h"
#include "database/ui/login_records_window.h"
#include "database/ui/template_window.h"
#include "database/upgrade.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"

#include <QAction>
#include <QApplication>
#include <QSqlDatabase>

namespace orvek {

namespace {

// Statuses of a verify that stop a restore before anything is closed: the table check
// cannot run, or the folder lacks required tables.
constexpr int kVerifyUnavailable = 9999;
constexpr int kVerifyFolderIncomplete = 99999;

// Appends the change-history row of a backup or restore: it names no record.
void WriteDatabaseHistory(const QString& originalValues, const QString& newValues)
{
    if (!DataModule1)
        return;
    const bool kind = CurrentDiagramKind;
    const int record = CurrentRecordID;
    CurrentDiagramKind = false;
    CurrentRecordID = 0;
    HistoryOriginalValues = originalValues;
    HistoryNewValues = newValues;
    DataModule1->WriteHistory();
    CurrentDiagramKind = kind;
    CurrentRecordID = record;
}

bool IsAdministrator()
{
    return CurrentUserID > 0 && (CurrentUserRights == 1 || CurrentUserRights == 2);
}

} // namespace

void RecordViewPanel::ReopenSession(int recordID)
{
    CurrentRecordID = 0;
    OpenSession();
    OpenMeasurementView(recordID);
    UpdateStatusBar();
}

void RecordViewPanel::aDBBackupExecute()
{
    if (!DataModule1 || !IsAdministrator())
        return;
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    if (window && window->FModified())
        window->SaveRecordDiagram();
    QString folder = AdminBackupDir;
    if (!SelectFolderDialog(WithoutAccessKey(aDBBackup->text()), folder))
        return;
    // Refused before anything closes: the views stay as they are.
    if (const int refusal = AdminBackupFolderRefusal(folder, DatabaseDir, WorkingBackupDir)) {
        MessageDlg(GetString(refusal), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    AdminBackupDir = WithTrailingSeparator(folder);
    const int recordID = View().CurrentRowID();
    const QString originalValues = GetString(621) + QLatin1Char(' ') + AdminBackupDir;
    SaveLastRecordOfUser(CurrentUserID, recordID);
    CloseSession();

    const bool done = DataModule1->MakeAdminBackup();
    const QString result = GetString(done ? 450 : 451);
    if (done)
        MessageDlg(result, TMsgDlgType::mtInformation, mbOK);
    else
        MessageDlg(result, TMsgDlgType::mtError, mbCancel);
    WriteDatabaseHistory(originalValues, result);
    ReopenSession(recordID);
}

void RecordViewPanel::aDBRestoreExecute()
{
    if (!DataModule1 || !IsAdministrator())
        return;
    MainTimerPause pause;
    QString folder = AdminBackupDir;
    if (!SelectFolderDialog(WithoutAccessKey(aDBRestore->text()), folder))
        return;
    if (MessageDlg(GetString(456), TMsgDlgType::mtWarning, mbYesNo) != mrYes)
        return;
    const QString source = RestoreSourceFolder(folder);
    if (RestoreFolderRefusal(folder, DatabaseDir) || RestoreFolderRefusal(source, DatabaseDir)) {
        MessageDlg(GetString(463), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    const int problems = DataModule1->VerifyAllTables(source);
    if (problems == kVerifyUnavailable || problems == kVerifyFolderIncomplete) {
        MessageDlg(TableCheckReport, TMsgDlgType::mtError, mbCancel);
        return;
    }
    if (problems == 0) {
        if (MessageDlg(GetString(458, { folder, QStringLiteral("\n\n") }), TMsgDlgType::mtConfirmation, mbYesNo)
            != mrYes)
            return;
    } else if (MessageDlg(GetString(460), TMsgDlgType::mtWarning, mbYesNo) != mrYes) {
        return;
    }

    // The user stays logged in across the restore.
    const int userID = CurrentUserID, rights = CurrentUserRights, group = CurrentGroupID;
    const QString userName = CurrentUserName;
    const int recordID = View().CurrentRowID();
    SaveLastRecordOfUser(CurrentUserID, recordID);
    CloseSession();

    WaitWindowService* wait = WaitWindow();
    if (wait)
        wait->Show(GetString(464));
    // The restore checks the backup whole and replaces the live database in one
    // transaction: a failure leaves the database as it was.
    QString error;
    const bool restored = DataModule1->RestoreDatabase(folder, &error);
    if (wait)
        wait->Hide();
    const QString result = restored ? GetString(465) : GetString(466, { error });
    if (restored)
        MessageDlg(result, TMsgDlgType::mtInformation, mbOK);
    else
        MessageDlg(result, TMsgDlgType::mtError, mbCancel);
    CurrentUserID = userID;
    CurrentUserRights = rights;
    CurrentGroupID = group;
    CurrentUserName = userName;

    // A rebuild replaces the database file, which other workstations may hold open: it
    // runs only when the verify finds damage.
    const bool damaged = DataModule1->VerifyAllTables(DatabaseDir) != 0;
    if (damaged && DataModule1->RebuildAllTables(DatabaseDir) != 0) {
        MessageDlg(GetString(462), TMsgDlgType::mtError, mbCancel);
        return;
    }
    // The restored database has its own login records: the logout must land in a row
    // of this one.
    if (restored)
        DataModule1->LogLogin();
    WriteDatabaseHistory(GetString(620) + QLatin1Char(' ') + folder, result);
    QSqlDatabase db = DataModule1->SessionOrvek().Database(AliasDB);
    UpgradeDatabaseStructure(db);
    if (fOrvekDB)
        fOrvekDB->PrepareFolderGroups();
    ReopenSession(recordID);
}

void RecordViewPanel::aZoznamUzivatelovExecute()
{
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    if (window && window->FModified())
        window->SaveRecordDiagram();
    TfAdministrator users(this->window());
    users.FillGroupCombos();
    if (users.exec() != QDialog::Accepted || users.ChosenUserID <= 0)
        return;
    // The Records button: the main administrator's view shows that user's records.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    View().ShownOwnerID = users.ChosenUserID;
    RefreshRecordView();
    QApplication::restoreOverrideCursor();
    if (window)
        window->UpdateActions(View().RowCount() > 0 ? 1 : 0);
    UpdateStatusBar();
}

void RecordViewPanel::aEvidenciaPrihlasovaniaExecute()
{
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    if (window && window->FModified())
        window->SaveRecordDiagram();
    TfEvidenciaPrihlasovania logins(this->window());
    logins.exec();
}

void RecordViewPanel::aHistoryExecute()
{
    if (CurrentRecordID <= 0)
        return;
    MainTimerPause pause;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TfHistory1 history(this->window());
    history.HistorySQL = QStringLiteral("SELECT * FROM History WHERE DiagramID = ? ORDER BY Datum, Cas");
    history.HistoryValues = QVariantList { CurrentRecordID };
    // Several users may have changed the record: each row shows its own user.
    history.ShowHistory(0, CurrentRecordID);
    QApplication::restoreOverrideCursor();
    history.exec();
}

} // namespace orvek

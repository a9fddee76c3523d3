// The user's session on the record view: opening and closing the views for the
// logged-in user, logging another user in or out, the own password and the status bar.

#include "database/ui/record_view_panel.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/folder_table_cursor.h"
#include "database/session.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/template_window.h"
#include "database/users.h"
#include "database/validation_examples.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>

namespace orvek {

void RecordViewPanel::MakeSessionActions()
{
    aLogInNewUser = MakeAction("aLogInNewUser", &RecordViewPanel::aLogInNewUserExecute);
    aOdhlasenieUzivatela = MakeAction("aOdhlasenieUzivatela", &RecordViewPanel::aOdhlasenieUzivatelaExecute);
    aChangeUserPassword = MakeAction("aChangeUserPassword", &RecordViewPanel::aChangeUserPasswordExecute);
    aDBBackup = MakeAction("aDBBackup", &RecordViewPanel::aDBBackupExecute);
    aDBRestore = MakeAction("aDBRestore", &RecordViewPanel::aDBRestoreExecute);
    aZoznamUzivatelov = MakeAction("aZoznamUzivatelov", &RecordViewPanel::aZoznamUzivatelovExecute);
    aEvidenciaPrihlasovania = MakeAction("aEvidenciaPrihlasovania", &RecordViewPanel::aEvidenciaPrihlasovaniaExecute);
    aHistory = MakeAction("aHistory", &RecordViewPanel::aHistoryExecute);
}

void RecordViewPanel::ApplySessionTexts()
{
    const std::pair<QAction*, int> texts[]
        = { { aLogInNewUser, 521 }, { aOdhlasenieUzivatela, 438 }, { aChangeUserPassword, 483 }, { aDBBackup, 522 },
              { aDBRestore, 504 }, { aZoznamUzivatelov, 535 }, { aEvidenciaPrihlasovania, 524 }, { aHistory, 525 },
              { ActionStartValidation, 899 }, { Action_ValidacnyProtokolOrvek, 935 } };
    for (const auto& [action, text] : texts) {
        action->setText(GetString(text));
        action->setToolTip(GetString(text));
    }
    for (const TValidationExample& example : ValidationExamples())
        if (auto* action = findChild<QAction*>(QString::fromLatin1(example.Action), Qt::FindDirectChildrenOnly)) {
            action->setText(GetString(example.Text));
            action->setToolTip(GetString(example.Text));
        }
}

void RecordViewPanel::OpenSession()
{
    MainWindowService* window = MainWindow();
    if (window)
        window->ShowServicePage(CurrentUserName == QLatin1String(kServiceUserName));
    MainTimerPause pause;
    if (window) {
        window->RefreshEquationsPage();
        window->CreateUndoTable();
    }
    GetGroupName(CurrentGroupID, CurrentGroupName);
    BindFolderTable(CurrentGroupID);
    View().CurrentFolderID = QString::fromLatin1(kUnassignedFolder);
    if (fOrvekDB) {
        fOrvekDB->BindFolderTable(CurrentGroupID);
        fOrvekDB->DBTemplateView->SetDataSource(fOrvekDB->IDTable_Template);
        OfferValidationInTemplateWindow();
    }
    ComboBox_MainID->setEnabled(true);
}

void RecordViewPanel::CloseSession()
{
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    View().RecordViewOpen = false;
    if (window && window->FModified())
        window->SaveRecordDiagram();
    // The shown record stays locked only while it is shown.
    if (CurrentRecordID > 0 && DataModule1) {
        const bool kind = CurrentDiagramKind;
        CurrentDiagramKind = false;
        if (DataModule1->IsItemLockedByMe())
            DataModule1->UnlockItem();
        CurrentDiagramKind = kind;
    }
    View().Close();
    ActionSaveChangesToDBExecute();
    SyncGridToView();
    Panel_RecNo->clear();
    {
        const QSignalBlocker blocker(ComboBox_MainID);
        ComboBox_MainID->clear();
    }
    ComboBox_MainID->setEnabled(false);
    DBTreeView->SetDataSource(nullptr);
    folders_->Close();
    if (window) {
        window->ClearDiagram();
        window->DropUndoTable();
    }
    if (fOrvekDB) {
        if (fOrvekDB->isVisible())
            fOrvekDB->hide();
        fOrvekDB->DBTemplateView->SetDataSource(nullptr);
        fOrvekDB->IDTable_Template->Close();
    }
    UpdateStatusBar();
    View().TreeSQL = TRecordStatement();
    if (window)
        window->UpdateActions(0);
}

void RecordViewPanel::UpdateStatusBar()
{
    const std::array<QString, 4> texts = CurrentStatusBarTexts(View().ShownOwnerID);
    if (MainWindow())
        MainWindow()->SetStatusBarTexts(QStringList(texts.begin(), texts.end()));
}

void RecordViewPanel::aLogInNewUserExecute()
{
    if (CurrentUserID > 0
        && MessageDlg(GetString(437, { CurrentUserName, QStringLiteral("\n\n") }), TMsgDlgType::mtConfirmation, mbYesNo)
            != mrYes) {
        UpdateStatusBar();
        return;
    }
    {
        MainTimerPause pause;
        if (CurrentUserID > 0) {
            SaveLastRecordOfUser(CurrentUserID, View().CurrentRowID());
            if (DataModule1)
                DataModule1->LogLogout();
            CloseSession();
        }
        if (DataModule1 && DataModule1->LoginDialog()) {
            CurrentRecordID = 0;
            View().ShownOwnerID = CurrentUserRights == 1 ? 0 : CurrentUserID;
            LastLoggedInUserID = CurrentUserID;
            OpenSession();
            OpenMeasurementView();
            aOdhlasenieUzivatela->setEnabled(true);
        } else {
            // Whoever was logged in before is logged out now: nobody stays.
            CurrentUserID = 0;
            CurrentUserRights = 0;
            CurrentUserName.clear();
            aOdhlasenieUzivatela->setEnabled(false);
            aOdhlasenieUzivatela->setText(GetString(438));
            if (MainWindow())
                MainWindow()->ShowServicePage(false);
        }
    }
    UpdateStatusBar();
}

void RecordViewPanel::aOdhlasenieUzivatelaExecute()
{
    MainTimerPause pause;
    if (CurrentUserID <= 0 || MessageDlg(GetString(447), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes)
        return;
    SaveLastRecordOfUser(CurrentUserID, View().CurrentRowID());
    if (DataModule1)
        DataModule1->LogLogout();
    CloseSession();
    if (MainWindow())
        MainWindow()->ShowServicePage(false);
}

void RecordViewPanel::aChangeUserPasswordExecute()
{
    // The service login has no password of its own in the user table.
    LoginPrompt* prompt = CurrentLoginPrompt();
    if (!prompt || !DataModule1 || CurrentUserID <= 0 || CurrentUserName == QLatin1String(kServiceUserName))
        return;
    MainTimerPause pause;
    QString newPassword;
    if (prompt->AskNewPassword(
            DataModule1->CurrentPassword, newPassword, GetString(445) + CurrentUserName + QLatin1Char(' ')))
        DataModule1->ChangePassword(newPassword);
}

void RecordViewPanel::OfferValidationInTemplateWindow()
{
    if (!fOrvekDB || !fOrvekDB->menuValidacia || fOrvekDB->menuValidacia->actions().contains(ActionStartValidation))
        return;
    const QList<QAction*> items = fOrvekDB->menuValidacia->actions();
    QAction* first = items.isEmpty() ? nullptr : items.first();
    fOrvekDB->menuValidacia->insertActions(first, { ActionStartValidation, Action_ValidacnyProtokolOrvek });
}

} // namespace orvek

#include "database/ui/record_view_panel.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/record_handover.h"
#include "database/record_load.h"
#include "database/record_writes.h"
#include "database/template_storage.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/template_pick.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "platform/db_session.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QSqlDatabase>

namespace orvek {

bool PickTemplateForRecord(const TTemplatePickRequest& request, THandOverFields& fields)
{
    // An example's template is shown in its own folder; without it there is nothing to
    // pick: another template must not pass for the example.
    const int result = request.Source == TNewRecordSource::Example
        ? PickExample(request.Caption, request.Folder, request.FileName)
        : PickTemplate(request.TemplateID, request.Caption);
    if (result != kTemplateWindowOk)
        return false;
    fields = TemplateWindowHandOver;
    return true;
}

namespace {

// Keeps what the template window changes while it is open for a pick (the shared zoom,
// the highlight mode, the load flag) and puts it back on every exit path.
class TPickScope {
public:
    explicit TPickScope(bool example)
        : example_(example)
        , highlight_(HighlightMode)
        , zoomPreset_(ZoomPresetIndex)
        , zoom_(ZoomCoefficient)
    {
        if (!example_)
            TreeLoadInProgress = true;
    }
    ~TPickScope()
    {
        HighlightMode = highlight_;
        ZoomPresetIndex = zoomPreset_;
        ZoomCoefficient = zoom_;
        if (!example_)
            TreeLoadInProgress = false;
    }
    TPickScope(const TPickScope&) = delete;
    TPickScope& operator=(const TPickScope&) = delete;

private:
    bool example_;
    quint8 highlight_;
    int zoomPreset_;
    double zoom_;
};

} // namespace

void RecordViewPanel::ActionNewRecFromTemplateTreeExecute()
{
    TTemplatePickRequest request;
    request.Caption = WithoutAccessKey(ActionNewRecFromTemplateTree->text());
    NewRecordFromTemplate(request);
}

void RecordViewPanel::ActionShowSourceTemplateFromDBExecute()
{
    const int row = View().CurrentRow();
    if (row < 0)
        return;
    TTemplatePickRequest request;
    request.Source = TNewRecordSource::SourceTemplate;
    request.TemplateID = View().Field(row, RecordAnswerFieldNumber(QStringLiteral("FromTemplateID"))).toInt();
    request.Caption = WithoutAccessKey(ActionShowSourceTemplateFromDB->text());
    NewRecordFromTemplate(request);
}

void RecordViewPanel::ImportExampleAsRecord(const QString& folder, const QString& fileName)
{
    TTemplatePickRequest request;
    request.Source = TNewRecordSource::Example;
    request.Caption = WithoutAccessKey(ActionNewRecFromTemplateTree->text());
    request.Folder = folder;
    request.FileName = fileName;
    NewRecordFromTemplate(request);
}

void RecordViewPanel::NewRecordFromTemplate(const TTemplatePickRequest& request)
{
    const bool example = request.Source == TNewRecordSource::Example;
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    if (!example && window && window->FSummaryShown())
        window->ActionShowHideSummaryWindowExecute();
    const TPickScope scope(example);
    if (window) {
        if (window->FModified())
            window->SaveRecordDiagram();
        window->ResetUndo();
    }
    const QString transferFile = TransferFileName();
    QFile::remove(transferFile);

    THandOverFields fields;
    const bool picked = TemplatePicker && TemplatePicker(request, fields);
    // The window used the shared view switches; the main window takes its own back.
    const auto restoreView = [window] {
        if (window)
            window->RestoreViewState();
    };
    if (!picked || !QFile::exists(transferFile)) {
        restoreView();
        return;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    TNewRecord record;
    record.GroupID = CurrentGroupID;
    record.FolderColumn = View().FolderColumn;
    record.FolderID = View().CurrentFolderID;
    record.UserName = CurrentUserName;
    record.UserID = CurrentUserID;
    record.FromTemplateID = fields.HandOverTemplateID;
    record.TemplateName = fields.HandOverTemplateName;
    record.RecordName = fields.HandOverRecordName;
    record.SampleID = fields.HandOverSampleID;
    QSqlDatabase db = RecordsDatabase();
    QString error;
    const qint64 id = AppendRecordFromFile(db, record, transferFile, &error);
    QFile::remove(transferFile);
    QApplication::restoreOverrideCursor();
    if (id < 0) {
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        restoreView();
        return;
    }
    View().ApplyTreeQuery();
    RefreshGrid(int(id));
    if (example) {
        // The tick leaves the shown record through its record-change path and loads the
        // new row, which is current in the grid now.
        if (window) {
            window->RequestRecordReload();
            window->RestoreViewState();
            window->UpdateActions(1);
            window->SetLoadedFromTemplate(true);
        }
        return;
    }
    ShowCurrentRecord(true);
    if (window) {
        window->RestoreViewState();
        window->UpdateActions(1);
        window->ActionSuhrnVelicinExecute();
    }
}

void RecordViewPanel::ShowCurrentRecord(bool fromTemplate)
{
    const int row = View().CurrentRow();
    if (row < 0)
        return;
    CurrentRecordID = View().RowID(row);
    MainWindowService* window = MainWindow();
    if (window) {
        window->SetLastRecNo(row + 1);
        window->SetLoadedFromTemplate(fromTemplate);
    }
    QSqlDatabase db = RecordsDatabase();
    LoadRecordDiagram(db, CurrentRecordID);
    ActionShowSourceTemplateFromDB->setEnabled(
        View().Field(row, RecordAnswerFieldNumber(QStringLiteral("FromTemplateID"))).toInt() > 0);
    if (window) {
        window->ResetUndo();
        window->PushUndoSnapshot();
    }
}

void RecordViewPanel::GoToRecord(
    int targetID, const QString& targetName, const std::function<bool(TCell& root)>& applyImport)
{
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    const int nameField = RecordAnswerFieldNumber(QStringLiteral("NazovMerania"));
    const auto currentName = [this, nameField] { return View().Field(View().CurrentRow(), nameField).toString(); };

    if (View().CurrentRow() >= 0 && View().CurrentRowID() == targetID) {
        if (currentName() != targetName)
            MessageDlg(GetString(1100, { currentName(), targetName }), TMsgDlgType::mtWarning, mbCancel);
    } else {
        UpdateRecNoPanel();
        bool stopped = false;
        TCell* root = window ? window->FRootCell() : nullptr;
        if (window && window->FModified() && root && root->ChildCount() > 0) {
            const int answer = MessageDlg(GetString(115), TMsgDlgType::mtConfirmation, mbYesNoCancel);
            if (answer == mrYes) {
                if (!window->SaveRecordDiagram()) {
                    MessageDlg(GetString(648), TMsgDlgType::mtError, mbOK);
                    stopped = true;
                }
            } else if (answer == mrNo) {
                window->SetModified(false);
            } else {
                stopped = true;
            }
        }
        if (!stopped) {
            SelectFolderOfRecord(targetID);
            View().CurrentFolderID = DBTreeView->GetNodeID(DBTreeView->currentItem());
            View().BuildTreeQuery();
            View().ApplyTreeQuery();
            RefreshGrid(targetID);
            DBGrid_Tree->setFocus();
            ShowCurrentRecord(false);
        } else if (window && window->FLastRecNo() > 0) {
            View().SetCurrentRow(window->FLastRecNo() - 1);
            SyncGridToView();
        }
        if (window)
            window->UpdateActions(View().RowCount() > 0 ? 1 : 0);
    }

    TCell* root = window ? window->FRootCell() : nullptr;
    if (root && View().CurrentRow() >= 0 && View().CurrentRowID() == targetID && currentName() == targetName
        && applyImport && applyImport(*root)) {
        window->PushUndoSnapshot();
        window->SetModified(true);
    }
}

void RecordViewPanel::PopupMenu1Popup(QAction* editItem, QAction* separator)
{
    FPopupCell = HoveredCell;
    for (QAction* item : { editItem, separator })
        if (item)
            item->setVisible(FPopupCell != nullptr);
}

} // namespace orvek

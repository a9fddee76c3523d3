#include "database/ui/template_pick.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "database/data_module.h"
#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/template_list.h"
#include "database/template_query.h"
#include "database/template_storage.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "database/validation_examples.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"
#include "platform/dialogs.h"
#include "richtext/report_output.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QTimer>

namespace orvek {

void TfOrvekDB::PrepareTemplatePick(int templateId, const QString& text)
{
    Timer1->stop();
    EmptyRedoUndo();
    PickTemplateID = templateId;
    FillFolderGroupCombo(CurrentGroupID);
    GetGroupName(CurrentGroupID, CurrentGroupName);
    // Every serialisation of the window keeps comments and values without asking.
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    RelayoutPending = true;
    CaptionBase = text;

    // The folders shown are those of the group whose templates are listed.
    if (!IDTable_Template->Active() || IDTable_Template->TableName != TemplateFolderTable(CurrentGroupID))
        BindFolderTable(GroupIndexOf(CurrentGroupID) >= 0 ? CurrentGroupID : (GroupCount > 0 ? GroupList[0].ID : 1));
    ApplyFolderGroupsSetting();

    BuildTemplateQuery();
    if (ListRowCount() == 0) {
        // An empty first folder: the pick opens on the folder that follows the examples'.
        QSqlDatabase db = RecordsDatabase();
        const QString fallback = ExamplesFallbackFolder(db, CurrentGroupID, LanguageID);
        if (!fallback.isEmpty())
            OpenFolderAndQuery(fallback);
    }
    if (ListRowCount() > 0)
        RefreshGrid(PickTemplateID);

    ShowShortReportButtons();
    FinishPickPreparation();
}

void TfOrvekDB::ShowShortReportButtons()
{
    RememberOutputAction(kReportCopy, ActionCopyShortReport);
    RememberOutputAction(kReportSave, ActionShortReportSaveToFile);
    RememberOutputAction(kReportPreview, ActionShortReportPrintPreview);
    RememberOutputAction(kReportPrint, ActionShortReportPrint);
}

void TfOrvekDB::FinishPickPreparation()
{
    QPalette palette = ScrollBox_Template->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(BackgroundColor));
    ScrollBox_Template->setPalette(palette);
    PageControl1->setCurrentWidget(TabSheet_Struktura);
    DBGrid_Template->setFocus();
    Zoom.Remember();
    SyncZoomControls();
    if (CurrentUserRights < 1 || CurrentUserRights > 3)
        EditMode = 0;

    CurrentTemplateID = 0; // the tick loads the current row
    WindowReady = true;
    Closing = false;
    // The group cannot change during a pick.
    ComboBox_MainID->setEnabled(false);
}

void TfOrvekDB::SetPickOption(bool) { }

bool TfOrvekDB::PrepareExamplePick(const QString& text, const QString& folder, const QString& fileName)
{
    Timer1->stop();
    EmptyRedoUndo();
    FillFolderGroupCombo(CurrentGroupID);
    GetGroupName(CurrentGroupID, CurrentGroupName);
    if (!IDTable_Template->Active() || IDTable_Template->TableName != TemplateFolderTable(CurrentGroupID))
        BindFolderTable(GroupIndexOf(CurrentGroupID) >= 0 ? CurrentGroupID : (GroupCount > 0 ? GroupList[0].ID : 1));
    ApplyFolderGroupsSetting();
    // From the first example pick on, the window offers the other examples too.
    menuValidacia->menuAction()->setVisible(true);
    menuValidation_in_Orvek2000->menuAction()->setVisible(true);
    if (TemplateViewMode == kTemplatesOfGroup)
        ActionShowAllTemplatesExecute();

    QSqlDatabase db = RecordsDatabase();
    const TExampleLookup found = FindOrImportValidationExample(db, NewTemplateTarget(), folder, fileName);
    if (found.TemplateID <= 0) {
        // A missing folder or file leaves the window as it was; a failed import says why.
        if (!found.Error.isEmpty())
            MessageDlg(found.Error, TMsgDlgType::mtError, mbOK);
        return false;
    }
    if (found.Imported) {
        // The import may have made the examples' folder: the tree shows it too.
        DataChangedSinceBackup = true;
        IDTable_Template->Refresh();
        DBTemplateView->RebuildTree();
    }

    PickTemplateID = 0;
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    RelayoutPending = true;
    CaptionBase = text;
    SelectFolderOfTemplate(found.TemplateID);
    BuildTemplateQuery();
    if (ListRowCount() > 0)
        RefreshGrid(found.TemplateID);
    FinishPickPreparation();
    return true;
}

int PickTemplate(int templateId, const QString& caption)
{
    if (!fOrvekDB)
        return 0;
    fOrvekDB->PrepareTemplatePick(templateId, caption);
    return fOrvekDB->exec();
}

int PickExample(const QString& caption, const QString& folder, const QString& fileName)
{
    if (!fOrvekDB || !fOrvekDB->PrepareExamplePick(caption, folder, fileName))
        return 0;
    return fOrvekDB->exec();
}

} // namespace orvek

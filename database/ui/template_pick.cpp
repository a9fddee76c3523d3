#include "database/ui/template_pick.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "database/data_module.h"
#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/template_list.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "engine/ui/diagram_view.h"

#include <QComboBox>
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
    if (ListRowCount() > 0)
        RefreshGrid(PickTemplateID);

    QPalette palette = ScrollBox_Template->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(BackgroundColor));
    ScrollBox_Template->setPalette(palette);
    PageControl1->setCurrentWidget(TabSheet_Struktura);
    DBGrid_Template->setFocus();
    Zoom.Remember();
    SyncZoomControls();
    if (CurrentUserRights < 1 || CurrentUserRights > 3)
        EditMode = 0;

    CurrentTemplateID = 0;
    WindowReady = true;
    Closing = false;
    // The group cannot change during a pick.
    ComboBox_MainID->setEnabled(false);
}

int PickTemplate(int templateId, const QString& caption)
{
    if (!fOrvekDB)
        return 0;
    fOrvekDB->PrepareTemplatePick(templateId, caption);
    return fOrvekDB->exec();
}

} // namespace orvek

#include "database/ui/record_view_panel.h"

#include "core/clock.h"
#include "core/common_vars.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/folder_groups.h"
#include "database/folder_table_cursor.h"
#include "database/record_writes.h"
#include "database/template_query.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/edit_record_head.h"
#include "database/ui/list_of_folders.h"
#include "database/ui/vx_db_grid.h"
#include "engine/cell.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>

namespace orvek {

void RecordViewPanel::ActionMoveSelectedRecordToExecute()
{
    MainTimerPause pause;
    CollectSelectedRecordIds();
    if (SelectedRecordIDs.isEmpty())
        return;
    TfListOfFolders picker(this);
    picker.setWindowTitle(GetString(866));
    if (MoreGroupsOfFolders)
        picker.Panel1->setText(GetString(865) + QLatin1Char(' ') + ComboBox_MainID->currentText());
    picker.IDTable->TableName = IDTable_Tree().TableName;
    picker.OpenFolders(0, QStringLiteral("TreeDB"), View().CurrentFolderID, View().FolderColumn);
    if (picker.exec() != QDialog::Accepted)
        return;
    if (MainWindow() && MainWindow()->FModified())
        MainWindow()->SaveRecordDiagram();
    const QString folder = picker.IDTable->FieldText(QStringLiteral("ID"));
    if (picker.FoldersChanged) {
        IDTable_Tree().Refresh();
        DBTreeView->RebuildTree();
    }
    QSqlDatabase db = RecordsDatabase();
    MoveRecordsToFolder(db, SelectedRecordIDs, View().FolderColumn, folder);
    RefreshRecordView();
}

void RecordViewPanel::ActionEditRecordExecute()
{
    const int id = View().CurrentRowID();
    QSqlDatabase db = RecordsDatabase();
    TRecordHead head;
    if (id == 0 || !ReadRecordHead(db, id, head))
        return;
    TfEditRecordHead dialog(this);
    dialog.setWindowTitle(GetString(762));
    dialog.Edit_Datum->setDate(head.Datum);
    dialog.Edit_Vytvoril->setText(head.MenoPracovnika);
    dialog.Label_Nazov->setText(GetString(359));
    dialog.Edit_NazovMerania->setText(head.NazovMerania);
    dialog.Edit_SampleID->setText(head.SampleID);
    if (dialog.exec() != QDialog::Accepted)
        return;
    MainTimerPause pause;
    head.Datum = dialog.Edit_Datum->date();
    head.NazovMerania = dialog.Edit_NazovMerania->text();
    head.SampleID = dialog.Edit_SampleID->text();
    QString error;
    if (WriteRecordHead(db, id, head, &error) == THeadWrite::Failed) {
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        return;
    }
    if (MainWindow() && MainWindow()->FModified())
        MainWindow()->SaveRecordDiagram();
    // The edited record stays current.
    View().ApplyTreeQuery();
    RefreshGrid(id);
}

void RecordViewPanel::ActionUrobitKopiuZaznamuExecute()
{
    MainTimerPause pause;
    MainWindowService* window = MainWindow();
    if (window && window->FSummaryShown())
        window->ActionShowHideSummaryWindowExecute();
    CopyRecord();
}

void RecordViewPanel::CopyRecord()
{
    MainWindowService* window = MainWindow();
    const int row = View().CurrentRow();
    if (!window || !window->FRootCell() || row < 0)
        return;
    TfEditRecordHead dialog(this);
    dialog.setWindowTitle(GetString(761));
    dialog.Edit_Datum->setDate(Today());
    dialog.Edit_Vytvoril->setText(
        View().Field(row, RecordAnswerFieldNumber(QStringLiteral("MenoPracovnika"))).toString());
    dialog.Label_Nazov->setText(GetString(359));
    dialog.Edit_NazovMerania->setText(
        CopyRecordName(View().Field(row, RecordAnswerFieldNumber(QStringLiteral("NazovMerania"))).toString()));
    dialog.Edit_SampleID->setText(View().Field(row, RecordAnswerFieldNumber(QStringLiteral("SampleID"))).toString());
    if (dialog.exec() != QDialog::Accepted)
        return;
    StoreCellComments = true;
    LoadValuesOnPaste = true;
    AskOnPaste = false;
    TNewRecord record;
    record.GroupID = CurrentGroupID;
    record.FolderColumn = View().FolderColumn;
    record.FolderID = View().CurrentFolderID;
    record.UserName = CurrentUserName;
    record.UserID = CurrentUserID;
    record.FromTemplateID = View().Field(row, RecordAnswerFieldNumber(QStringLiteral("FromTemplateID"))).toInt();
    record.SampleID = dialog.Edit_SampleID->text();
    record.RecordName = dialog.Edit_NazovMerania->text();
    record.TemplateName = View().Field(row, RecordAnswerFieldNumber(QStringLiteral("NazovVzoru"))).toString();
    record.Diagram = window->FRootCell()->SaveToText() + QStringLiteral("\r\n");
    QSqlDatabase db = RecordsDatabase();
    QString error;
    const qint64 id = AppendRecord(db, record, &error);
    if (id < 0) {
        MessageDlg(error, TMsgDlgType::mtError, mbOK);
        return;
    }
    RefreshRecordView();
    RefreshGrid(int(id));
    window->UpdateActions(1);
    window->ActionSuhrnVelicinExecute();
}

void RecordViewPanel::ActionExportTreeToFileAsExecute()
{
    CollectSelectedRecordIds();
    if (SelectedRecordIDs.size() > 1) {
        MessageDlg(GetString(924), TMsgDlgType::mtWarning, mbCancel);
        return;
    }
    if (SelectedRecordIDs.size() == 1 && MainWindow())
        MainWindow()->ExportTreeToFile();
}

namespace {

bool ExactlyShiftCtrl(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        == (Qt::ShiftModifier | Qt::ControlModifier);
}

} // namespace

void RecordViewPanel::ToggleDragging()
{
    DragEnabled = !DragEnabled;
    DBGrid_Tree->setDragEnabled(DragEnabled);
    DBTreeView->setAcceptDrops(DragEnabled);
    DBTreeView->SetOption(dtAutoDragMove, DragEnabled);
}

bool RecordViewPanel::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    // The main window sees every key of its controls first, whichever has the focus;
    // keys of other windows (the template window, dialogs) are theirs.
    if (widget && widget->window() == window() && !key->isAutoRepeat()) {
        // Some platforms report a modifier key's own press without its modifier.
        Qt::KeyboardModifiers modifiers = key->modifiers();
        if (key->key() == Qt::Key_Shift)
            modifiers |= Qt::ShiftModifier;
        else if (key->key() == Qt::Key_Control)
            modifiers |= Qt::ControlModifier;
        if (type == QEvent::KeyPress)
            FormKeyDown(key->key(), modifiers, QCursor::pos());
        else
            FormKeyUp(key->key(), key->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

bool RecordViewPanel::MouseOverGridOrTree(const QPoint& cursor) const
{
    for (const QWidget* control :
        { static_cast<const QWidget*>(DBGrid_Tree), static_cast<const QWidget*>(DBTreeView) }) {
        const QRect screen(control->mapToGlobal(QPoint(0, 0)), control->size());
        // Edges count as inside: the right and bottom edge too.
        if (cursor.x() >= screen.left() && cursor.x() <= screen.left() + screen.width() && cursor.y() >= screen.top()
            && cursor.y() <= screen.top() + screen.height())
            return true;
    }
    return false;
}

void RecordViewPanel::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, const QPoint& cursor)
{
    if (ExactlyShiftCtrl(modifiers) && (key == Qt::Key_Shift || key == Qt::Key_Control)) {
        // Only the main administrator moves records by dragging.
        if (CurrentUserID > 1)
            return;
        ShiftCtrlHeld = true;
        if (MouseOverGridOrTree(cursor) && !DragEnabled)
            ToggleDragging();
        return;
    }
    if (MouseOverGridOrTree(cursor) && DragEnabled)
        ToggleDragging();
}

void RecordViewPanel::FormKeyUp(int key, Qt::KeyboardModifiers)
{
    if (!ShiftCtrlHeld || (key != Qt::Key_Shift && key != Qt::Key_Control))
        return;
    ShiftCtrlHeld = false;
    if (DragEnabled)
        ToggleDragging();
}

void RecordViewPanel::DBGrid_TreeMouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        MouseDownInGrid = true;
}

void RecordViewPanel::DBGrid_TreeMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    if (window()->isActiveWindow() && !DBGrid_Tree->hasFocus())
        DBGrid_Tree->setFocus();
    if (buttons == Qt::NoButton && !ExactlyShiftCtrl(modifiers) && DragEnabled)
        ToggleDragging();
}

void RecordViewPanel::DBGrid_TreeMouseUp()
{
    MouseDownInGrid = false;
    if (DragEnabled)
        ToggleDragging();
}

bool RecordViewPanel::DBTreeViewDragOver(QObject* source, QTreeWidgetItem* target) const
{
    if (!view_->RecordViewOpen || !DragEnabled || !target)
        return false;
    if (source == DBGrid_Tree || source == DBGrid_Tree->viewport())
        return true;
    const QString folder = DBTreeView->GetNodeID(target);
    return source == DBTreeView && folder != QLatin1String(kUnassignedFolder)
        && folder != QLatin1String(kDeletedFolder);
}

void RecordViewPanel::DBTreeViewDragDrop(const QString& folderId)
{
    if (!View().RecordViewOpen || !DragEnabled || View().RowCount() == 0 || folderId.isEmpty())
        return;
    MainTimerPause pause;
    CollectSelectedRecordIds();
    if (MainWindow() && MainWindow()->FModified())
        MainWindow()->SaveRecordDiagram();
    QSqlDatabase db = RecordsDatabase();
    MoveRecordsToFolder(db, SelectedRecordIDs, View().FolderColumn, folderId);
    RefreshRecordView();
}

} // namespace orvek

// Moving templates by dragging them from the list onto a folder of the tree. Dragging is
// armed only while a user with rights 1 or 2 holds exactly Shift and Ctrl (no Alt, no
// mouse button) with the mouse over the list or the tree; releasing a key, another key
// over those controls, or letting go of the mouse in the list disarms it. While it is
// armed the tree's folders can be dragged too; otherwise neither control drags.

#include "core/common_vars.h"
#include "core/string_table.h"
#include "database/data_module.h"
#include "database/template_document.h"
#include "database/template_list.h"
#include "database/template_storage.h"
#include "database/ui/db_tree_view.h"
#include "database/ui/template_window.h"
#include "database/ui/vx_db_grid.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSqlDatabase>
#include <QTimer>

namespace orvek {

namespace {

bool MayDragTemplates()
{
    return CurrentUserRights == 1 || CurrentUserRights == 2;
}

bool ExactlyShiftCtrl(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        == (Qt::ShiftModifier | Qt::ControlModifier);
}

bool IsOver(const QWidget* control, const QPoint& cursor)
{
    if (!control || !control->isVisible())
        return false;
    const QRect screen(control->mapToGlobal(QPoint(0, 0)), control->size());
    // The right and bottom edges count as inside.
    return cursor.x() >= screen.left() && cursor.x() <= screen.left() + screen.width() && cursor.y() >= screen.top()
        && cursor.y() <= screen.top() + screen.height();
}

} // namespace

void TfOrvekDB::ConnectMoving()
{
    // The list drags only while moving is armed.
    DBGrid_Template->setDragDropMode(QAbstractItemView::DragOnly);
    DBGrid_Template->setDragEnabled(false);
    DBGrid_Template->setMouseTracking(true);
    DBGrid_Template->OnMouseDown = [this](QMouseEvent* event) { DBGrid_TemplateMouseDown(event->button()); };
    DBGrid_Template->OnMouseMove
        = [this](QMouseEvent* event) { DBGrid_TemplateMouseMove(event->buttons(), event->modifiers()); };
    DBGrid_Template->OnMouseUp = [this](QMouseEvent*) { DBGrid_TemplateMouseUp(); };
    // A mouse over the tree makes it the active control.
    DBTemplateView->setMouseTracking(true);
    DBTemplateView->OnMouseMove = [this](QMouseEvent*) {
        if (isActiveWindow() && !DBTemplateView->hasFocus())
            DBTemplateView->setFocus();
    };
    DBTemplateView->SetOption(dtAutoDragMove, false);
    DBTemplateView->OnDragOver = [this](QObject* source, QTreeWidgetItem* target) {
        // A folder may also go to the top level (a drop on empty space); templates need a
        // folder.
        return (target || source == DBTemplateView)
            && DBTemplateViewDragOver(source, DBTemplateView->GetNodeID(target));
    };
    DBTemplateView->OnDragDrop = [this](QObject* source, QTreeWidgetItem* target) {
        if (target)
            DBTemplateViewDragDrop(source, DBTemplateView->GetNodeID(target));
    };
}

bool TfOrvekDB::IsMouseOverGrid(const QPoint& cursor) const
{
    return IsOver(DBGrid_Template, cursor);
}

bool TfOrvekDB::IsMouseOverFolderTree(const QPoint& cursor) const
{
    return IsOver(DBTemplateView, cursor);
}

void TfOrvekDB::SpeedButton_EnableMovingClick()
{
    MovingEnabled = !MovingEnabled;
    DBGrid_Template->setDragEnabled(MovingEnabled);
    DBTemplateView->SetOption(dtAutoDragMove, MovingEnabled);
}

void TfOrvekDB::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, const QPoint& cursor)
{
    const bool overControls = IsMouseOverGrid(cursor) || IsMouseOverFolderTree(cursor);
    if (ExactlyShiftCtrl(modifiers) && QApplication::mouseButtons() == Qt::NoButton
        && (key == Qt::Key_Shift || key == Qt::Key_Control)) {
        if (!MayDragTemplates())
            return;
        MoveKeysDown = true;
        if (overControls && !MovingEnabled)
            SpeedButton_EnableMovingClick();
        return;
    }
    if (overControls && MovingEnabled)
        SpeedButton_EnableMovingClick();
}

void TfOrvekDB::FormKeyUp(int key, Qt::KeyboardModifiers)
{
    if (!MoveKeysDown || (key != Qt::Key_Shift && key != Qt::Key_Control))
        return;
    MoveKeysDown = false;
    if (MovingEnabled)
        SpeedButton_EnableMovingClick();
}

void TfOrvekDB::DBGrid_TemplateMouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        GridMouseDown = true;
}

void TfOrvekDB::DBGrid_TemplateMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    if (isActiveWindow() && !DBGrid_Template->hasFocus())
        DBGrid_Template->setFocus();
    if (!(buttons & Qt::LeftButton) && !ExactlyShiftCtrl(modifiers) && MovingEnabled)
        SpeedButton_EnableMovingClick();
}

void TfOrvekDB::DBGrid_TemplateMouseUp()
{
    GridMouseDown = false;
    if (MovingEnabled)
        SpeedButton_EnableMovingClick();
}

bool TfOrvekDB::DBTemplateViewDragOver(QObject* source, const QString& folderId) const
{
    const bool fromGrid = source == DBGrid_Template || source == DBGrid_Template->viewport();
    return MayDragTemplates() && WindowReady && MovingEnabled
        && ((fromGrid && !folderId.isEmpty()) || source == DBTemplateView);
}

void TfOrvekDB::DBTemplateViewDragDrop(QObject* source, const QString& folderId)
{
    // Folders dragged inside the tree are moved by the tree itself; only rows of the
    // list move templates.
    if (source != DBGrid_Template && source != DBGrid_Template->viewport())
        return;
    if (!MayDragTemplates() || !WindowReady || !MovingEnabled || folderId.isEmpty() || !List().Active()
        || ListRowCount() == 0)
        return;
    Timer1->stop();
    CollectSelectedTemplateIds();
    if (!SelectedIds.isEmpty()) {
        if (Document().TemplateModified)
            Document().SaveTemplateDiagram();
        const QList<int> ids(SelectedIds.begin(), SelectedIds.end());
        QSqlDatabase db = RecordsDatabase();
        const TMoveResult result = MoveTemplatesToFolder(db, ids, FolderColumn, folderId);
        if (!result.Ok)
            MessageDlg(result.Error, TMsgDlgType::mtError, mbOK);
        RequeryTemplates();
        CurrentTemplateID = 0; // the tick loads the current row
        UpdateActions();
    }
    if (isVisible())
        Timer1->start();
}

} // namespace orvek

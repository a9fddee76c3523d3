#include "mainwindow/ui/cell_tool_provider.h"

#include <QApplication>
#include <QCursor>

namespace orvek {

namespace {

template <class Dialog> std::unique_ptr<Dialog> Make(const std::function<std::unique_ptr<Dialog>()>& maker)
{
    return maker ? maker() : nullptr;
}

} // namespace

std::unique_ptr<TEquationDialog> TWidgetCellDialogs::CreateEquationDialog()
{
    return Make(MakeEquationDialog);
}

std::unique_ptr<TQuantityDialog> TWidgetCellDialogs::CreateQuantityDialog()
{
    return Make(MakeQuantityDialog);
}

std::unique_ptr<TUncertaintyCellDialog> TWidgetCellDialogs::CreateUncertaintyCellDialog()
{
    return Make(MakeUncertaintyCellDialog);
}

std::unique_ptr<TSourceDialog> TWidgetCellDialogs::CreateSourceDialog()
{
    return Make(MakeSourceDialog);
}

void TWidgetCellDialogs::LoadingStarted()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void TWidgetCellDialogs::LoadingFinished()
{
    QApplication::restoreOverrideCursor();
}

CellToolProvider::CellToolProvider(TCellRecordAccess* record)
    : tools_(dialogs_, record ? *record : record_)
{
}

void CellToolProvider::ClickAction(TCell* cell)
{
    tools_.ClickAction(cell);
}

void CellToolProvider::ViewProperties(TCell* cell)
{
    tools_.ViewProperties(cell);
}

void CellToolProvider::EditProperties(TCell* cell)
{
    tools_.EditProperties(cell);
}

} // namespace orvek

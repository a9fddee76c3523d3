#include "database/ui/table_control_window.h"

#include "core/ui/db_control_window.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QProgressBar>

namespace orvek {

TableControlStatusWindow::~TableControlStatusWindow()
{
    HideStatus();
}

void TableControlStatusWindow::ShowStatus()
{
    if (!fDBControlWindowStatus)
        fDBControlWindowStatus = new TfDBControlWindowStatus;
    fDBControlWindowStatus->show();
    fDBControlWindowStatus->repaint();
    QCoreApplication::processEvents();
}

void TableControlStatusWindow::HideStatus()
{
    delete fDBControlWindowStatus;
    fDBControlWindowStatus = nullptr;
}

void TableControlStatusWindow::SetTableCaption(const QString& caption)
{
    if (!fDBControlWindowStatus)
        return;
    if (auto* box = fDBControlWindowStatus->findChild<QGroupBox*>())
        box->setTitle(caption);
}

void TableControlStatusWindow::SetBar(int bar, int percent)
{
    if (!fDBControlWindowStatus)
        return;
    QProgressBar* bars[] = { fDBControlWindowStatus->PBHeader, fDBControlWindowStatus->PBIndexes,
        fDBControlWindowStatus->PBData, fDBControlWindowStatus->PBRebuild };
    if (bar >= 0 && bar < 4 && bars[bar]) {
        bars[bar]->setValue(percent);
        QCoreApplication::processEvents();
    }
}

} // namespace orvek

#include "mainwindow/cell_record_access.h"

#include "core/common_vars.h"
#include "database/data_module.h"

namespace orvek {

bool DataModuleCellRecord::CanLockItem()
{
    return !DataModule1 || DataModule1->CanLockItem();
}

bool DataModuleCellRecord::LockItem(bool* changedSinceLoaded)
{
    if (changedSinceLoaded)
        *changedSinceLoaded = false;
    return !DataModule1 || DataModule1->LockItem(changedSinceLoaded);
}

QString DataModuleCellRecord::GetUserFullName(int userID)
{
    QString name;
    if (DataModule1)
        DataModule1->GetUserFullName(userID, name);
    return name;
}

bool DataModuleCellRecord::WriteHistory()
{
    if (DataModule1)
        return DataModule1->WriteHistory();
    HistoryOriginalValues.clear();
    HistoryNewValues.clear();
    return false;
}

} // namespace orvek

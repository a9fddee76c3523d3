#pragma once
// A data link on a folder-table cursor. While active (linked to an open cursor) it puts
// its own handlers into the cursor's before and after events, each calling the handler
// that was there first and then the link's own operation; the kept handlers are put back
// when the link becomes inactive or is destroyed. The cursor's OnKeyTaken is chained the
// same way. It also watches the cursor's table for
// changes made by other workstations.

#include "database/folder_table_cursor.h"

#include <QPointer>
#include <array>
#include <memory>

namespace orvek {

class TableChangeWatcher;

class TECDataLink {
public:
    TECDataLink();
    virtual ~TECDataLink();
    TECDataLink(const TECDataLink&) = delete;
    TECDataLink& operator=(const TECDataLink&) = delete;

    // Links the cursor (null unlinks); the cursor's owner keeps it.
    void SetDataSet(FolderTableCursor* dataSet);
    FolderTableCursor* DataSet() const { return dataSet_; }
    bool Active() const { return active_; }

    // How often the table is checked for changes made elsewhere, in ms (0: only when
    // CheckForChanges asks). Takes effect when the link next becomes active.
    int ChangeCheckInterval = 500;
    // Checks now whether another workstation changed the table.
    void CheckForChanges();

protected:
    // The link's own operations, called after the handlers the cursor had.
    virtual void DoBeforeInsert() { }
    virtual void DoAfterInsert() { }
    virtual void DoBeforeEdit() { }
    virtual void DoAfterEdit() { }
    virtual void DoBeforePost() { }
    virtual void DoAfterPost() { }
    virtual void DoBeforeCancel() { }
    virtual void DoAfterCancel() { }
    virtual void DoBeforeDelete() { }
    virtual void DoAfterDelete() { }
    // The standard link events.
    virtual void ActiveChanged(bool) { }
    virtual void DataSetScrolled() { }
    virtual void DataSetChanged() { }
    virtual void RecordFieldChanged(const QString&) { }
    virtual void EditingChanged() { }
    // Another workstation changed the table.
    virtual void TableChangedElsewhere() { }
    // The key of an appended row was taken elsewhere and the handler the cursor had gave
    // no other: the key to try instead (empty gives up).
    virtual QString KeyTaken() { return QString(); }

private:
    enum Slot {
        kBeforeInsert,
        kAfterInsert,
        kBeforeEdit,
        kAfterEdit,
        kBeforePost,
        kAfterPost,
        kBeforeCancel,
        kAfterCancel,
        kBeforeDelete,
        kAfterDelete,
        kSlotCount
    };
    TDataSetNotifyEvent& Event(Slot slot);
    void UpdateActive();
    void Hook();
    void Unhook();

    QPointer<FolderTableCursor> dataSet_;
    bool active_ = false;
    std::array<TDataSetNotifyEvent, kSlotCount> kept_;
    std::function<QString(FolderTableCursor&)> keptKeyTaken_;
    std::unique_ptr<QObject> context_; // owns the signal connections to the cursor
    std::unique_ptr<TableChangeWatcher> watcher_;
};

} // namespace orvek

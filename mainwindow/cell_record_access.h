#pragma once
// The shown record as the cell tool needs it: its lock and its change history. The
// program works on the data module; tests answer from a script.

#include <QString>

namespace orvek {

class TCellRecordAccess {
public:
    virtual ~TCellRecordAccess() = default;
    // True when this user may lock the record; otherwise DiagramLockOwnerID names the
    // holder.
    virtual bool CanLockItem() = 0;
    // Takes the lock. False when another user holds it (DiagramLockOwnerID names them),
    // when another workstation saved the record since it was loaded (ChangedSinceLoaded
    // set), or when the database refused.
    virtual bool LockItem(bool* changedSinceLoaded) = 0;
    virtual QString GetUserFullName(int userID) = 0;
    // Writes the history row of HistoryOriginalValues and HistoryNewValues and empties
    // both.
    virtual bool WriteHistory() = 0;
};

// The record of DataModule1. Without a data module every lock is granted and history
// texts are dropped.
class DataModuleCellRecord : public TCellRecordAccess {
public:
    bool CanLockItem() override;
    bool LockItem(bool* changedSinceLoaded) override;
    QString GetUserFullName(int userID) override;
    bool WriteHistory() override;
};

} // namespace orvek

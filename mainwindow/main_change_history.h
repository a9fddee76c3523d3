#pragma once
// The record access the main window gives its cell tool. It passes every call on and
// notes when the tool wrote a change-history row, so that the timer, which stores the
// change afterwards, does not write a second row for the same change. Changes made
// without the cell tool (the summary of quantities, a paste, an import) leave no note
// and get the timer's row. The same tool serves the template window; its rows are
// template rows and leave no note.

#include "database/data_module.h"
#include "mainwindow/cell_record_access.h"

namespace orvek {

class TMainChangeHistory : public TCellRecordAccess {
public:
    explicit TMainChangeHistory(TCellRecordAccess& inner)
        : inner_(inner)
    {
    }

    bool CanLockItem() override { return inner_.CanLockItem(); }
    bool LockItem(bool* changedSinceLoaded) override { return inner_.LockItem(changedSinceLoaded); }
    QString GetUserFullName(int userID) override { return inner_.GetUserFullName(userID); }
    bool WriteHistory() override
    {
        // The template window's tool writes into templates: no note for the record.
        if (!CurrentDiagramKind)
            written_ = true;
        return inner_.WriteHistory();
    }

    // True when the cell tool wrote a row since the last call; the note is cleared.
    bool TakeWrittenByCellTool()
    {
        const bool written = written_;
        written_ = false;
        return written;
    }

private:
    TCellRecordAccess& inner_;
    bool written_ = false;
};

} // namespace orvek

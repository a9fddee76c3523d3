#pragma once
// Record locks of the shown diagram as the cell boxes ask for them, and the atomic lock
// statement both workstations run.

#include "core/services.h"

class QSqlDatabase;

namespace orvek {

// What a conditional lock of one row found.
enum class LockOutcome {
    Taken, // the row was free or already the user's, and is the user's now
    Missing, // no row with that ID
    HeldByOther, // another user holds it; OwnerID names them
    ChangedSinceLoaded, // another workstation saved the row since it was loaded
    Failed, // a database error; Error says why
};

// Sets OpenedByUserID of row ID in Table to UserID in one statement, only where the row
// is free or already the user's and, when ExpectedCounter >= 0, its ChangeCounter still
// equals it. The statement's row count decides; on a refusal the row is read again to
// tell why.
LockOutcome TryLockRow(QSqlDatabase& db, const QString& table, qint64 id, int userId, qint64 expectedCounter,
    int* ownerId = nullptr, QString* error = nullptr);

// The lock service of the cell boxes, on DataModule1.
class DataModuleRecordLocks : public RecordLockService {
public:
    bool CanLockItem() override;
    QString GetUserFullName(int userID) override;
};

} // namespace orvek

#pragma once
// Reading and storing the diagram text of a record (TreeDB) or a template
// (TemplateDB) so that two workstations never overwrite each other: a store is one
// conditional update that writes only a row that is free or locked by the storing
// user and has not changed since this workstation loaded or last stored it.

#include <QString>
#include <QtGlobal>
#include <functional>

class QSqlDatabase;

namespace orvek {

enum class TStoreOutcome {
    Stored,
    Missing, // no row with that ID
    HeldByOther, // another user holds the row's lock; OwnerID names them
    ChangedSinceLoaded, // another workstation stored the row since it was loaded
    Failed, // a database error; Error says why
};

struct TStoreResult {
    TStoreOutcome Outcome = TStoreOutcome::Failed;
    // After a store: the row's ChangeCounter, which the next store expects.
    qint64 ChangeCounter = -1;
    int OwnerID = 0;
    QString Error;
};

// Writes Text into Strom of row ID of Table and frees the row's lock, in one statement
// that changes the row only when it is free or locked by UserID and, with
// ExpectedCounter >= 0, its ChangeCounter still equals ExpectedCounter. Nothing else
// is written, and another user's lock is never touched. On a refusal the row is read
// again in the same transaction to tell why.
// AlsoStored, when given, runs in the same transaction after the row was written (the
// record's history row): when it fails, nothing is written and the store fails.
TStoreResult StoreDiagramText(QSqlDatabase& db, const QString& table, qint64 id, const QString& text, int userId,
    qint64 expectedCounter, const std::function<bool(QSqlDatabase& db, QString* error)>& alsoStored = {});

// Strom and ChangeCounter of row ID of Table, read together. False with Error when the
// row is missing or cannot be read.
bool ReadDiagramText(
    QSqlDatabase& db, const QString& table, qint64 id, QString& text, qint64& changeCounter, QString* error = nullptr);

// True when a record was made from template TemplateID (a TreeDB row names it in
// FromTemplateID).
bool IsTemplateUsedByRecords(QSqlDatabase& db, qint64 templateId);

} // namespace orvek

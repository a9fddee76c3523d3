#pragma once
// The row change counters of the two diagram tables. A row's ChangeCounter tells a
// workstation whether the diagram changed since it was loaded, so only the diagram
// itself counts: the lock, the folder columns of every group and the head fields that
// another user may move or rename without touching the model are left out.

#include <QStringList>

class QSqlDatabase;

namespace orvek {

// True for a folder column of a group of folders: "IDDB" followed by at least one
// character, in any case.
bool IsFolderColumn(const QString& column);

// The columns of Table (TreeDB or TemplateDB) whose changes do not raise ChangeCounter:
// OpenedByUserID and every folder column of the table as it is now, and for TreeDB
// SampleID, Datum and NazovMerania, for TemplateDB CreateDate and TemplateName.
QStringList DiagramRowCounterIgnoredColumns(QSqlDatabase& db, const QString& table);

// Builds the row change counters of TreeDB and TemplateDB from their current columns
// with those lists, inside the caller's write transaction. Run it after a column was
// added to either table.
bool InstallDiagramRowCountersInTransaction(QSqlDatabase& db, QString* error = nullptr);

// The index through which the template list tells whether records were made from a
// template, created when the database lacks it, inside the caller's transaction.
bool EnsureFromTemplateIndexInTransaction(QSqlDatabase& db, QString* error = nullptr);

} // namespace orvek

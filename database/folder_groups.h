#pragma once
// Groups of folders, one routine for both database windows. A group is a row of
// MeasureNameList with two folder tables of its own (MeasureID<n> for records,
// TemplateID<n> for templates, each with the fixed folders "0" and "1") and a folder
// column IDDB<n> in TreeDB and TemplateDB. Every change is one write transaction: it
// happens whole or not at all, and the cached GroupList and GroupCount are read again
// afterwards.

#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace orvek {

QString RecordFolderTable(int groupId); // "MeasureID<n>"
QString TemplateFolderTable(int groupId); // "TemplateID<n>"
QString GroupFolderColumn(int groupId); // "IDDB<n>"

// Longest group name MeasureNameList.Description holds.
inline constexpr int kGroupNameSize = 100;

// Adds a group named Name (trimmed): its MeasureNameList row (NewID is the ID the
// insert gave), its two folder tables with "0" (text 832) and "1" (text 878), the
// column IDDB<NewID> in TreeDB and TemplateDB as VARCHAR(5) NOT NULL DEFAULT '0' (no
// row is updated, so no row's change counter moves), the row change counters of both
// tables rebuilt and the change counters of the new tables. False with Reason (a text
// for the user) when the name is empty or too long or the database refused.
bool CreateFolderGroup(QSqlDatabase& db, const QString& name, int& newId, QString* reason = nullptr);

// Removes group GroupID with its folder tables and its folder columns. Refused (False,
// Reason, nothing changed) for the last group (text 826), for group 1, whose column
// IDDB1 holds the folder of every item, and for a group that still has users, records
// or templates (deleted ones count).
bool DeleteFolderGroup(QSqlDatabase& db, int groupId, QString* reason = nullptr);

// Gives group GroupID the name Name (trimmed); refused like a new name.
bool RenameFolderGroup(QSqlDatabase& db, int groupId, const QString& name, QString* reason = nullptr);

// Gives every group that lacks it its template folder table (with "0" and "1" and its
// change counter), each group in a post of its own: a group whose table cannot be made
// is passed over. Returns the number of folder columns of TemplateDB; with none the
// template window says so (text 836).
int PrepareTemplateFolderTables(QSqlDatabase& db);

// Reads GroupList and GroupCount from MeasureNameList, in ID order. False with Error
// (the lists unchanged) when the table cannot be read.
bool ReadGroupList(QSqlDatabase& db, QString* error = nullptr);

// Position of group GroupID in GroupList; -1 when unknown.
int GroupIndexOf(int groupId);

// The IDs of folder FolderID and of every folder below it in FolderTable, the folder
// first and then its sub-folders depth first (children in ID order). A cycle in the
// owner links ends the descent instead of looping.
QStringList CollectSubfolderIds(QSqlDatabase& db, const QString& folderTable, const QString& folderId);

} // namespace orvek

#pragma once
// The statement of the template window's list: the templates of one folder or of the
// whole group, optionally narrowed by a search, with the flag that tells whether
// records were made from each template. Every value is bound.

#include "database/search_pattern.h"

#include <QString>
#include <QVariantList>

class QSqlDatabase;

namespace orvek {

// TemplateViewMode: the templates of the selected folder, or all of the group.
inline constexpr int kTemplatesOfFolder = 0;
inline constexpr int kTemplatesOfGroup = 1;
// The fixed folders of every folder table.
inline constexpr const char* kUnassignedFolder = "0";
inline constexpr const char* kDeletedFolder = "1";

// The answer's columns, in this order: ID, CreatedBy, TemplateName, CreateDate,
// MainEquation (the field numbers 1 to 5 of the grid's descriptors) and InUse (6).
inline constexpr int kInUseField = 6;

struct TTemplateListRequest {
    int ViewMode = kTemplatesOfFolder;
    int GroupID = 0;
    QString FolderID; // empty means "0"
    QString FolderColumn = QStringLiteral("IDDB1");
    bool SearchActive = false;
    QString SearchField; // one of the grid's field names
    TSearchKind SearchKind = TSearchKind::Substring;
    QString SearchText;
};

struct TTemplateStatement {
    QString Sql;
    QVariantList Values;
};

// "SELECT ID, CreatedBy, TemplateName, CreateDate, MainEquation, InUse FROM TemplateDB
// WHERE GroupID = ? [AND <FolderColumn> = ?] [AND <search>]": the folder clause in
// folder mode only, the search in both modes. InUse is an EXISTS on
// TreeDB.FromTemplateID. False (Statement empty) when the folder column is not one or
// the search field is not a column of the grid.
bool BuildTemplateStatement(const TTemplateListRequest& request, TTemplateStatement& statement);

// The folder of template TemplateID in FolderColumn (SelectFolderOfTemplate); empty
// when the template or the column does not exist.
QString TemplateFolderOf(QSqlDatabase& db, int templateId, const QString& folderColumn = QStringLiteral("IDDB1"));

} // namespace orvek

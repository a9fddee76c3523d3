#include "database/template_query.h"

#include "database/diagram_row_counters.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

namespace orvek {

bool BuildTemplateStatement(const TTemplateListRequest& request, TTemplateStatement& statement)
{
    statement = {};
    static const QStringList searchable { QStringLiteral("ID"), QStringLiteral("CreatedBy"),
        QStringLiteral("TemplateName"), QStringLiteral("CreateDate"), QStringLiteral("MainEquation") };
    if (request.SearchActive && !searchable.contains(request.SearchField))
        return false;
    if (request.ViewMode == kTemplatesOfFolder && !IsFolderColumn(request.FolderColumn))
        return false;
    QString sql = QStringLiteral("SELECT ID, CreatedBy, TemplateName, CreateDate, MainEquation, EXISTS (SELECT 1 "
                                 "FROM TreeDB WHERE TreeDB.FromTemplateID = TemplateDB.ID) AS InUse FROM TemplateDB "
                                 "WHERE GroupID = ?");
    QVariantList values { request.GroupID };
    if (request.ViewMode == kTemplatesOfFolder) {
        sql += QStringLiteral(" AND ") + QuoteName(request.FolderColumn) + QStringLiteral(" = ?");
        values << (request.FolderID.isEmpty() ? QString::fromLatin1(kUnassignedFolder) : request.FolderID);
    }
    if (request.SearchActive) {
        const TSqlCondition search = SearchCondition(request.SearchField, request.SearchKind, request.SearchText);
        sql += QStringLiteral(" AND ") + search.Sql;
        values << search.Values;
    }
    statement = { sql, values };
    return true;
}

QString TemplateFolderOf(QSqlDatabase& db, int templateId, const QString& folderColumn)
{
    if (!IsFolderColumn(folderColumn))
        return QString();
    QSqlQuery query(db);
    if (ExecBound(query,
            QStringLiteral("SELECT ") + QuoteName(folderColumn) + QStringLiteral(" FROM TemplateDB WHERE ID = ?"),
            { templateId })
        && query.next())
        return query.value(0).toString();
    return QString();
}

} // namespace orvek

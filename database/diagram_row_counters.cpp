#include "database/diagram_row_counters.h"

#include "platform/sql_database.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace orvek {

bool IsFolderColumn(const QString& column)
{
    return column.size() > 4 && column.startsWith(QLatin1String("IDDB"), Qt::CaseInsensitive);
}

QStringList DiagramRowCounterIgnoredColumns(QSqlDatabase& db, const QString& table)
{
    QStringList ignored { QStringLiteral("OpenedByUserID") };
    if (table.compare(QLatin1String("TreeDB"), Qt::CaseInsensitive) == 0)
        ignored << QStringLiteral("SampleID") << QStringLiteral("Datum") << QStringLiteral("NazovMerania");
    else if (table.compare(QLatin1String("TemplateDB"), Qt::CaseInsensitive) == 0)
        ignored << QStringLiteral("CreateDate") << QStringLiteral("TemplateName");
    for (const QString& column : ColumnNames(db, table))
        if (IsFolderColumn(column))
            ignored << column;
    return ignored;
}

bool InstallDiagramRowCountersInTransaction(QSqlDatabase& db, QString* error)
{
    for (const char* name : { "TreeDB", "TemplateDB" }) {
        const QString table = QString::fromLatin1(name);
        if (!InstallRowChangeCounterInTransaction(db, table, DiagramRowCounterIgnoredColumns(db, table), error))
            return false;
    }
    return true;
}

bool EnsureFromTemplateIndexInTransaction(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    return ExecBound(query,
        QStringLiteral("CREATE INDEX IF NOT EXISTS TreeDB_FromTemplateID ON TreeDB (FromTemplateID)"), {}, error);
}

} // namespace orvek

#include "database/template_list.h"

#include "core/common_vars.h"
#include "core/file_utils.h"
#include "database/data_module.h"
#include "platform/sql_database.h"

#include <QSqlDatabase>

namespace orvek {

TTemplateList::TTemplateList(DatabaseSession* session)
    : query_(session)
{
    query_.DatabaseName = AliasDB;
    query_.AnswerDirectory = TempDir;
    QString name;
    QSqlDatabase temp = TemporaryDatabase();
    do
        name = UniqueFileName(TempDir, QStringLiteral("Answer"), QStringLiteral("db"));
    while (temp.isOpen() && TableExists(temp, name));
    query_.AnswerTableName = name;
}

TTemplateList::~TTemplateList()
{
    Close();
}

bool TTemplateList::Open(const TTemplateStatement& statement, QString* error)
{
    Close();
    query_.SQL = statement.Sql;
    query_.Params = statement.Values;
    return query_.Open(error);
}

void TTemplateList::Close()
{
    query_.Close();
    rowCount_ = -1;
}

bool TTemplateList::Sort(const TSortKeys& keys, QString* error)
{
    int sorted = 0;
    rowCount_ = -1;
    if (keys.FieldNumbers.isEmpty())
        return Active();
    const bool ok = query_.SortAnswerTable(
        int(keys.FieldNumbers.size()), keys.FieldNumbers, keys.SortOrders, keys.CaseInsensitive, sorted, error);
    if (ok)
        rowCount_ = sorted;
    return ok;
}

int TTemplateList::RowCount()
{
    if (!Active())
        return 0;
    if (rowCount_ < 0) {
        QSqlQuery& cursor = query_.Cursor();
        rowCount_ = cursor.last() ? cursor.at() + 1 : 0;
    }
    return rowCount_;
}

QVariant TTemplateList::Field(int row, int field)
{
    QSqlQuery& cursor = query_.Cursor();
    if (!Active() || row < 0 || !cursor.seek(row))
        return QVariant();
    return cursor.value(field - 1);
}

int TTemplateList::LocateTemplate(int& templateId)
{
    const int count = RowCount();
    if (templateId == 0) {
        if (count == 0)
            return -1;
        templateId = RowID(0);
        return 0;
    }
    for (int row = 0; row < count; ++row)
        if (RowID(row) == templateId)
            return row;
    return -1;
}

} // namespace orvek

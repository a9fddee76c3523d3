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
    query_.UsePrivateAnswerFolder(QStringLiteral("TemplateList"));
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
}

bool TTemplateList::Sort(const TSortKeys& keys, QString* error)
{
    int sorted = 0;
    if (keys.FieldNumbers.isEmpty())
        return Active();
    return query_.SortAnswerTable(
        int(keys.FieldNumbers.size()), keys.FieldNumbers, keys.SortOrders, keys.CaseInsensitive, sorted, error);
}

int TTemplateList::RowCount()
{
    return query_.RowCount();
}

QVariant TTemplateList::Field(int row, int field)
{
    return query_.Field(row, field);
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

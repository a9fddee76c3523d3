#include "database/record_query.h"

#include "core/string_table.h"
#include "database/diagram_row_counters.h"
#include "platform/sql_database.h"

namespace orvek {

TRecordGridDescriptors MakeRecordGridDescriptors()
{
    TRecordGridDescriptors d;
    const struct {
        const char* field;
        int title;
        bool caseInsensitive;
        int width;
    } entries[] = { { "ID", 0, false, 0 }, { "PracovnikID", 0, false, 0 }, { "SampleID", 646, false, 0 },
        { "MenoPracovnika", 412, true, 70 }, { "Datum", 332, true, 58 }, { "NazovMerania", 333, true, 98 },
        { "NazovVzoru", 334, true, 68 } };
    for (int i = 1; i <= 7; ++i) {
        const auto& entry = entries[i - 1];
        d[size_t(i)].FieldName = QString::fromLatin1(entry.field);
        d[size_t(i)].CaseInsensitive = entry.caseInsensitive;
        d[size_t(i)].Width = entry.width;
        if (entry.title > 0)
            d[size_t(i)].Title = GetString(entry.title);
    }
    return d;
}

int RecordAnswerFieldNumber(const QString& field)
{
    int number = 0;
    for (const char* name : kRecordListFields) {
        ++number;
        if (field == QLatin1String(name))
            return number;
    }
    return 0;
}

QVector<int> RecordSortFieldsFromColumnFields(const TRecordGridDescriptors& descriptors, const QStringList& fieldNames)
{
    QVector<int> fields;
    for (const QString& name : fieldNames)
        for (int d = kFirstRecordColumn; d <= kLastRecordColumn; ++d)
            if (descriptors[size_t(d)].FieldName == name) {
                fields << d;
                break;
            }
    return fields;
}

TSortKeys RecordSortKeys(const TRecordGridDescriptors& descriptors, const QVector<int>& sortFields)
{
    TSortKeys keys;
    for (const int d : sortFields) {
        if (d < kFirstRecordColumn || d > kLastRecordColumn || keys.FieldNumbers.size() == RecordGridSortCount)
            continue;
        const TDefaultFieldRec& descriptor = descriptors[size_t(d)];
        const int field = RecordAnswerFieldNumber(descriptor.FieldName);
        if (field == 0)
            continue;
        keys.FieldNumbers << field;
        keys.SortOrders << descriptor.SortOrder;
        keys.CaseInsensitive << descriptor.CaseInsensitive;
    }
    return keys;
}

bool RecordSearchAllowed(const QString& firstColumnField)
{
    return firstColumnField == QLatin1String("NazovMerania") || firstColumnField == QLatin1String("NazovVzoru");
}

bool BuildRecordStatement(const TRecordViewRequest& request, TRecordStatement& statement, int* shownOwnerID)
{
    statement = {};
    if (request.UserRights < 1 || request.UserRights > 3)
        return false;
    if (request.ViewMode == kRecordsOfFolder && !IsFolderColumn(request.FolderColumn))
        return false;
    if (request.SearchActive) {
        const TRecordGridDescriptors descriptors = MakeRecordGridDescriptors();
        bool known = false;
        for (int d = kFirstRecordColumn; d <= kLastRecordColumn; ++d)
            known = known || descriptors[size_t(d)].FieldName == request.SearchField;
        if (!known)
            return false;
    }
    QStringList fields;
    for (const char* name : kRecordListFields)
        fields << QString::fromLatin1(name);
    QString sql = QStringLiteral("SELECT ") + fields.join(QStringLiteral(", ")) + QStringLiteral(" FROM TreeDB WHERE ");
    QVariantList values;
    // Administrators and users see every record of their group; only the main
    // administrator narrows the list to one owner.
    const int owner = request.UserRights == 1 ? request.ShownOwnerID : request.CurrentUserID;
    if (request.UserRights == 1 && owner != 0) {
        sql += QStringLiteral("PracovnikID = ? AND ");
        values << owner;
    }
    sql += QStringLiteral("GroupID = ?");
    values << request.GroupID;
    if (request.ViewMode == kRecordsOfFolder) {
        sql += QStringLiteral(" AND ") + QuoteName(request.FolderColumn) + QStringLiteral(" = ?");
        values << (request.FolderID.isEmpty() ? QString::fromLatin1(kUnassignedFolder) : request.FolderID);
    }
    if (request.SearchActive) {
        const TSqlCondition search = SearchCondition(request.SearchField, request.SearchKind, request.SearchText);
        sql += QStringLiteral(" AND ") + search.Sql;
        values << search.Values;
    }
    statement = { sql, values };
    if (shownOwnerID)
        *shownOwnerID = owner;
    return true;
}

} // namespace orvek

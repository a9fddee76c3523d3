#include "database/template_layout.h"

#include <QSet>
#include <cmath>

namespace orvek {

TTemplateGridDescriptors MakeTemplateGridDescriptors()
{
    TTemplateGridDescriptors d;
    const struct {
        const char* field;
        bool caseInsensitive;
        int width;
    } entries[] = { { "ID", false, 0 }, { "CreatedBy", true, 89 }, { "TemplateName", true, 93 },
        { "CreateDate", true, 58 }, { "MainEquation", true, 150 } };
    for (int i = 1; i <= 5; ++i) {
        d[i].FieldName = QString::fromLatin1(entries[i - 1].field);
        d[i].CaseInsensitive = entries[i - 1].caseInsensitive;
        d[i].Width = entries[i - 1].width;
    }
    d[1].Title = QStringLiteral("ID");
    return d;
}

TTemplateGridColumns TemplateColumnsFromLayout(const TTableInfo& info)
{
    TTemplateGridColumns columns;
    QSet<int> seen;
    for (int j = 0; j < TemplateGridSortCount; ++j) {
        const int field = info.order[size_t(j)];
        if (field < 2 || field > 5 || seen.contains(field))
            return TTemplateGridColumns();
        seen.insert(field);
        columns.Fields[size_t(j)] = field;
        columns.Widths[size_t(j)] = info.width[size_t(j)];
    }
    return columns;
}

void StoreTemplateColumns(const TTemplateGridColumns& columns, TTableInfo& info)
{
    info.tag = TTableInfo::kTag;
    for (int j = 0; j < TemplateGridSortCount; ++j) {
        info.order[size_t(j)] = columns.Fields[size_t(j)];
        info.width[size_t(j)] = columns.Widths[size_t(j)];
    }
}

QVector<int> SortFieldsFromColumnFields(const QStringList& fieldNames)
{
    const TTemplateGridDescriptors descriptors = MakeTemplateGridDescriptors();
    QVector<int> fields;
    for (const QString& name : fieldNames)
        for (int d = 2; d <= 5; ++d)
            if (descriptors[size_t(d)].FieldName == name) {
                fields << d;
                break;
            }
    return fields;
}

TSortKeys TemplateSortKeys(const TTemplateGridDescriptors& descriptors, const QVector<int>& sortFields)
{
    TSortKeys keys;
    for (const int field : sortFields) {
        if (field < 1 || field > 5)
            continue;
        keys.FieldNumbers << field;
        keys.SortOrders << descriptors[size_t(field)].SortOrder;
        keys.CaseInsensitive << descriptors[size_t(field)].CaseInsensitive;
    }
    return keys;
}

bool TemplateSearchAllowed(const QString& firstColumnField)
{
    return firstColumnField == QLatin1String("TemplateName");
}

int TemplateColumnTitleText(const QString& fieldName)
{
    if (fieldName == QLatin1String("CreatedBy"))
        return 381;
    if (fieldName == QLatin1String("TemplateName"))
        return 383;
    if (fieldName == QLatin1String("CreateDate"))
        return 332;
    if (fieldName == QLatin1String("MainEquation"))
        return 382;
    return 0;
}

int RestoredPanelWidth(int saved, int minimum, int current, int neighbour)
{
    if (saved >= minimum && saved <= current + neighbour)
        return saved;
    return int(std::trunc(minimum * 1.2));
}

int RestoredPanelHeight(int saved, int minimum, int current, int pageControl)
{
    return saved >= minimum && saved <= current + pageControl ? saved : minimum;
}

} // namespace orvek

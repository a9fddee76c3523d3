#pragma once
// The layout of the template window that outlives it: the grid's columns (descriptors,
// order and widths, stored in OrvekDBTableInfo), the sort keys they give the list, the
// column titles, and the sizes of its three panels (WindowSizeOrvekDB).

#include "core/settings.h"
#include "database/default_field_rec.h"

#include <QStringList>
#include <QVector>
#include <array>

namespace orvek {

// Descriptors 1 to 6 of the template grid (index 0 unused): 1 ID, 2 CreatedBy,
// 3 TemplateName, 4 CreateDate, 5 MainEquation; 6 stays empty. The descriptor number
// is also the field's number in the list's answer.
using TTemplateGridDescriptors = std::array<TDefaultFieldRec, 7>;
TTemplateGridDescriptors MakeTemplateGridDescriptors();

// The grid shows this many columns; they are also the list's sort keys.
inline constexpr int TemplateGridSortCount = 4;

// The shown columns in display order: descriptor numbers (TemplateGridSortFields
// positions 1 to 4) and widths.
struct TTemplateGridColumns {
    std::array<int, TemplateGridSortCount> Fields { 3, 4, 5, 2 };
    std::array<int, TemplateGridSortCount> Widths { 90, 56, 106, 81 };
};

// The columns of a stored layout: position j shows the descriptor at position j of the
// saved order with the saved width j. A layout that does not name four different
// descriptors 2 to 5 gives the default columns.
TTemplateGridColumns TemplateColumnsFromLayout(const TTableInfo& info);
// Writes the current tag, the four positions and widths into Info; the fifth entries
// stay as they were.
void StoreTemplateColumns(const TTemplateGridColumns& columns, TTableInfo& info);

// TemplateGridSortFields rebuilt from the grid: for each column's field name in display
// order, the number of descriptor 2 to 5 showing that field (names of no descriptor
// are passed over).
QVector<int> SortFieldsFromColumnFields(const QStringList& fieldNames);

// The answer-table sort of the list by the shown columns (PrepareSort): field numbers,
// orders and case flags of the descriptors in display order.
struct TSortKeys {
    QVector<int> FieldNumbers;
    QVector<int> SortOrders;
    QVector<bool> CaseInsensitive;
};
TSortKeys TemplateSortKeys(const TTemplateGridDescriptors& descriptors, const QVector<int>& sortFields);

// The search works on the first column, so it is offered only while that column shows
// the template name.
bool TemplateSearchAllowed(const QString& firstColumnField);

// The text number of a column title by its field (381 CreatedBy, 383 TemplateName,
// 332 CreateDate, 382 MainEquation); 0 for any other field, whose title stays.
int TemplateColumnTitleText(const QString& fieldName);

// A saved panel width is taken when it is at least Minimum and at most Current plus
// the neighbour's width; otherwise the panel gets Trunc(Minimum x 1.2).
int RestoredPanelWidth(int saved, int minimum, int current, int neighbour);
// A saved height is taken when it is at least Minimum and at most Current plus the
// page control's height; otherwise the panel gets its minimum height.
int RestoredPanelHeight(int saved, int minimum, int current, int pageControl);

} // namespace orvek

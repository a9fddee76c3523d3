#pragma once
// The point tables of the chart windows (individual values, subgroups): checking and
// compacting a table before it is read, checking the rows of the evaluated range, and
// the intermediate-results tables. The tables are seen through TChartCellTable, so the
// rules run on a window's spreadsheet control or a plain test table alike; reading a
// table into the record and the chart state is chart_point_table's one reader.
//
// Layout as in chart_point_table.h: column 1 date, column 2 operator, from column 3 the
// values; row 1 is the first point (or subgroup).

#include "sources/chart_point_table.h"

#include <QString>
#include <QStringList>

namespace orvek {

struct TChartData;

// A table the rules may write: compaction moves rows up.
class TChartCellTable : public TChartCellSource {
public:
    virtual void SetCellText(int row, int col, const QString& text) = 0;
};

// What a check found. Message 0: the table passed. Otherwise the message number of the
// string table (179 a value that is no number, 950 a single value in the whole table,
// 987 a subgroup row with one value, 988 a subgroup row without values), the cell the
// window selects, and the message's arguments in order.
struct TChartGridFault {
    int Message = 0;
    int Row = 0;
    int Col = 0;
    QStringList Arguments;
    explicit operator bool() const { return Message != 0; }
};

// The last row (from 1) with a non-empty trimmed cell in the value columns 3..MaxCol;
// 0 for a table without values. Every row counts, however far below the other values.
int LastUsedValueRow(const TChartCellSource& Table);

// Checks and compacts a table before it is read, rows 1..the last used row. First the
// check, which changes nothing: every non-empty trimmed value cell must be a number
// (TryStrToExtendedNeutral); the first that is not gives 179 (its text as typed the
// argument, its cell the one to select). A table with exactly one number in all its
// value columns gives 950 with the arguments " " and MethodText and that number's cell.
// A table that passes is compacted in one pass: a row without values is removed and
// each row below moves up once, to the next free row, written whole (cells trimmed,
// empty ones included), so that a removed row's date and operator never stay under
// the next row's values; the rows freed at the bottom are emptied.
TChartGridFault CheckAndCompactChartTable(TChartCellTable& Table, const QString& MethodText);

// The rows First..Last of the evaluated range before a computation: every non-empty
// value cell must be a number (TryStrToFloatNeutral; else 179 at the cell). A subgroup
// table also needs at least two values in each of these rows: none gives 988 at
// (row, 3), one gives 987 at (row, 4), the row number the argument. Rows past MaxRow are
// not checked.
TChartGridFault CheckEvaluatedRows(const TChartCellSource& Table, int First, int Last, bool Subgroups);

// The intermediate-results page of the individuals window as report mark-up: the points
// First..Last (from 1, cut to the points loaded) with their number, the date text as
// typed (unless DatesHidden), the value and the moving range, rounded to
// ChartValueDecimals, then the formula of the moving range. Uses the shared ReportTable (allocated for the call when
// missing).
QString BuildIndividualsIntermediateMarkup(
    const TChartData& Data, const TChartCellSource& Table, int First, int Last, bool DatesHidden);

// The same for the subgroup window: sets ChartRangeFirst..ChartRangeLast to First..Last
// (cut to the subgroups loaded); one row a subgroup with its values, mean, range and
// relative range (as many value columns as the largest subgroup of the range), every
// number as fixed 10-decimal text rounded to ChartValueDecimals.
QString BuildSubgroupIntermediateMarkup(
    TChartData& Data, const TChartCellSource& Table, int First, int Last, bool DatesHidden);

} // namespace orvek

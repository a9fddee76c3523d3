#pragma once
// Reading the point tables of the control-chart pages into a source record and the
// chart state. A table is seen through TChartCellSource, so that the readers run on
// the dialog's spreadsheet control, a chart window's or a plain test table alike.
//
// Layout: column 1 the date of the point, column 2 the operator, from column 3 the
// values (one in an individuals table, up to 20 in a subgroup table); row 1 is the
// first point.

#include <QString>

namespace orvek {

struct TChartData;
struct TVstupStandardnejNeistoty;

class TChartCellSource {
public:
    virtual ~TChartCellSource() = default;
    virtual int MaxRow() const = 0;
    virtual int MaxCol() const = 0;
    // A cell's text as typed, and as shown under its number format.
    virtual QString CellText(int row, int col) const = 0;
    virtual QString ShownText(int row, int col) const = 0;
};

// Date and operator cells go into "@"-separated lists that the model file keeps on one
// line: an "@" would shift every later point's item, a line break would end the field.
bool FitsPointList(const QString& text);

// The display mask of a typed value: DecimalMaskOfNumber for a fixed-point text, "0"
// for a text in exponent form, whose digits a decimal mask would cut ("1,2E-5" would
// show and be stored as "0,0000").
QString PointValueMask(const QString& Text);

// Reads an individuals table into PM_7, VM_7, DM_7, Meral_7 and the chart state, after
// emptying them and the computed results of method 11. A row is a point when its value
// cell holds a number; other rows are skipped. Dates are read in DateFormat; a date
// cell that is no date leaves its point undated. Returns the number of points.
int ReadIndividualsTable(
    const TChartCellSource& Table, const QString& DateFormat, TVstupStandardnejNeistoty& Rec, TChartData& Data);
// The same for a subgroup table and method 12: every number of a row's value columns
// joins the row's subgroup (PBM_8 gets its size). Returns the number of subgroups.
int ReadSubgroupTable(
    const TChartCellSource& Table, const QString& DateFormat, TVstupStandardnejNeistoty& Rec, TChartData& Data);

// The longest PointValueMask of the value cells (rows 1..MaxRow, columns 3..MaxCol).
QString LongestValueMask(const TChartCellSource& Table);

} // namespace orvek

#pragma once
// The two checks the source dialog runs on its active page before it computes u: the
// required inputs are there, and they are of a kind and range the method takes. They
// work on a snapshot of the page (its texts and grid cells), so that every page and
// input is checked without a window: the dialog fills the snapshot, shows the messages
// in order, puts the focus where the last one says and writes back the cells a check
// changed.

#include <QString>
#include <QStringList>
#include <QVector>

namespace orvek {

// Where a message puts the focus.
enum class TCheckFocus {
    None,
    MainInput, // the estimate, half-width, given u, expanded uncertainty or given s
    DegreesOfFreedom,
    ShapeFactor,
    HalfWidth, // the trapezoid's half-width
    Sigma, // the known population standard deviation
    Grid, // the reading grid, at Row and Col
    PointGrid, // the point grid of a chart page, on its sheet, at Row and Col
};

struct TCheckMessage {
    int Text = 0;
    QStringList Args;
    TCheckFocus Focus = TCheckFocus::None;
    int Row = 0, Col = 0; // grid cell, rows and columns counted from 1
};

// One page as the checks see it. Edits hold their texts as typed; the checks trim them.
struct TSourcePageSnapshot {
    int Method = 0;
    QString MainInput;
    QString DegreesOfFreedom; // the page's typed degrees of freedom
    int DofOption = 1; // pages 2_3 and 2_4: 0 the degrees of freedom are given
    QString ShapeFactor, HalfWidth; // trapezoid
    QString Sigma; // known population standard deviation
    // Captions the messages name.
    QString MainLabel, DofLabel, ShapeLabel, HalfWidthLabel, SigmaLabel;
    QString ShapeRangeLabel; // the shape factor's caption in the range message
    QString ColumnHeader; // heading of the readings column
    QString Column2Header; // heading of the uncertainties of pairs
    QString MethodText; // the chosen entry of the method list
    // Reading grids: rows 1 to 500 of column 1 (and of column 2 for pairs), item 0 row 1.
    QStringList Column1, Column2;
    // Chart pages: the number of points (or subgroups) read from the point grid, and the
    // grid's cells by row (item 0 row 1), each row from its date column on (column 1 the
    // date, 2 the operator, from 3 the values).
    int ChartPoints = 0;
    QVector<QStringList> PointRows;
};

struct TCheckResult {
    bool Passed = true;
    QVector<TCheckMessage> Messages;
};

// A reading counts when its trimmed text reads as a number.
bool IsValidReading(const QString& text);
// The number of valid readings in Cells.
int CountValidReadings(const QStringList& cells);

// The required inputs of the snapshot's page. The edits of the page are trimmed in the
// snapshot as the dialog trims them.
TCheckResult CheckRequiredInputs(TSourcePageSnapshot& page);

// The inputs' kinds and ranges. A point grid is checked and compacted as the chart
// windows do it (CheckAndCompactChartTable): rows without a value are removed whole in
// the snapshot, for the dialog to write back. A value of a pair needs its uncertainty
// (an empty one is refused, never taken as 0) and a weighted mean two pairs. InputKind
// receives the main input's kind on the pages that classify one.
TCheckResult CheckInputValues(TSourcePageSnapshot& page, quint8& InputKind);

// A typed number of degrees of freedom: empty and infinity (IsInfinityText) pass, a
// text that is no number is refused with 179, a number below 1 with 319.
bool CheckTypedDegreesOfFreedom(const QString& text, TCheckMessage& refusal);

} // namespace orvek

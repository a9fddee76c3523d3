#include "mainwindow/cell_tool_rules.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "richtext/cell_description.h"
#include "richtext/report_texts.h"

namespace orvek {

TCell* QuantityOwning(TCell* cell)
{
    while (cell && cell->FCellType == kUncertaintyCell)
        cell = cell->FParent;
    return cell;
}

bool IsSeriesMethod(int method)
{
    return method == 6 || method == 7 || method == 13 || method == 14;
}

namespace {

// The mean of a series record and the uncertainty the dialog shows it with.
bool SeriesMeanAndUncertainty(const TVstupStandardnejNeistoty& rec, QString& mean, QString& u)
{
    switch (rec.TSN) {
    case 6:
        mean = rec.AP_3;
        u = rec.SOPr_3;
        return true;
    case 7:
        mean = rec.AP_4;
        u = rec.SOPr_4;
        return true;
    case 13:
        mean = rec.AP_9;
        u = rec.SO_9;
        return true;
    case 14:
        mean = rec.AP_10;
        u = rec.SO_10;
        return true;
    default:
        return false;
    }
}

} // namespace

QString SeriesMean(const TVstupStandardnejNeistoty& rec)
{
    QString mean, u;
    SeriesMeanAndUncertainty(rec, mean, u);
    return mean;
}

bool TransferSeriesMean(TCell& quantity, const TVstupStandardnejNeistoty& rec)
{
    const QString mean = SeriesMean(rec);
    // An empty mean (no readings yet) never wipes the value the quantity holds.
    if (mean.isEmpty() || quantity.FValue.Lock != 0)
        return false;
    quantity.FValue.Text = mean;
    quantity.FValueTransferred = 1;
    return true;
}

bool ClearSeriesMean(TCell& quantity, const TVstupStandardnejNeistoty& rec)
{
    QString mean, u;
    if (!SeriesMeanAndUncertainty(rec, mean, u) || mean.isEmpty())
        return false;
    if (quantity.FValueTransferred == 0 || quantity.FValue.Lock != 0)
        return false;
    // The source dialog hands on the mean as it displays it, rounded to the digits of
    // its uncertainty; the cell commands hand on the stored mean.
    QString shown, shownU;
    FormatValueAndUncertainty(mean, u, shown, shownU);
    const QString& value = quantity.FValue.Text;
    if (value != mean && value != shown)
        return false;
    quantity.FValue.Text.clear();
    quantity.FValueTransferred = 0;
    return true;
}

bool CheckMethodAllowed(TCell* owner, TCell* source, int method)
{
    if (!owner || owner->IsMethodAllowed(source, method))
        return true;
    MessageDlg(GetString(1066, { GetEvaluationMethodName(method) }), TMsgDlgType::mtError, mbCancel);
    return false;
}

TCell* AddNewSource(TCell& quantity)
{
    ClearNewCellInfo();
    NewCellInfo.CellType = kUncertaintyCell;
    NewCellInfo.CellName = GetString(324) + QStringLiteral(" ") + quantity.FSymbol.Text;
    NewCellInfo.UnitText = quantity.FUnit.Text;
    ClearUncertaintyInput(NewCellInfo.UncertaintyInput);
    NewCellInfo.Active = 1;
    return quantity.AddChild(NewCellInfo);
}

QString DescribeOneCell(TCell& cell)
{
    struct Restore {
        bool subtree = DescribeSubtree;
        quint8 lastType = LastDescribedCellType;
        int equations = EquationCounter;
        ~Restore()
        {
            DescribeSubtree = subtree;
            LastDescribedCellType = lastType;
            EquationCounter = equations;
        }
    } restore;
    DescribeSubtree = false;
    // The text starts as a report of this cell alone would: the same cell always reads
    // the same, whatever was described before (an equation or a source is number 1).
    LastDescribedCellType = 3;
    EquationCounter = 0;
    if (cell.FParent)
        cell.FParent->FSourceCounter = 0;
    return DescribeCell(cell);
}

QString HistoryBeforeText(TCell& cell)
{
    return QStringLiteral("[cf3]") + GetString(83) + QStringLiteral(":[cf1] ") + cell.FCellName.Text + QLatin1Char('\r')
        + DescribeOneCell(cell);
}

QString HistoryHeadedText(const QString& heading, TCell& cell)
{
    return heading + QStringLiteral("\r\r") + DescribeOneCell(cell);
}

TEditModeScope::TEditModeScope(quint8 mode)
    : saved_(EditMode)
{
    EditMode = mode;
}

TEditModeScope::~TEditModeScope()
{
    EditMode = saved_;
}

} // namespace orvek

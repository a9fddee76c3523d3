#include "richtext/report_texts.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "richtext/cell_description.h"
#include "richtext/report_format.h"
#include "richtext/report_table.h"
#include "richtext/results_snapshot.h"

#include <QRegularExpression>

namespace orvek {

namespace {

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

// "0," and "0." as a rounding leaves them read "0".
QString PlainZero(const QString& text)
{
    return (text == QLatin1String("0,") || text == QLatin1String("0.")) ? QStringLiteral("0") : text;
}

QString HeaderCell(int id, const char* suffix = "")
{
    return BoldCell(GetString(id) + QString::fromLatin1(suffix));
}

void StartTable(TStringTable& t, int columns, int rows)
{
    t.Clear();
    t.ColCount = columns;
    t.RowCount = rows;
}

// The combined text of the active uncertainty children of Cell.
void CombinedDistribution(const TCell& cell, quint8& flag, QString& text)
{
    std::vector<const TCell*> active;
    for (const auto& child : cell.FChildren)
        if (child->FCellType == kUncertaintyCell && child->FActive)
            active.push_back(child.get());
    if (active.empty())
        return;
    if (active.size() == 1) {
        DistributionText(*active.front(), flag, text);
        return;
    }
    const QString normal = GetString(931);
    for (const TCell* child : active) {
        quint8 f = 0;
        QString t;
        DistributionText(*child, f, t);
        if (t != normal) {
            flag = 0;
            text = GetString(932);
            return;
        }
    }
    text = normal;
}

void SourceDistribution(const TVstupStandardnejNeistoty& rec, quint8& flag, QString& text)
{
    static const int byDistribution[] = { 0, 277, 278, 279, 280, 739, 947 };
    switch (rec.TSN) {
    case 0:
        flag = rec.TR_1;
        if (rec.TR_1 >= 1 && rec.TR_1 <= 6)
            text = GetString(byDistribution[rec.TR_1]);
        break;
    case 1:
    case 2:
    case 3:
    case 5:
        flag = rec.TSN;
        text = GetString(byDistribution[rec.TSN]);
        break;
    case 4:
        flag = 4;
        text = GetString(931);
        break;
    case 6:
    case 7:
    case 8:
    case 9:
    case 11:
    case 12:
        text = GetString(931);
        break;
    case 10:
        flag = 6;
        text = GetString(947);
        break;
    case 13:
        flag = 7;
        text = GetString(1015);
        break;
    default:
        break;
    }
}

} // namespace

void DistributionText(const TCell& cell, quint8& Flag, QString& Text)
{
    Flag = 0;
    Text.clear();
    if (cell.FCellType == kQuantityCell) {
        if (cell.FValueType == 2)
            Text = GetString(931);
        else if (cell.ChildCount() == 1)
            DistributionText(*cell.Child(0), Flag, Text);
        else
            CombinedDistribution(cell, Flag, Text);
    } else if (cell.FCellType == kUncertaintyCell) {
        if (cell.ChildCount() > 0)
            CombinedDistribution(cell, Flag, Text);
        else
            SourceDistribution(cell.FUncertaintyInput, Flag, Text);
    }
}

void DistributionTextProvider::DistributionText(const TCell& cell, quint8& flag, QString& text)
{
    orvek::DistributionText(cell, flag, text);
}

QString DistributionText(const TCell& cell)
{
    quint8 flag = 0;
    QString text;
    DistributionText(cell, flag, text);
    return text;
}

QString QuantityNameText(const TCell& cell)
{
    return cell.FQuantityName.Text.trimmed().isEmpty() ? cell.FCellName.Text : cell.FQuantityName.Text;
}

QString EquationsText(const TCell& cell)
{
    try {
        QString text = EquationLine(cell.FSymbol.Text, cell.FNormalizedEquation);
        for (const auto& child : cell.FChildren)
            if (child->FCellType == kEquationCell)
                text += CRLF + EquationsText(*child);
        return text;
    } catch (const std::exception&) {
        return QString();
    }
}

QString NumberedEquationsText(const TCell& cell)
{
    const int n = ++EquationCounter;
    QString text = HeadingMarkupSmall + QString::number(n) + QStringLiteral(". ") + GetString(901)
        + QStringLiteral(":  ") + HeadingMarkupSmall + EquationLine(cell.FSymbol.Text, cell.FNormalizedEquation)
        + QStringLiteral("[cf1]");
    for (const auto& child : cell.FChildren)
        if (child->FCellType == kEquationCell)
            text += CR + NumberedEquationsText(*child);
    return text;
}

void CollectBudgetRows(TCell& cell)
{
    TBudgetRow row;
    row.Cell = &cell;
    row.Symbol = cell.FSymbol.Text;
    row.CellType = cell.FCellType;
    row.ValueType = cell.FValueType;
    row.UnitText = cell.FUnit.Text;
    row.QuantityName = QuantityNameText(cell);
    row.Value = cell.FValue.Text;
    row.Uncertainty = cell.FCombinedUncertainty;
    row.DegreesOfFreedom
        = cell.FDegreesOfFreedom == InfiniteText ? cell.FDegreesOfFreedom : IntegerPartText(cell.FDegreesOfFreedom);
    row.Sensitivity = cell.FNumSensitivity;
    row.Contribution = cell.FNumContribution;
    BudgetRows.push_back(row);
    for (const auto& child : cell.FChildren)
        if (child->FCellType == kEquationCell || child->FCellType == kQuantityCell)
            CollectBudgetRows(*child);
}

QString InputQuantityTable()
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    StartTable(t, 4, 1);
    const int widths[] = { 1200, 1800, 1200, 5000 };
    const int headers[] = { 304, 239, 89, 90 };
    for (int c = 1; c <= 4; ++c) {
        t.ColWidths[size_t(c)] = widths[c - 1];
        t.Cells(c, 1) = HeaderCell(headers[c - 1]);
    }
    for (const TBudgetRow& row : BudgetRows) {
        if (row.CellType == kUncertaintyCell)
            continue;
        QString value = row.Value;
        const bool rounded = (row.CellType == kQuantityCell && row.ValueType == 0) || row.CellType == kEquationCell;
        if (rounded && !row.Value.isEmpty() && !row.Uncertainty.isEmpty()) {
            QString unc;
            PairTexts(row.Value, row.Uncertainty, value, unc);
        }
        const int r = ++t.RowCount;
        t.Cells(1, r) = row.Symbol;
        t.Cells(2, r) = ExponentToMarkup(PlainZero(value));
        t.Cells(3, r) = row.UnitText;
        t.Cells(4, r) = row.QuantityName;
    }
    QString table;
    BuildTableMarkup(false, 0, ReportTableFontSize, table, 50);
    return HeadingMarkup + GetString(601) + QStringLiteral(":[cf1]") + table;
}

QString BuildBudgetTable(bool WithDof)
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    StartTable(t, WithDof ? 7 : 6, 1);
    const QString i = QStringLiteral("i");
    t.Cells(1, 1) = BoldCellWithIndex(GetString(132), QStringLiteral(" x"), i);
    t.Cells(2, 1) = BoldCellWithIndex(GetString(1096), QStringLiteral(" x"), i);
    t.Cells(3, 1) = BoldCellWithIndex(GetString(677), QStringLiteral(" u(x"), i, QStringLiteral(")"));
    t.Cells(4, 1) = HeaderCell(356, " d");
    t.Cells(5, 1) = BoldCellWithIndex(GetString(674), QStringLiteral(" c"), i);
    t.Cells(6, 1) = HeaderCell(1097, " u(y)");
    if (WithDof)
        t.Cells(7, 1) = HeaderCell(676);
    for (const TBudgetRow& row : BudgetRows) {
        if (row.CellType == kUncertaintyCell)
            continue;
        QString value, unc;
        if (!row.Value.isEmpty() && !row.Uncertainty.isEmpty()) {
            PairTexts(row.Value, row.Uncertainty, value, unc);
            value += QLatin1Char(' ') + row.UnitText;
            unc += QLatin1Char(' ') + row.UnitText;
        } else {
            value = WithUnit(SignificantText(row.Value), row.UnitText);
            unc = WithUnit(SignificantText(row.Uncertainty), row.UnitText);
        }
        const QString dof = row.DegreesOfFreedom == InfiniteText ? InfinityCode : row.DegreesOfFreedom;
        QString ci, uy;
        if (SensitivityPassEnabled) {
            ci = FormatSignificantText(3, row.Sensitivity);
            uy = row.CellType == kQuantityCell ? FormatSignificantText(3, row.Contribution) : GetString(857);
        }
        const int r = ++t.RowCount;
        t.Cells(1, r) = row.Symbol;
        t.Cells(2, r) = ExponentToMarkup(value);
        t.Cells(3, r) = ExponentToMarkup(unc);
        t.Cells(4, r) = row.Cell ? DistributionText(*row.Cell) : QString();
        t.Cells(5, r) = ExponentToMarkup(ci);
        t.Cells(6, r) = ExponentToMarkup(uy);
        if (WithDof)
            t.Cells(7, r) = ExponentToMarkup(dof);
    }
    QString table;
    BuildTableMarkup(true, 0, ReportTableFontSize, table, 50);
    return HeadingMarkup + GetString(602) + QStringLiteral(":[cf1]") + table;
}

QString BuildSourceBudgetTable()
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    StartTable(t, 7, 1);
    const int widths[] = { 2500, 1200, 1550, 1400, 1200, 1000, 1500 };
    const int headers[] = { 843, 304, 677, 675, 674, 676, 356 };
    for (int c = 1; c <= 7; ++c) {
        t.ColWidths[size_t(c)] = widths[c - 1];
        t.Cells(c, 1) = HeaderCell(headers[c - 1]);
    }
    for (const TInfo_o_bunkach_typu_neistota& source : UncertaintySourceList) {
        const QString u = WithUnit(SignificantText(source.Uncertainty), source.UnitText);
        const QString dof = source.DegreesOfFreedom == InfiniteText ? InfinityCode : source.DegreesOfFreedom;
        QString ci, contribution;
        if (SensitivityPassEnabled) {
            // Formatted from the number's full digits: a fixed number of decimals would
            // lose the digits of a small coefficient.
            ci = FormatSignificantText(3, QString::number(source.Sensitivity, 'g', 17));
            contribution = FormatSignificantText(3, QString::number(source.Contribution, 'g', 17));
            if (IsZeroText(contribution))
                contribution = QStringLiteral("0");
        }
        const int r = ++t.RowCount;
        t.Cells(1, r) = source.CellName;
        t.Cells(2, r) = source.Cell && source.Cell->FParent ? source.Cell->FParent->FSymbol.Text : QString();
        t.Cells(3, r) = ExponentToMarkup(u);
        t.Cells(4, r) = ExponentToMarkup(contribution);
        t.Cells(5, r) = ExponentToMarkup(ci);
        t.Cells(6, r) = ExponentToMarkup(dof);
        t.Cells(7, r) = source.Cell ? DistributionText(*source.Cell) : source.DistributionText;
    }
    QString table;
    BuildTableMarkup(false, 0, ReportTableFontSize, table, 50);
    return HeadingMarkup + GetString(814) + QStringLiteral(":[cf1]") + table;
}

QString ResultTable(const TCell& cell)
{
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    StartTable(t, 2, 9);
    // Row 4 is the relative standard uncertainty, named as in the description tables.
    const int labels[] = { 132, 239, 87, 88, 355, 1001, 312, 271, 289 };
    for (int r = 1; r <= 9; ++r)
        t.Cells(1, r) = HeaderCell(labels[r - 1]);
    const QString unit = cell.FUnit.Text;
    QString value, u, relative, expanded, relativeExpanded;
    if (!cell.FValue.Text.isEmpty() && !cell.FCombinedUncertainty.isEmpty()) {
        QString U;
        PairTexts(cell.FValue.Text, cell.FExpandedUncertainty, value, U);
        value = ExponentToMarkup(value) + QLatin1Char(' ') + unit;
        expanded = QStringLiteral(";pm") + ExponentToMarkup(U) + QLatin1Char(' ') + unit;
        // Exponents as mark-up here too, so that no "E" form reaches the page.
        u = ExponentToMarkup(SignificantText(cell.FCombinedUncertainty)) + QLatin1Char(' ') + unit;
        relative = ExponentToMarkup(SignificantText(cell.FRelativeUncertainty)) + QStringLiteral(" %");
        relativeExpanded = ExponentToMarkup(SignificantText(cell.FRelativeExpandedUncertainty)) + QStringLiteral(" %");
    } else {
        value = WithUnit(ExponentToMarkup(SignificantText(cell.FValue.Text)), unit);
        u = WithUnit(ExponentToMarkup(SignificantText(cell.FCombinedUncertainty)), unit);
    }
    QString probability;
    switch (cell.FCoverage) {
    case 0:
        probability = QStringLiteral("90%");
        break;
    case 1:
        probability = QStringLiteral("95%");
        break;
    case 2:
        probability = QStringLiteral("99%");
        break;
    case 3:
        if (!cell.FDegreesOfFreedom.isEmpty()) {
            bool ok = false;
            int d = IntegerPartText(cell.FDegreesOfFreedom).toInt(&ok);
            if (!ok)
                d = 0;
            const bool infinite = cell.FDegreesOfFreedom == InfiniteText;
            double k = 0;
            TryStrToFloatNeutral(cell.FCoverageFactor.Text, k);
            if (k == 1 && (d > 13 || infinite))
                probability = QStringLiteral("68.27%");
            else if (k == 2 && (d > 30 || infinite))
                probability = QStringLiteral("95.45%");
            else if (k == 3 && (d > 50 || infinite))
                probability = QStringLiteral("99.73%");
            else
                probability = GetString(322);
        }
        break;
    default:
        break;
    }
    t.Cells(2, 1) = cell.FSymbol.Text;
    t.Cells(2, 2) = value;
    t.Cells(2, 3) = u;
    t.Cells(2, 4) = relative;
    t.Cells(2, 5) = expanded;
    t.Cells(2, 6) = relativeExpanded;
    t.Cells(2, 7) = cell.FCoverageFactor.Text;
    t.Cells(2, 8) = probability;
    t.Cells(2, 9) = DofText(cell.FDegreesOfFreedom);
    QString table;
    BuildTableMarkup(true, 1, ReportTableFontSize, table, 50);
    return HeadingMarkup + GetString(603) + QStringLiteral(":[cf1] ") + table;
}

namespace {

// Clears the report state when a report ends, also when an error passes.
struct ReportScope {
    ReportTableOwner table;
    ReportScope()
    {
        BudgetRows.clear();
        EquationCounter = 0;
        LastDescribedCellType = 3;
    }
    ~ReportScope() { BudgetRows.clear(); }
};

QString EquationsChapter(const TCell& root)
{
    EquationCounter = 0;
    QString equations = NumberedEquationsText(root);
    equations.remove(QLatin1Char('\n'));
    EquationCounter = 0;
    LastDescribedCellType = 3;
    return HeadingMarkup + GetString(600) + QStringLiteral(":[cf1]") + CR + CR + HeadingMarkup + equations
        + QStringLiteral("[cf1] ") + CR + CR;
}

// The sensitivity pass refreshes the source list; without it the list is rebuilt here,
// so that the source budget always lists the sources of this model.
void PrepareSources(TCell& root)
{
    if (SensitivityPassEnabled)
        root.ComputeSensitivityByDifference();
    else
        root.BuildSourceList();
}

// Appends a chapter that begins with its heading; after a table it is set off by the
// space of one empty line, as every chapter is.
void AppendChapter(QString& text, const QString& chapter)
{
    if (text.endsWith(QLatin1String(":TABLE_END")))
        text += CR;
    text += chapter;
}

} // namespace

QString FullReportText(TCell& root)
{
    // The sensitivity pass evaluates the model again; the report leaves it as it was.
    TResultsSnapshot results(root);
    ReportScope scope;
    PrepareSources(root);
    CollectBudgetRows(root);
    QString text;
    if (ReportSections & 0x01)
        text += EquationsChapter(root);
    if (ReportSections & 0x20)
        text += HeadingMarkup + GetString(776) + QStringLiteral(":") + CR + CR + DiagramPlaceholder + CR + CR;
    if (ReportSections & 0x04) {
        EquationCounter = 0;
        LastDescribedCellType = 3;
        text += DescribeCell(root);
    }
    if (ReportSections & 0x02)
        AppendChapter(text, InputQuantityTable());
    if (ReportSections & 0x08) {
        AppendChapter(text, BuildSourceBudgetTable());
        AppendChapter(text, BuildBudgetTable(true));
    }
    if (ReportSections & 0x10)
        AppendChapter(text, ResultTable(root));
    return text;
}

QString ShortReportText(TCell& root)
{
    TResultsSnapshot results(root);
    ReportScope scope;
    PrepareSources(root);
    QString text = EquationsChapter(root) + CR;
    CollectBudgetRows(root);
    text += InputQuantityTable() + CR;
    text += BuildBudgetTable(false) + CR;
    text += ResultTable(root);
    return text;
}

} // namespace orvek

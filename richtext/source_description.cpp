// The rows of a leaf uncertainty source by its evaluation method.

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/number_format.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/text_pieces.h"
#include "engine/cell.h"
#include "engine/expression.h"
#include "engine/uncertainty_condition.h"
#include "richtext/cell_description.h"
#include "richtext/report_format.h"
#include "richtext/report_table.h"
#include "richtext/report_texts.h"

namespace orvek {

namespace {

// Label and value rows of one two-column table.
class RowTable {
public:
    explicit RowTable(TStringTable& t)
        : t_(t)
    {
        t_.Clear();
        t_.ColCount = 2;
    }
    void Add(int label, const QString& value)
    {
        ++r_;
        t_.Cells(1, r_) = BoldCell(GetString(label));
        t_.Cells(2, r_) = value;
    }
    QString Markup()
    {
        t_.RowCount = r_;
        QString table;
        BuildTableMarkup(true, 1, ReportTableFontSize, table, 50);
        return table;
    }

private:
    TStringTable& t_;
    int r_ = 0;
};

QString CoverageLevelText(quint8 hs)
{
    static const char* levels[] = { "68.27 %", "90 %", "95 %", "95.45 %", "99 %", "99.73 %" };
    return hs <= 5 ? QString::fromLatin1(levels[hs]) : QString();
}

QString WithVarReplaced(QString text, const QString& symbol)
{
    if (text.contains(QLatin1String("VAR")))
        ReplaceSymbol(text, QStringLiteral("VAR"), symbol);
    return text;
}

struct Context {
    const TCell& cell;
    const TVstupStandardnejNeistoty& rec;
    QString unit;
    QString parentSymbol;
};

// Rules A to D of the typed input value.
QString TypedValue(const Context& x, QString text, char rule)
{
    if (text.isEmpty())
        return text;
    text = text.toUpper();
    const quint8 kind = x.rec.USType;
    switch (rule) {
    case 'A':
        if (kind == 3)
            return WithVarReplaced(text, x.parentSymbol);
        if (kind == 7)
            return GetString(1074);
        return ExponentToMarkup(text) + QLatin1Char(' ') + x.unit;
    case 'B':
        if (kind == 1)
            return ExponentToMarkup(text) + QLatin1Char(' ') + x.unit;
        if (kind == 3)
            return WithVarReplaced(text, x.parentSymbol);
        return text;
    case 'C':
        if (kind == 1)
            return QStringLiteral(";pm") + ExponentToMarkup(text) + QLatin1Char(' ') + x.unit;
        if (kind == 2)
            return QStringLiteral(";pm") + text;
        if (kind == 3)
            return WithVarReplaced(text, x.parentSymbol);
        return text;
    default: // D
        if (kind == 1)
            return ExponentToMarkup(SignificantText(text)) + QLatin1Char(' ') + x.unit;
        if (kind == 3)
            return WithVarReplaced(text, x.parentSymbol);
        return text;
    }
}

// Rules F1 to F3 of the degrees of freedom of the distribution methods.
void DofRows(RowTable& rows, const QString& dof, quint8 option, int rule, const QString& reliability = QString())
{
    if (dof.isEmpty()) {
        rows.Add(289, GetString(593));
        return;
    }
    if (option == 0) {
        rows.Add(289, dof);
    } else if (option == 1) {
        if (rule == 1)
            rows.Add(289, InfinityCode);
        else if (rule == 2)
            rows.Add(289, QStringLiteral(" 50"));
        else {
            rows.Add(598, reliability.isEmpty() ? QString() : reliability + QLatin1Char('%'));
            rows.Add(289, dof);
        }
    } else if (option == 2 && rule == 3) {
        rows.Add(289, InfinityCode);
    }
}

// Mean and s rows of the series methods.
void SeriesRows(const Context& x, RowTable& rows, const QString& mean, const QString& s, const QString& dof)
{
    QString m, sd;
    PairTexts(mean, s, m, sd);
    rows.Add(289, dof);
    rows.Add(315, ExponentToMarkup(m) + QLatin1Char(' ') + x.unit);
    rows.Add(357, ExponentToMarkup(sd) + QLatin1Char(' ') + x.unit);
}

// The readings of a series, at most 8 to a table.
void ReadingsTables(int count, QString list, int caption, bool withUncertainty, QString& text)
{
    if (count <= 0) {
        text += QStringLiteral("\t") + GetString(774) + LineEnd;
        return;
    }
    text += LineEnd + GetString(caption);
    TStringTable& t = *ReportTable;
    const int rows = withUncertainty ? 3 : 2;
    auto start = [&] {
        t.Clear();
        t.RowCount = rows;
        t.ColCount = 1;
        t.Cells(1, 1) = GetString(685);
        t.Cells(1, 2) = GetString(686);
        if (withUncertainty)
            t.Cells(1, 3) = GetString(683);
    };
    auto flush = [&] {
        QString table;
        BuildTableMarkup(true, 1, ReportTableFontSize, table, 50);
        text += table;
    };
    start();
    for (int i = 1; i <= count && !list.isEmpty(); ++i) {
        if (t.ColCount == 9) {
            flush();
            start();
        }
        QString value, uncertainty;
        if (withUncertainty) {
            const qsizetype hash = list.indexOf(QLatin1Char('#'));
            value = hash < 0 ? list : list.left(hash);
            list = hash < 0 ? QString() : list.mid(hash + 1);
        }
        const qsizetype at = list.indexOf(QLatin1Char('@'));
        const QString item = at < 0 ? list : list.left(at);
        list = at < 0 ? QString() : list.mid(at + 1);
        if (withUncertainty)
            uncertainty = item;
        else
            value = item;
        const int c = ++t.ColCount;
        t.Cells(c, 1) = QString::number(i) + QLatin1Char('.');
        t.Cells(c, 2) = value;
        if (withUncertainty)
            t.Cells(c, 3) = uncertainty;
    }
    flush();
}

void ConditionTable(const Context& x, QString& text)
{
    TStringTable& t = *ReportTable;
    t.Clear();
    t.ColCount = 2;
    t.Cells(1, 1) = BoldCell(GetString(1071));
    t.Cells(2, 1) = BoldCell(GetString(288));
    int r = 1;
    if (ParseUncertaintyCondition(x.rec.KO.Text)) {
        for (int i = 1; i <= ConditionRowCount; ++i) {
            const T_u_conditionRecord& c = ConditionRows[size_t(i)];
            QString condition = BoldCell(x.parentSymbol) + QLatin1Char(' ') + c.Op1 + QLatin1Char(' ') + c.Bound1Text;
            if (!c.Op2.isEmpty())
                condition += QStringLiteral(" and ") + c.Op2 + QLatin1Char(' ') + c.Bound2Text;
            ++r;
            t.Cells(1, r) = condition;
            t.Cells(2, r) = c.UExpression;
        }
    }
    t.RowCount = r;
    QString table;
    BuildTableMarkup(true, 0, ReportTableFontSize, table, 50);
    text += BoldCell(GetString(1073)) + table;
}

// Methods 11 and 12: the chart tables, computed on a copy of the record so that a
// report leaves the model as it was.
void ChartTables(const Context& x, QString& text)
{
    text += LineBreaks(2);
    ChartReportService* charts = ChartReports();
    if (!charts)
        return;
    TVstupStandardnejNeistoty copy = x.rec;
    const TCell* parent = x.cell.FParent;
    const QString quantityValue = parent && parent->FCellType != kUncertaintyCell ? parent->FValue.Text : QString();
    const ChartReport report = charts->DescribeChart(copy, quantityValue, x.unit, SignificantDigits);
    if (report.Computed)
        text += report.Markup;
    else
        text += report.Reason + LineEnd;
}

} // namespace

void DescribeSourceByMethod(const TCell& cell, QString& text)
{
    const TVstupStandardnejNeistoty& rec = cell.FUncertaintyInput;
    const Context x { cell, rec, cell.FUnit.Text, cell.FParent ? cell.FParent->FSymbol.Text : QString() };
    const int method = rec.TSN;
    if (method == 11 || method == 12) {
        ChartTables(x, text);
        return;
    }
    if (method > 14)
        return;
    ReportTableOwner owner;
    RowTable rows(owner.Table());

    rows.Add(
        157, rec.HSN.isEmpty() ? QString() : ExponentToMarkup(SignificantText(rec.HSN)) + QLatin1Char(' ') + x.unit);
    QString validity = GetString(595);
    if (!rec.EDate.isEmpty()) {
        try {
            validity = DMYTextToDate(rec.EDate).toString(ShortDateFormatText());
        } catch (const std::exception&) {
            validity = rec.EDate;
        }
    }
    rows.Add(400, validity);
    int kind = 0;
    switch (method) {
    case 0:
        kind = 253;
        break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 10:
        kind = 254;
        break;
    case 6:
        kind = 255;
        break;
    case 7:
        kind = 256;
        break;
    case 8:
        kind = 736;
        break;
    case 9:
        kind = 756;
        break;
    case 13:
        kind = 1014;
        break;
    default:
        break;
    }
    rows.Add(265, kind ? GetString(kind) : QString());
    static const int distribution[] = { 0, 277, 278, 279, 280, 739, 0, 0, 0, 0, 947 };
    if ((method >= 1 && method <= 5) || method == 10)
        rows.Add(356, GetString(distribution[method]));

    QString before;
    switch (method) {
    case 0:
        rows.Add(288, TypedValue(x, rec.KO.Text, 'A'));
        rows.Add(289, rec.PSV_1.Text.isEmpty() ? GetString(593) : rec.PSV_1.Text);
        rows.Add(356, DistributionText(cell));
        break;
    case 1:
        rows.Add(270, TypedValue(x, rec.IS_2_1.Text, 'B'));
        DofRows(rows, rec.PSV_2_1.Text, rec.ZPSV_2_1, 1);
        break;
    case 2:
        rows.Add(270, TypedValue(x, rec.IS_2_2.Text, 'B'));
        DofRows(rows, rec.PSV_2_2.Text, rec.ZPSV_2_2, 1);
        break;
    case 3:
        rows.Add(272, TypedValue(x, rec.SO_2_3.Text, 'B'));
        DofRows(rows, rec.PSV_2_3.Text, rec.ZPSV_2_3, 2);
        break;
    case 4:
        rows.Add(687, TypedValue(x, rec.IS_2_4.Text, 'C'));
        rows.Add(271, CoverageLevelText(rec.HS));
        DofRows(rows, rec.PSV_2_4.Text, rec.ZPSV_2_4, 2);
        break;
    case 5:
        rows.Add(270, TypedValue(x, rec.IS_2_5.Text, 'B'));
        DofRows(rows, rec.PSV_2_5.Text, rec.ZPSV_2_5, 3, rec.RN_2_5.Text);
        break;
    case 10:
        rows.Add(949, rec.TFa_2_6.Text);
        rows.Add(948, rec.PD_2_6.Text);
        DofRows(rows, rec.PSV_2_6.Text, rec.ZPSV_2_6, 1);
        break;
    case 6: {
        QString mean, sm;
        PairTexts(rec.AP_3, rec.SOPr_3, mean, sm);
        rows.Add(289, rec.PSV_3);
        rows.Add(315, ExponentToMarkup(mean) + QLatin1Char(' ') + x.unit);
        rows.Add(269, ExponentToMarkup(sm) + QLatin1Char(' ') + x.unit);
        rows.Add(1003, ExponentToMarkup(SignificantText(rec.RSOPr_3)) + QStringLiteral(" %"));
        rows.Add(357, ExponentToMarkup(SignificantText(rec.SO_3)) + QLatin1Char(' ') + x.unit);
        break;
    }
    case 7: {
        QString mean, sm;
        PairTexts(rec.AP_4, rec.SOPr_4, mean, sm);
        rows.Add(289, rec.PSV_4.Text);
        rows.Add(315, ExponentToMarkup(mean) + QLatin1Char(' ') + x.unit);
        rows.Add(269, ExponentToMarkup(sm) + QLatin1Char(' ') + x.unit);
        rows.Add(268, ExponentToMarkup(rec.SOP.Text));
        break;
    }
    case 8:
        before = LineEnd + GetString(855) + LineEnd;
        rows.Add(737, TypedValue(x, rec.SO_5.Text, 'D'));
        rows.Add(738, rec.PSV_5.Text);
        break;
    case 9:
        SeriesRows(x, rows, rec.AP_6, rec.SO_6, rec.PSV_6.Text);
        rows.Add(1002, SignificantText(rec.RSO_6) + QStringLiteral(" %"));
        break;
    case 13:
        SeriesRows(x, rows, rec.AP_9, rec.SO_9, rec.PSV_9.Text);
        rows.Add(1002, SignificantText(rec.RSO_9) + QStringLiteral(" %"));
        break;
    case 14:
        SeriesRows(x, rows, rec.AP_10, rec.SO_10, rec.PSV_10);
        break;
    default:
        break;
    }
    text += before + rows.Markup();

    switch (method) {
    case 0:
        if (rec.USType == 7)
            ConditionTable(x, text);
        break;
    case 6:
        ReadingsTables(rec.PM_3, rec.VM_3.Text, 853, false, text);
        break;
    case 7:
        ReadingsTables(rec.PM_4, rec.VM_4.Text, 854, false, text);
        break;
    case 9:
        ReadingsTables(rec.PM_6, rec.VM_6.Text, 856, false, text);
        break;
    case 13:
        ReadingsTables(rec.PM_9, rec.VM_9.Text, 856, false, text);
        break;
    case 14:
        ReadingsTables(rec.PM_10, rec.VM_10.Text, 856, true, text);
        break;
    default:
        break;
    }
}

} // namespace orvek

#include "richtext/cell_description.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "core/text_pieces.h"
#include "engine/cell.h"
#include "engine/element_table.h"
#include "richtext/markup_read.h"
#include "richtext/report_format.h"
#include "richtext/report_table.h"
#include "richtext/report_texts.h"

#include <vector>

namespace orvek {

namespace {

// The fields of a text of rows ended by "@" whose fields are ended by "#"; only rows
// with their "@" count, at most 100 rows of at most 100 fields.
std::vector<std::vector<QString>> ReadGridText(const QString& text)
{
    constexpr int Max = 100;
    std::vector<std::vector<QString>> rows;
    std::vector<QString> row;
    QString cell;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('#')) {
            if (row.size() < Max)
                row.push_back(cell);
            cell.clear();
        } else if (ch == QLatin1Char('@')) {
            if (row.size() < Max)
                row.push_back(cell);
            cell.clear();
            if (rows.size() < Max)
                rows.push_back(row);
            row.clear();
        } else {
            cell += ch;
        }
    }
    return rows;
}

QString Field(const std::vector<std::vector<QString>>& rows, size_t r, size_t f)
{
    return r < rows.size() && f < rows[r].size() ? rows[r][f] : QString();
}

void StartTable(TStringTable& t, int columns, int rows)
{
    t.Clear();
    t.ColCount = columns;
    t.RowCount = rows;
}

QString AppendTable(quint8 widthMode)
{
    QString table;
    BuildTableMarkup(true, widthMode, ReportTableFontSize, table, 50);
    return table;
}

// The comment of an equation or quantity cell; Empty line ends when there is none.
void AppendCellComment(const TCell& cell, QString& text, int emptyLineEnds)
{
    QString comment = cell.FCellComment.Text; // a copy: the model keeps its text
    if (TrimRtfTrailingLines(comment)) {
        text += LineBreaks(emptyLineEnds);
        return;
    }
    QString probe = comment;
    if (IsRtfComment(probe))
        comment = QStringLiteral(":RTF_BEGIN") + comment + QStringLiteral(":RTF_END");
    text += HeadingMarkupSmall + GetString(84) + QStringLiteral(": [cf1] ") + LineEnd + comment + LineBreaks(2);
}

void DescribeCorrelationMatrix(const TCell& cell, QString& text)
{
    std::vector<const TCell*> inputs;
    for (const auto& child : cell.FChildren)
        if (child->FCellType != kUncertaintyCell && inputs.size() < 100)
            inputs.push_back(child.get());
    const size_t n = inputs.size();
    const auto rows = ReadGridText(cell.FCorrelationMatrix.Text);
    std::vector<std::vector<QString>> entry(n, std::vector<QString>(n));
    bool correlated = false;
    for (size_t r = 0; r < n; ++r)
        for (size_t c = 0; c < n; ++c) {
            QString e = Field(rows, r, c);
            if (c == r)
                e = QStringLiteral("1.0");
            else if (e.isEmpty())
                e = QStringLiteral("0.0");
            else if (!IsZeroText(e))
                correlated = true;
            entry[r][c] = e;
        }
    if (!correlated) {
        text += LineEnd;
        return;
    }
    text += HeadingMarkupSmall + GetString(354) + QStringLiteral("[cf1] ");
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    StartTable(t, int(n) + 1, int(n) + 1);
    for (size_t i = 0; i < n; ++i) {
        t.Cells(int(i) + 2, 1) = BoldCell(inputs[i]->FSymbol.Text);
        t.Cells(1, int(i) + 2) = BoldCell(inputs[i]->FSymbol.Text);
    }
    for (size_t r = 0; r < n; ++r)
        for (size_t c = 0; c < n; ++c)
            t.Cells(int(c) + 2, int(r) + 2) = c == r ? BoldCell(entry[r][c]) : entry[r][c];
    text += AppendTable(0);
}

void DescribeEquation(TCell& cell, QString& text)
{
    const int chapter = ++EquationCounter;
    if (LastDescribedCellType != kEquationCell)
        text += LineEnd;
    text += HeadingMarkupSmall + QString::number(chapter) + QStringLiteral(". ") + GetString(901)
        + QStringLiteral(":  ") + EquationLine(cell.FSymbol.Text, cell.FNormalizedEquation) + QStringLiteral("[cf1]");

    const QString unit = cell.FUnit.Text;
    QString value, u, U;
    if (!cell.FValue.Text.isEmpty() && !cell.FCombinedUncertainty.isEmpty()) {
        PairTexts(cell.FValue.Text, cell.FExpandedUncertainty, value, U);
        u = SignificantText(cell.FCombinedUncertainty);
    } else {
        value = SignificantText(cell.FValue.Text);
        u = SignificantText(cell.FCombinedUncertainty);
        U = SignificantText(cell.FExpandedUncertainty);
    }
    QString relative
        = cell.FRelativeUncertainty == InfiniteText ? InfinityCode : SignificantText(cell.FRelativeUncertainty);
    value = ExponentToMarkup(value);
    u = ExponentToMarkup(u);
    U = ExponentToMarkup(U);
    relative = ExponentToMarkup(relative);
    QString coverage;
    switch (cell.FCoverage) {
    case 0:
        coverage = GetString(321, { "%" });
        break;
    case 1:
        coverage = GetString(310, { "%" });
        break;
    case 2:
        coverage = GetString(311, { "%" });
        break;
    case 3:
        coverage = GetString(322);
        break;
    default:
        break;
    }
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    StartTable(t, 2, 6);
    t.Cells(1, 1) = BoldCell(cell.FSymbol.Text);
    t.Cells(2, 1) = WithUnit(value, unit);
    t.Cells(1, 2) = BoldCell(GetString(87));
    t.Cells(2, 2) = WithUnit(u, unit);
    t.Cells(1, 3) = BoldCell(GetString(88));
    t.Cells(2, 3) = relative.isEmpty() ? relative : relative + QStringLiteral(" %");
    t.Cells(1, 4) = BoldCell(GetString(355));
    t.Cells(2, 4) = U.isEmpty() ? U : QStringLiteral(";pm") + U + QLatin1Char(' ') + unit;
    t.Cells(1, 5) = BoldCell(GetString(289));
    t.Cells(2, 5) = DofText(cell.FDegreesOfFreedom);
    t.Cells(1, 6) = BoldCell(GetString(312));
    t.Cells(2, 6)
        = FormatSignificantText(4, cell.FCoverageFactor.Text) + QStringLiteral(" (") + coverage + QStringLiteral(")");
    text += AppendTable(1);

    if (!cell.FCorrelationMatrix.Text.isEmpty())
        DescribeCorrelationMatrix(cell, text);
    AppendCellComment(cell, text, 1);
}

void DescribeMolarMassDetails(const TCell& cell, QString& text)
{
    const auto rows = ReadGridText(cell.FSumFormulaDetails.Text);
    ReportTableOwner owner;
    TStringTable& t = owner.Table();
    StartTable(t, 7, int(rows.size()) + 1);
    for (int c = 1; c <= 7; ++c)
        t.Cells(c, 1) = BoldCell(GetString(677 + c));
    for (size_t r = 0; r < rows.size(); ++r) {
        QString v1, u1, v2, u2;
        PairTexts(Field(rows, r, 2), Field(rows, r, 4), v1, u1);
        PairTexts(Field(rows, r, 3), Field(rows, r, 5), v2, u2);
        const int row = int(r) + 2;
        t.Cells(1, row) = Field(rows, r, 0);
        t.Cells(2, row) = Field(rows, r, 1);
        t.Cells(3, row) = ExponentToMarkup(v1);
        t.Cells(4, row) = ExponentToMarkup(v2);
        t.Cells(5, row) = ExponentToMarkup(u1);
        t.Cells(6, row) = ExponentToMarkup(u2);
        t.Cells(7, row) = ExponentToMarkup(SignificantText(Field(rows, r, 6)));
    }
    text += AppendTable(0);
}

void DescribeQuantity(TCell& cell, QString& text)
{
    const QString unit = cell.FUnit.Text;
    text += LineEnd + HeadingMarkupSmall + GetString(902) + QStringLiteral(": ") + cell.FSymbol.Text
        + QStringLiteral("[cf1] ") + LineEnd + HeadingMarkupSmall + GetString(903) + QStringLiteral(": ")
        + QuantityNameText(cell) + QStringLiteral("[cf1] ");
    const bool paired = !cell.FValue.Text.isEmpty() && !cell.FCombinedUncertainty.isEmpty();
    if (cell.FValueType == 0) {
        QString value, u;
        if (paired) {
            PairTexts(cell.FValue.Text, cell.FCombinedUncertainty, value, u);
            value = ExponentToMarkup(value) + QLatin1Char(' ') + unit;
            u = ExponentToMarkup(u) + QLatin1Char(' ') + unit;
        } else {
            value = WithUnit(ExponentToMarkup(SignificantText(cell.FValue.Text)), unit);
            u = WithUnit(ExponentToMarkup(SignificantText(cell.FCombinedUncertainty)), unit);
        }
        QString relative;
        if (!cell.FRelativeUncertainty.isEmpty())
            relative = ExponentToMarkup(cell.FRelativeUncertainty == InfiniteText
                               ? InfinityCode
                               : SignificantText(cell.FRelativeUncertainty))
                + QStringLiteral(" %");
        ReportTableOwner owner;
        TStringTable& t = owner.Table();
        StartTable(t, 2, 4);
        t.Cells(1, 1) = BoldCell(GetString(239));
        t.Cells(2, 1) = value;
        t.Cells(1, 2) = BoldCell(GetString(87));
        t.Cells(2, 2) = u;
        t.Cells(1, 3) = BoldCell(GetString(88));
        t.Cells(2, 3) = relative;
        t.Cells(1, 4) = BoldCell(GetString(289));
        t.Cells(2, 4) = DofText(cell.FDegreesOfFreedom);
        text += AppendTable(1);
    } else if (cell.FValueType == 1) {
        text += LineEnd + QStringLiteral("[cf3]") + GetString(239) + QStringLiteral(":[cf1] ") + cell.FValue.Text
            + QLatin1Char(' ') + unit + LineBreaks(2);
    } else if (cell.FValueType == 2) {
        QString value, u, relative;
        if (!cell.FValue.Text.isEmpty()) {
            PairTexts(cell.FValue.Text, cell.FCombinedUncertainty, value, u);
            value = ExponentToMarkup(value) + QLatin1Char(' ') + unit;
            u = ExponentToMarkup(u) + QLatin1Char(' ') + unit;
            relative = ExponentToMarkup(SignificantText(cell.FRelativeUncertainty)) + QStringLiteral(" %");
        } else {
            value = WithUnit(ExponentToMarkup(SignificantText(cell.FValue.Text)), unit);
            u = WithUnit(ExponentToMarkup(SignificantText(cell.FCombinedUncertainty)), unit);
            relative = ExponentToMarkup(SignificantText(cell.FRelativeUncertainty));
            if (!relative.isEmpty())
                relative += QStringLiteral(" %");
        }
        QString formula;
        TagFormulaSubscripts(cell.FSumFormula.Text, formula);
        ReportTableOwner owner;
        TStringTable& t = owner.Table();
        StartTable(t, 2, 4);
        t.Cells(1, 1) = BoldCell(GetString(290));
        t.Cells(2, 1) = formula;
        t.Cells(1, 2) = BoldCell(GetString(239));
        t.Cells(2, 2) = value;
        t.Cells(1, 3) = BoldCell(GetString(87));
        t.Cells(2, 3) = u;
        t.Cells(1, 4) = BoldCell(GetString(88));
        t.Cells(2, 4) = relative;
        text += AppendTable(1);
        if (!cell.FSumFormulaDetails.Text.isEmpty())
            DescribeMolarMassDetails(cell, text);
    }
    AppendCellComment(cell, text, 2);
}

void DescribeUncertainty(TCell& cell, QString& text)
{
    if (!cell.FActive)
        return;
    // A root source (a model of one source) is number 1 and names no parent.
    TCell* parent = cell.FParent;
    const int number = parent ? ++parent->FSourceCounter : 1;
    text += HeadingMarkupSmall + QString::number(number) + QStringLiteral(". ") + GetString(904) + QLatin1Char(' ');
    if (parent && parent->FCellType == kUncertaintyCell)
        text += parent->FCellName.Text + QStringLiteral(": ");
    else if (parent)
        text += parent->FSymbol.Text + QStringLiteral(": ");
    text += cell.FCellName.Text + QStringLiteral(" [cf1] ");
    if (cell.ChildCount() > 0) {
        ReportTableOwner owner;
        TStringTable& t = owner.Table();
        StartTable(t, 2, 2);
        t.Cells(1, 1) = BoldCell(GetString(87));
        t.Cells(2, 1) = SignificantText(cell.FCombinedUncertainty);
        t.Cells(1, 2) = BoldCell(GetString(289));
        t.Cells(2, 2) = DofText(cell.FDegreesOfFreedom);
        text += AppendTable(1);
    } else {
        DescribeSourceByMethod(cell, text);
    }
    QString comment = cell.FCellComment.Text;
    const QString label = HeadingMarkupSmall + GetString(156) + QStringLiteral(": [cf1] ");
    if (!TrimRtfTrailingLines(comment)) {
        QString probe = comment;
        if (IsRtfComment(probe))
            comment = QStringLiteral(":RTF_BEGIN") + comment + QStringLiteral(":RTF_END");
        text += label + LineEnd + comment + LineBreaks(2);
    } else {
        text += label + GetString(775) + LineBreaks(3);
    }
}

} // namespace

QString DescribeCell(TCell& cell)
{
    ReportTableOwner owner; // one table for the whole description, nested calls share it
    if (cell.FParent)
        cell.FIndent = cell.FParent->FIndent + QStringLiteral("  ");
    QString text;
    switch (cell.FCellType) {
    case kEquationCell:
        DescribeEquation(cell, text);
        break;
    case kQuantityCell:
        DescribeQuantity(cell, text);
        break;
    case kUncertaintyCell:
        DescribeUncertainty(cell, text);
        break;
    default:
        break;
    }
    LastDescribedCellType = cell.FCellType;
    if (DescribeSubtree) {
        cell.FSourceCounter = 0;
        for (const auto& child : cell.FChildren)
            text += DescribeCell(*child);
    }
    cell.FTextBuffer.clear();
    return text;
}

} // namespace orvek

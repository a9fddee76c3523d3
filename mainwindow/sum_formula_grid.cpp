#include "mainwindow/sum_formula_grid.h"

#include "core/number_text.h"
#include "engine/element_table.h"

#include <cmath>

namespace orvek {

namespace {

QString RowNumberText(int index)
{
    return QString::number(index + 1) + QLatin1Char('.');
}

} // namespace

namespace {

// Recomputes every row from its count, A and U and sums the rows up. RewriteInputs
// writes A and U back as general texts too; the analysis keeps the table's texts.
bool SumRows(QList<TSumFormulaRow>& Rows, TMolarMass& Result, int& BadRow, int& BadColumn, bool RewriteInputs)
{
    Result = {};
    long double m = 0, s = 0;
    for (int r = 0; r < Rows.size(); ++r) {
        TSumFormulaRow& row = Rows[r];
        double a = 0, u = 0;
        if (!TryStrToFloatNeutral(row[kSumAtomicWeight], a) || !(a > 0)) {
            row[kSumWeightTimesCount].clear();
            BadRow = r;
            BadColumn = kSumAtomicWeight;
            return false;
        }
        // An uncertainty of 0 is a stated value (the table holds several), not an error.
        if (!TryStrToFloatNeutral(row[kSumWeightUncertainty], u) || u < 0) {
            row[kSumStandardUncertainty].clear();
            row[kSumCountTimesU].clear();
            BadRow = r;
            BadColumn = kSumWeightUncertainty;
            return false;
        }
        int n = 0;
        if (!TryStrToIntNeutral(row[kSumCount], n))
            n = 0;
        const long double su = u / std::sqrt(3.0L);
        if (RewriteInputs) {
            row[kSumAtomicWeight] = FloatToGeneralText(a);
            row[kSumWeightUncertainty] = FloatToGeneralText(u);
        }
        row[kSumWeightTimesCount] = FloatToGeneralText(n * static_cast<long double>(a));
        row[kSumStandardUncertainty] = FloatToGeneralText(su);
        row[kSumCountTimesU] = FloatToGeneralText(n * su);
        m += n * static_cast<long double>(a);
        s += (n * su) * (n * su);
    }
    const long double um = std::sqrt(s);
    Result.Value = FloatToGeneralText(m);
    Result.Uncertainty = FloatToGeneralText(um);
    if (m != 0)
        Result.Relative = FloatToGeneralText(100 * um / m);
    return true;
}

} // namespace

bool AnalyseSumFormulaRows(const QString& Formula, QList<TSumFormulaRow>& Rows, TMolarMass& Result, QString& Message)
{
    Rows.clear();
    Result = {};
    Message.clear();
    QString normalised;
    AnalyseSumFormula(Formula, Message, normalised);
    if (normalised.isEmpty())
        return false;
    for (int e = 1; e <= ElementCount; ++e) {
        const int n = ElementCounts[e];
        if (n <= 0)
            continue;
        TSumFormulaRow row;
        row[kSumRowNumber] = RowNumberText(int(Rows.size()));
        row[kSumSymbol] = QString::fromLatin1(ElementTable[e].Symbol);
        row[kSumCount] = QString::number(n);
        row[kSumAtomicWeight] = QString::fromLatin1(ElementTable[e].AtomicWeightText);
        row[kSumWeightUncertainty] = QString::fromLatin1(ElementTable[e].WeightUncertaintyText);
        Rows.append(row);
    }
    int badRow = 0, badColumn = 0;
    return SumRows(Rows, Result, badRow, badColumn, false);
}

bool ComputeMolarMass(QList<TSumFormulaRow>& Rows, TMolarMass& Result, int& BadRow, int& BadColumn)
{
    const bool ok = SumRows(Rows, Result, BadRow, BadColumn, true);
    if (!ok)
        Result = {};
    return ok;
}

QString BuildSumFormulaDetails(const QList<TSumFormulaRow>& Rows)
{
    QString text;
    for (const TSumFormulaRow& row : Rows) {
        for (int c = kSumSymbol; c < kSumColumnCount; ++c)
            text += row[c] + QLatin1Char(c + 1 < kSumColumnCount ? '#' : '@');
    }
    return text;
}

QList<TSumFormulaRow> ParseSumFormulaDetails(const QString& Details)
{
    QList<TSumFormulaRow> rows;
    TSumFormulaRow row;
    int column = kSumSymbol;
    QString collected;
    for (QChar ch : Details) {
        if (ch == QLatin1Char('#')) {
            if (column < kSumColumnCount - 1)
                row[column++] = collected;
            collected.clear();
        } else if (ch == QLatin1Char('@')) {
            row[kSumColumnCount - 1] = collected;
            row[kSumRowNumber] = RowNumberText(int(rows.size()));
            rows.append(row);
            row = {};
            column = kSumSymbol;
            collected.clear();
        } else {
            collected += ch;
        }
    }
    if (rows.isEmpty())
        rows.append(TSumFormulaRow {});
    return rows;
}

} // namespace orvek

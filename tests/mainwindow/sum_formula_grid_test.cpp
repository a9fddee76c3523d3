// The sum-formula grid without its window: rows from a formula in element-table order,
// the molar mass and its uncertainty, refused grid entries and the details text.

#include "core/number_text.h"
#include "engine/element_table.h"
#include "mainwindow/sum_formula_grid.h"

#include <cmath>
#include <gtest/gtest.h>

namespace orvek {
namespace {

double Number(const QString& text)
{
    double x = std::nan("");
    EXPECT_TRUE(TryStrToFloatNeutral(text, x)) << text.toStdString();
    return x;
}

double Weight(const char* symbol)
{
    return Number(QString::fromLatin1(ElementTable[FindElement(symbol)].AtomicWeightText));
}

double StandardU(const char* symbol)
{
    return Number(QString::fromLatin1(ElementTable[FindElement(symbol)].WeightUncertaintyText)) / std::sqrt(3.0);
}

struct FormulaCase {
    const char* formula;
    std::vector<std::pair<const char*, int>> elements; // in element-table order
};

TEST(SumFormulaGrid, RowsFollowTheElementTableAndSumToTheMolarMass)
{
    const FormulaCase cases[] = {
        { "H2O", { { "H", 2 }, { "O", 1 } } },
        // Carbon, hydrogen and oxygen, each with its total count over the formula.
        { "CH3COOH", { { "H", 4 }, { "C", 2 }, { "O", 2 } } },
    };
    for (const FormulaCase& c : cases) {
        SCOPED_TRACE(c.formula);
        QList<TSumFormulaRow> rows;
        TMolarMass mass;
        QString message;
        ASSERT_TRUE(AnalyseSumFormulaRows(c.formula, rows, mass, message));
        ASSERT_EQ(rows.size(), qsizetype(c.elements.size()));
        double m = 0, s = 0;
        for (size_t i = 0; i < c.elements.size(); ++i) {
            const auto& [symbol, n] = c.elements[i];
            const TSumFormulaRow& row = rows[qsizetype(i)];
            EXPECT_EQ(row[kSumRowNumber], QString::number(i + 1) + ".");
            EXPECT_EQ(row[kSumSymbol], symbol);
            EXPECT_EQ(row[kSumCount], QString::number(n));
            // The table's own texts stand in the editable columns.
            EXPECT_EQ(row[kSumAtomicWeight], ElementTable[FindElement(symbol)].AtomicWeightText);
            EXPECT_NEAR(Number(row[kSumWeightTimesCount]), n * Weight(symbol), 1e-12);
            EXPECT_NEAR(Number(row[kSumCountTimesU]), n * StandardU(symbol), 1e-15);
            m += n * Weight(symbol);
            s += std::pow(n * StandardU(symbol), 2);
        }
        EXPECT_NEAR(Number(mass.Value), m, 1e-12);
        EXPECT_NEAR(Number(mass.Uncertainty), std::sqrt(s), 1e-15);
        EXPECT_NEAR(Number(mass.Relative), 100 * std::sqrt(s) / m, 1e-12);
    }
}

TEST(SumFormulaGrid, RefusedFormulasGiveNoRows)
{
    for (const char* formula : { "", "Xx2", "H2O!" }) {
        SCOPED_TRACE(formula);
        QList<TSumFormulaRow> rows { TSumFormulaRow {} };
        TMolarMass mass;
        QString message;
        EXPECT_FALSE(AnalyseSumFormulaRows(formula, rows, mass, message));
        EXPECT_TRUE(rows.isEmpty());
        EXPECT_TRUE(mass.Value.isEmpty());
    }
}

TEST(SumFormulaGrid, EditedGridEntriesAreCheckedAndRecomputed)
{
    QList<TSumFormulaRow> analysed;
    TMolarMass mass;
    QString message;
    ASSERT_TRUE(AnalyseSumFormulaRows("H2O", analysed, mass, message));

    struct Edit {
        int row, column;
        const char* text;
        bool ok;
    };
    const Edit edits[] = {
        { 0, kSumAtomicWeight, "0", false }, { 1, kSumAtomicWeight, "abc", false },
        { 1, kSumWeightUncertainty, "-0.1", false },
        { 0, kSumWeightUncertainty, "0", true }, // a stated zero uncertainty passes
        { 0, kSumAtomicWeight, "1,5", true }, // either separator
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(std::string(e.text));
        QList<TSumFormulaRow> rows = analysed;
        rows[e.row][e.column] = e.text;
        int badRow = -1, badColumn = -1;
        EXPECT_EQ(ComputeMolarMass(rows, mass, badRow, badColumn), e.ok);
        if (e.ok) {
            EXPECT_FALSE(mass.Value.isEmpty());
            EXPECT_EQ(rows[e.row][e.column], FloatToGeneralText(Number(e.text)));
            continue;
        }
        EXPECT_EQ(badRow, e.row);
        EXPECT_EQ(badColumn, e.column);
        EXPECT_TRUE(mass.Value.isEmpty());
        if (e.column == kSumAtomicWeight) {
            EXPECT_TRUE(rows[e.row][kSumWeightTimesCount].isEmpty());
        } else {
            EXPECT_TRUE(rows[e.row][kSumStandardUncertainty].isEmpty());
            EXPECT_TRUE(rows[e.row][kSumCountTimesU].isEmpty());
        }
    }

    // An element stated without uncertainty (Tc) passes the analysis and a recomputation.
    QList<TSumFormulaRow> tc;
    ASSERT_TRUE(AnalyseSumFormulaRows("Tc", tc, mass, message));
    int badRow = -1, badColumn = -1;
    EXPECT_TRUE(ComputeMolarMass(tc, mass, badRow, badColumn));
    EXPECT_EQ(mass.Uncertainty, "0");
}

TEST(SumFormulaGrid, DetailsTextRoundTrip)
{
    QList<TSumFormulaRow> rows;
    TMolarMass mass;
    QString message;
    ASSERT_TRUE(AnalyseSumFormulaRows("CH3COOH", rows, mass, message));
    const QString details = BuildSumFormulaDetails(rows);
    EXPECT_EQ(details.count('@'), 3);
    EXPECT_EQ(details.count('#'), 3 * 6);
    EXPECT_TRUE(details.startsWith("H#4#"));
    EXPECT_EQ(ParseSumFormulaDetails(details), rows);

    const QList<TSumFormulaRow> empty = ParseSumFormulaDetails(QString());
    ASSERT_EQ(empty.size(), 1);
    EXPECT_EQ(empty[0], TSumFormulaRow {});
}

} // namespace
} // namespace orvek

// The equation-cell dialog's work without its window, for an equation of 100 symbols:
// analysing the right-hand side, filling the quantity rows from the cell's children,
// loading the 100 x 100 correlation matrix, editing a coefficient with its mirror,
// validating the matrix and writing the matrix and the rows back.

#include "engine/cell.h"
#include "engine/equation_info.h"
#include "engine/expression.h"
#include "mainwindow/equation_dialog_rules.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

using namespace orvek;

constexpr int kSymbols = 100;

QString SymbolName(int i)
{
    return QStringLiteral("x%1").arg(i + 1, 3, 10, QLatin1Char('0'));
}

QString RightHandSide()
{
    QStringList terms;
    for (int i = 0; i < kSymbols; ++i)
        terms << SymbolName(i);
    return terms.join(QLatin1Char('+'));
}

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& symbol)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = symbol;
    info.Symbol = symbol;
    info.Active = 1;
    return info;
}

// An equation cell with one quantity child per symbol.
std::unique_ptr<TCell> EquationCell()
{
    auto y = std::make_unique<TCell>(nullptr, Info(kEquationCell, QStringLiteral("y")), 20, 20, nullptr);
    const QString rhs = RightHandSide();
    y->FEquation = QStringLiteral("y = ") + rhs;
    y->FNormalizedEquation = QStringLiteral("y=") + rhs;
    for (int i = 0; i < kSymbols; ++i) {
        TCell* x = y->AddChild(Info(kQuantityCell, SymbolName(i)));
        x->FUnit.Text = QStringLiteral("m[cf11]2[cf1]");
        x->FQuantityName.Text = QStringLiteral("length ") + SymbolName(i);
    }
    return y;
}

// A stored matrix with a few coefficients off the diagonal.
QString StoredMatrix()
{
    TMatrixTexts m = InitialCorrelationMatrix(kSymbols);
    for (int i = 0; i + 1 < kSymbols; i += 3)
        SetCorrelationCoefficient(m, i, i + 1, QStringLiteral("0.25"));
    return SerializeCorrelationMatrix(m);
}

void BM_EquationDialogRound(benchmark::State& state)
{
    const std::unique_ptr<TCell> y = EquationCell();
    const QString rhs = RightHandSide();
    const QString stored = StoredMatrix();
    for (auto _ : state) {
        const TEquationAnalysis analysis = AnalyseEquationText(rhs);
        if (analysis.Message != 0 || analysis.Symbols.size() != kSymbols)
            throw std::runtime_error("the equation was not accepted");

        QList<TQuantityGridRow> rows = FillQuantityGrid(*y);
        if (rows.size() != kSymbols)
            throw std::runtime_error("the quantity rows are incomplete");

        TMatrixTexts matrix = InitialCorrelationMatrix(kSymbols);
        LoadCorrelationMatrixText(stored, matrix);
        SetCorrelationCoefficient(matrix, 10, 90, QStringLiteral("-0.5"));

        int row = 0, column = 0;
        if (ValidateCorrelationMatrix(matrix, row, column) != 0)
            throw std::runtime_error("the matrix was refused");
        const QString written = SerializeCorrelationMatrix(matrix);

        rows[5].ValueType = 1;
        TInfo_o_bunkach_typu_velicina list = EquationVariables;
        ReadQuantityGrid(rows, list);
        benchmark::DoNotOptimize(written);
        benchmark::DoNotOptimize(list.Count);
    }
}
BENCHMARK(BM_EquationDialogRound)->Unit(benchmark::kMillisecond);

} // namespace

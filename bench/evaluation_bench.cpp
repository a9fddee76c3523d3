// Calculate with the model-wide sensitivity pass on generated models of 10, 100 and
// 1,000 inputs. Equations stay within the parser's limits: at most 10 inputs each,
// nested (1,000 inputs are 10 equations of 10 equations of 10 quantities). Every
// quantity has two sources. Time per evaluation; the pass is run on the path route
// (the program's) and, for comparison, on the whole-tree route.

#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/evaluation.h"

#include <QCoreApplication>
#include <QString>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace orvek;

TPrenosInfoDoNovejBunky EquationInfo(const QString& symbol, const QStringList& inputs)
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kEquationCell;
    info.CellName = symbol;
    info.Symbol = symbol;
    // Sums of products and powers: numerically close to a flat sum, not linear.
    QString rhs;
    for (int i = 0; i < inputs.size(); ++i)
        rhs += (i ? (i % 2 ? "+" : "+0.5*") : "") + inputs[i] + (i % 3 == 2 ? "^2" : "");
    info.Equation = symbol + "=" + rhs;
    info.NormalizedEquation = info.Equation;
    info.Coverage = 1;
    return info;
}

void AddQuantity(TCell& parent, const QString& symbol, int index)
{
    TPrenosInfoDoNovejBunky q;
    q.CellType = kQuantityCell;
    q.CellName = symbol;
    q.Symbol = symbol;
    q.Value = QString::number(1.0 + (index % 17) * 0.37, 'g', 10);
    TCell* cell = parent.AddChild(q);
    for (int s = 0; s < 2; ++s) {
        TPrenosInfoDoNovejBunky src;
        src.CellType = kUncertaintyCell;
        src.Active = 1;
        src.UncertaintyInput.TSN = 3;
        src.UncertaintyInput.SO_2_3.Text = s ? "0.02" : "0.01";
        src.UncertaintyInput.PSV_2_3.Text = s ? "Nekonecno" : "20";
        src.UncertaintyInput.HSN = src.UncertaintyInput.SO_2_3.Text;
        cell->AddChild(src);
    }
}

// An equation over `inputs` inputs: quantities when inputs <= 10, else 10 equations.
void Fill(TCell& equation, int inputs, int& counter)
{
    if (inputs <= 10) {
        for (int i = 0; i < inputs; ++i) {
            const int n = counter++;
            AddQuantity(equation, QStringLiteral("x%1").arg(n), n);
        }
        return;
    }
    for (int i = 0; i < 10; ++i) {
        const QString symbol = QStringLiteral("z%1").arg(counter++);
        TCell* sub = equation.AddChild(EquationInfo(symbol, {}));
        Fill(*sub, inputs / 10, counter);
        QStringList names;
        for (int c = 0; c < sub->ChildCount(); ++c)
            if (sub->Child(c)->FCellType != kUncertaintyCell)
                names << sub->Child(c)->FSymbol.Text;
        const TPrenosInfoDoNovejBunky info = EquationInfo(symbol, names);
        sub->FEquation = info.Equation;
        sub->FNormalizedEquation = info.NormalizedEquation;
    }
}

std::unique_ptr<TCell> Model(int inputs)
{
    auto root = std::make_unique<TCell>(nullptr, EquationInfo("y", {}), 0, 0, nullptr);
    int counter = 0;
    Fill(*root, inputs, counter);
    QStringList names;
    for (int c = 0; c < root->ChildCount(); ++c)
        names << root->Child(c)->FSymbol.Text;
    const TPrenosInfoDoNovejBunky info = EquationInfo("y", names);
    root->FEquation = info.Equation;
    root->FNormalizedEquation = info.NormalizedEquation;
    return root;
}

void Evaluate(benchmark::State& state, TSensitivityRoute route)
{
    int argc = 0;
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, nullptr);
    (void)app;
    SensitivityPassEnabled = true;
    auto root = Model(int(state.range(0)));
    root->Calculate();
    if (root->FCombinedUncertainty.isEmpty())
        state.SkipWithError("the generated model does not evaluate");
    for (auto _ : state) {
        CalculationAborted = 0;
        root->Calculate();
        root->ComputeSensitivityByDifference(route);
        benchmark::DoNotOptimize(root->FCombinedUncertainty);
    }
    state.SetLabel(root->FCombinedUncertainty.toStdString());
}

void BM_CalculateWithSensitivity(benchmark::State& state) { Evaluate(state, TSensitivityRoute::Path); }
void BM_CalculateWithSensitivityWholeTree(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::WholeTree);
}

}  // namespace

BENCHMARK(BM_CalculateWithSensitivity)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateWithSensitivityWholeTree)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

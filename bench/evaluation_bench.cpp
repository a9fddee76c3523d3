// Calculate with the model-wide sensitivity pass on generated models of 10, 100 and
// 1,000 inputs. Equations stay within the parser's limits: at most 10 inputs each,
// nested (1,000 inputs are 10 equations of 10 equations of 10 quantities). Every
// quantity has two sources. Time per evaluation: cold (no text evaluated before),
// after an edit of one input (what the program does after each change), and the
// same model again; the pass runs on the path route (the program's) and, for
// comparison, on the whole-tree route.

#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/compiled_equation.h"
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

enum class Start { Cold, AfterEdit, Unchanged };

// The quantity cells of the model, in tree order.
void CollectQuantities(TCell& cell, std::vector<TCell*>& out)
{
    for (int i = 0; i < cell.ChildCount(); ++i) {
        TCell* child = cell.Child(i);
        if (child->FCellType == kQuantityCell)
            out.push_back(child);
        else if (child->FCellType == kEquationCell)
            CollectQuantities(*child, out);
    }
}

void Evaluate(benchmark::State& state, TSensitivityRoute route, Start start)
{
    int argc = 0;
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, nullptr);
    (void)app;
    SensitivityPassEnabled = true;
    auto root = Model(int(state.range(0)));
    root->Calculate();
    if (root->FCombinedUncertainty.isEmpty())
        state.SkipWithError("the generated model does not evaluate");
    std::vector<TCell*> quantities;
    CollectQuantities(*root, quantities);
    size_t edit = 0;
    for (auto _ : state) {
        if (start == Start::Cold) {
            ForgetRememberedResults();
            ForgetCompiledEquations();
        } else if (start == Start::AfterEdit) {
            TCell* q = quantities[edit++ % quantities.size()];
            q->FValue.Text = QString::number(1.5 + (edit % 1000) * 0.001, 'g', 10);
        }
        CalculationAborted = 0;
        root->Calculate();
        root->ComputeSensitivityByDifference(route);
        benchmark::DoNotOptimize(root->FCombinedUncertainty);
    }
    state.SetLabel(root->FCombinedUncertainty.toStdString());
}

void BM_Cold(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::Cold);
}
void BM_AfterEdit(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::AfterEdit);
}
void BM_Unchanged(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::Unchanged);
}
void BM_WholeTreeCold(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::WholeTree, Start::Cold);
}

} // namespace

BENCHMARK(BM_Cold)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AfterEdit)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unchanged)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeTreeCold)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

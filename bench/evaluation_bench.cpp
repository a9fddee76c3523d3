// Calculate with the model-wide sensitivity pass on generated models of 10, 100,
// 1,000 and 3,000 inputs. Equations stay within the parser's limits: at most 10
// inputs each, nested (1,000 inputs are 10 equations of 10 equations of 10
// quantities; 3,000 are 10 x 10 x 10 equations of 3). Every quantity has two
// sources. Times per evaluation:
//   EditCalculatePass  one input edited, Calculate and the sensitivity pass (what the
//                      program does after each change)
//   CalculateOnly      one input edited and Calculate
//   ...TextRoute       the same on formula texts (the reference route)
//   Cold               nothing remembered or compiled before
//   Peer               the Python package "uncertainties" (Debian's python3-uncertainties)
//                      on the same model: the inputs as ufloats, the nested equations
//                      evaluated, u and the derivative by every input read; run in the
//                      same process run as a child, best of its rounds. Skipped when
//                      python3 or the package is missing.
// The 3,000-input model has more than 2,000 quantities: the pass gives no
// coefficients there and says so (the message is answered here).
// Run with --benchmark_repetitions=5 and read the "_min" rows.

#include "bench/generated_model.h"
#include "core/common_vars.h"
#include "engine/cell.h"
#include "engine/compiled_equation.h"
#include "engine/evaluation.h"
#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace orvek;

enum class Start { Cold, AfterEdit, Unchanged };

// Answers the message boxes of an evaluation (the limit of the pass at 3,000 inputs).
class SilentDialogs : public DialogHandler {
public:
    int MessageDlg(const QString&, TMsgDlgType, TMsgDlgButtons, int) override { return mrCancel; }
    bool OpenFileDialog(FileDialogRequest&) override { return false; }
    bool SaveFileDialog(FileDialogRequest&) override { return false; }
    bool ColorDialog(std::uint32_t&) override { return false; }
    bool FontDialog(QString&, int&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
};

// One evaluation of the loop, kept out of line so that a profiler can count its
// instructions alone (valgrind --tool=callgrind --toggle-collect='*EvaluateOnce*').
[[gnu::noinline]] void EvaluateOnce(TCell& root, TSensitivityRoute route, bool pass)
{
    CalculationAborted = 0;
    root.Calculate();
    if (pass)
        root.ComputeSensitivityByDifference(route, TPassStart::JustCalculated);
}

void Evaluate(benchmark::State& state, TSensitivityRoute route, Start start, bool pass = true, bool numeric = true)
{
    int argc = 0;
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, nullptr);
    (void)app;
    static SilentDialogs dialogs;
    SetDialogHandler(&dialogs);
    SensitivityPassEnabled = true;
    NumericEvaluation = numeric;
    auto root = bench::GeneratedModel(int(state.range(0)));
    root->Calculate();
    if (root->FCombinedUncertainty.isEmpty())
        state.SkipWithError("the generated model does not evaluate");
    std::vector<TCell*> quantities;
    bench::CollectQuantities(*root, quantities);
    size_t edit = 0;
    for (auto _ : state) {
        if (start == Start::Cold) {
            ForgetRememberedResults();
            ForgetCompiledEquations();
        } else if (start == Start::AfterEdit) {
            TCell* q = quantities[edit++ % quantities.size()];
            q->FValue.Text = QString::number(1.5 + (edit % 1000) * 0.001, 'g', 10);
        }
        EvaluateOnce(*root, route, pass);
        benchmark::DoNotOptimize(root->FCombinedUncertainty);
    }
    NumericEvaluation = true;
    state.SetLabel(root->FCombinedUncertainty.toStdString());
}

void BM_EditCalculatePass(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::AfterEdit);
}
void BM_CalculateOnly(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::AfterEdit, false);
}
void BM_EditCalculatePassTextRoute(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::AfterEdit, true, false);
}
void BM_CalculateOnlyTextRoute(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::AfterEdit, false, false);
}
void BM_Cold(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::Path, Start::Cold);
}
void BM_WholeTreeCold(benchmark::State& state)
{
    Evaluate(state, TSensitivityRoute::WholeTree, Start::Cold);
}

// The same model for the Python package: the structure and values of Model().
const char* const kPeerScript = R"(
import sys, time
from uncertainties import ufloat
n = int(sys.argv[1])
u = (0.01 ** 2 + 0.02 ** 2) ** 0.5
def equation(xs):
    y = xs[0]
    for i in range(1, len(xs)):
        t = xs[i] ** 2 if i % 3 == 2 else xs[i]
        y = y + (t if i % 2 else 0.5 * t)
    return y
def fill(inputs, counter, leaves):
    if inputs <= 10:
        xs = []
        for i in range(inputs):
            k = counter[0]; counter[0] += 1
            x = ufloat(1.0 + (k % 17) * 0.37, u)
            leaves.append(x); xs.append(x)
        return equation(xs)
    subs = []
    for i in range(10):
        counter[0] += 1
        subs.append(fill(inputs // 10, counter, leaves))
    return equation(subs)
def run():
    leaves = []
    y = fill(n, [0], leaves)
    s = y.std_dev
    d = y.derivatives
    return s, [d[x] for x in leaves]
best = float('inf')
rounds = max(3, int(2000 / n))
for r in range(5):
    t0 = time.perf_counter()
    for i in range(rounds):
        run()
    best = min(best, (time.perf_counter() - t0) / rounds)
print(repr(best), run()[0])
)";

void BM_Peer(benchmark::State& state)
{
    // Debian's interpreter, where Debian's package is installed, before any other.
    const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                  : QStringLiteral("python3");
    QProcess python;
    python.start(
        interpreter, { QStringLiteral("-c"), QString::fromUtf8(kPeerScript), QString::number(state.range(0)) });
    bool ok = python.waitForFinished(600000) && python.exitCode() == 0;
    const QStringList out = QString::fromUtf8(python.readAllStandardOutput()).split(' ');
    double seconds = ok && !out.isEmpty() ? out[0].toDouble(&ok) : 0;
    if (!ok) {
        state.SkipWithError("python3 with the package uncertainties is not installed");
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(seconds);
    state.SetLabel(out.size() > 1 ? out[1].trimmed().toStdString() : std::string());
}

} // namespace

BENCHMARK(BM_EditCalculatePass)->Arg(10)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateOnly)->Arg(10)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer)->Arg(10)->Arg(100)->Arg(1000)->Arg(3000)->UseManualTime()->Iterations(1)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_EditCalculatePassTextRoute)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateOnlyTextRoute)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cold)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeTreeCold)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

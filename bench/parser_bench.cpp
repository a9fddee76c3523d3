// EvaluateExpression on expressions within the parser's limits: sums of short products
// in bracketed groups (about 10, 100 and 1,000 operations), groups of a fixed depth in
// doubling number (length doubles at a fixed nesting), and one chain 80 levels deep.
// Reports characters of expression text parsed and evaluated per second.

#include "engine/expression.h"
#include "engine/parser.h"

#include <QString>
#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace orvek;

QString Number(int i)
{
    static const char* const numbers[] = { "1.25", "0.5", "2", "3.75", "0.125", "1.5", "4", "0.75" };
    return QLatin1String(numbers[i % 8]);
}

// A sum of `terms` products of two numbers: a chain of `terms` - 1 additions, each with
// its product one level below.
QString Chain(int terms, int& seed)
{
    QString s;
    for (int t = 0; t < terms; ++t) {
        if (t > 0)
            s += QLatin1Char('+');
        s += Number(seed) + QLatin1Char('*') + Number(seed + 1);
        seed += 2;
    }
    return s;
}

// `groups` bracketed chains joined by "+": about groups * (2 * terms) operations over
// groups + terms levels.
QString Groups(int groups, int terms)
{
    int seed = 0;
    QString s;
    for (int g = 0; g < groups; ++g) {
        if (g > 0)
            s += QLatin1Char('+');
        s += QLatin1Char('(') + Chain(terms, seed) + QLatin1Char(')');
    }
    return s;
}

void Run(benchmark::State& state, const QString& text)
{
    QString result;
    try {
        EvaluateExpression(text, result);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    if (result.isEmpty()) {
        state.SkipWithError("no result");
        return;
    }
    for (auto _ : state) {
        EvaluateExpression(text, result);
        benchmark::DoNotOptimize(result);
    }
    TParser parser;
    parser.SetExpression(text);
    state.counters["chars"] = double(text.size());
    state.counters["operations"] = double(parser.Operations().size());
    state.counters["chars/s"]
        = benchmark::Counter(double(text.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// About 10, 100 and 1,000 operations.
void BM_Groups(benchmark::State& state)
{
    Run(state, Groups(int(state.range(0)), int(state.range(1))));
}
BENCHMARK(BM_Groups)->UseRealTime()->Args({ 2, 2 })->Args({ 5, 10 })->Args({ 10, 50 });

// Fixed depth (chains of 20 products), the length doubling from about 500 to 8,000
// characters: the time of each should be about twice the one before.
BENCHMARK(BM_Groups)
    ->UseRealTime()
    ->Args({ 3, 20 })
    ->Args({ 6, 20 })
    ->Args({ 12, 20 })
    ->Args({ 24, 20 })
    ->Args({ 48, 20 });

// One chain 80 levels deep.
void BM_DeepChain(benchmark::State& state)
{
    QString s = Number(0);
    for (int i = 1; i <= 80; ++i)
        s += QLatin1Char('-') + Number(i);
    Run(state, s);
}
BENCHMARK(BM_DeepChain)->UseRealTime();

} // namespace

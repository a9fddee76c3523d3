// Per-call cost of the number texts that every evaluation and report line writes.
#include "core/number_format.h"
#include "core/number_text.h"

#include <QString>
#include <benchmark/benchmark.h>

using namespace orvek;

static void BM_FormatValueAndUncertainty(benchmark::State& state)
{
    const QString value = "12.3456789012", unc = "0,0123456";
    QString valueOut, uncOut;
    for (auto _ : state) {
        FormatValueAndUncertainty(value, unc, valueOut, uncOut);
        benchmark::DoNotOptimize(valueOut);
        benchmark::DoNotOptimize(uncOut);
    }
}
BENCHMARK(BM_FormatValueAndUncertainty);

static void BM_FormatValueAndUncertaintyExponentForm(benchmark::State& state)
{
    const QString value = "5.4321E-9", unc = "1.234E-9";
    QString valueOut, uncOut;
    for (auto _ : state) {
        FormatValueAndUncertainty(value, unc, valueOut, uncOut);
        benchmark::DoNotOptimize(valueOut);
        benchmark::DoNotOptimize(uncOut);
    }
}
BENCHMARK(BM_FormatValueAndUncertaintyExponentForm);

static void BM_FloatToGeneralTextDouble(benchmark::State& state)
{
    double x = 1.0 / 3.0;
    for (auto _ : state) {
        QString text = FloatToGeneralText(x);
        benchmark::DoNotOptimize(text);
        x += 1e-3;
    }
}
BENCHMARK(BM_FloatToGeneralTextDouble);

static void BM_FloatToGeneralTextExtended(benchmark::State& state)
{
    long double x = 1.0L / 3.0L;
    for (auto _ : state) {
        QString text = FloatToGeneralText(x);
        benchmark::DoNotOptimize(text);
        x += 1e-3L;
    }
}
BENCHMARK(BM_FloatToGeneralTextExtended);

static void BM_TryStrToFloatNeutral(benchmark::State& state)
{
    const QString text = " 12,3456789E-3 ";
    double value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TryStrToFloatNeutral(text, value));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_TryStrToFloatNeutral);

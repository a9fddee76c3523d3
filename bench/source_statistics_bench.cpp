// The checks and statistics of a full reading page of the source dialog, without its
// window: the page's 500 readings (or pairs) are checked for required inputs and for
// their kinds and ranges, turned into the record's list, computed by the evaluation's
// routine and formatted as the page shows them. One benchmark per reading method.

#include "core/common_vars.h"
#include "engine/cell_records.h"
#include "sources/source_checks.h"
#include "sources/source_computation.h"
#include "sources/source_record.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace orvek;

// A full page: 500 readings, and for the weighted mean 500 uncertainties beside them.
TSourcePageSnapshot FullPage(int method)
{
    TSourcePageSnapshot page;
    page.Method = method;
    page.MainLabel = QStringLiteral("Value");
    page.DofLabel = QStringLiteral("Degrees of freedom");
    page.SigmaLabel = QStringLiteral("Sigma");
    page.ColumnHeader = QStringLiteral("Reading");
    page.Column2Header = QStringLiteral("u");
    page.MethodText = QStringLiteral("Readings");
    if (method == 7)
        page.Sigma = QStringLiteral("0.02");
    for (int i = 0; i < MaxSourceReadings; ++i) {
        page.Column1 << QString::number(100 + (i % 17) * 0.013 - (i % 5) * 0.021, 'f', 3);
        if (method == 14)
            page.Column2 << QString::number(0.01 + (i % 7) * 0.002, 'f', 3);
    }
    return page;
}

void BM_ReadingPage(benchmark::State& state)
{
    const int method = int(state.range(0));
    SignificantDigits = 2;
    const TSourcePageSnapshot full = FullPage(method);
    for (auto _ : state) {
        TSourcePageSnapshot page = full;
        TCheckResult required = CheckRequiredInputs(page);
        quint8 kind = 0;
        TCheckResult values = CheckInputValues(page, kind);
        if (!required.Passed || !values.Passed)
            throw std::runtime_error("the page's checks refused its readings");

        TVstupStandardnejNeistoty rec;
        rec.TSN = quint8(method);
        switch (method) {
        case 6:
            SourceReadingsList(page.Column1, rec.VM_3.Text, rec.PM_3);
            break;
        case 7:
            SourceReadingsList(page.Column1, rec.VM_4.Text, rec.PM_4);
            rec.SOP.Text = page.Sigma;
            break;
        case 9:
            SourceReadingsList(page.Column1, rec.VM_6.Text, rec.PM_6);
            break;
        case 13:
            SourceReadingsList(page.Column1, rec.VM_9.Text, rec.PM_9);
            break;
        case 14:
            SourcePairsList(page.Column1, page.Column2, rec.VM_10.Text, rec.PM_10);
            break;
        }
        const TSourceComputation computed = ComputeSourceRecord(rec, QStringLiteral("100"), false);
        if (computed.Failed || rec.HSN.isEmpty())
            throw std::runtime_error("the page's readings gave no uncertainty");
        TSourceResultTexts shown = SourceResultTexts(rec, SignificantDigits);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_ReadingPage)->Arg(6)->Arg(7)->Arg(9)->Arg(13)->Arg(14)->Unit(benchmark::kMillisecond);

} // namespace

// The control-chart pages' work offscreen: reading a full subgroup table (1,000 rows
// of 20 values, every other row empty) through the cell-text interface, computing the
// chart and building its plot; filling the spreadsheet control with 22,000 cells; and
// showing 1,000 points on the chart control.

#include "core/common_vars.h"
#include "database/chart_factors.h"
#include "engine/cell_records.h"
#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "sources/chart_data.h"
#include "sources/chart_plot.h"
#include "sources/chart_point_table.h"
#include "sources/ui/source_dialog_chart_view.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace orvek;

void EnsureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "chart_pages_bench";
    static char* argv[] = { name, nullptr };
    new QApplication(argc, argv);
    ChartFactors[20] = { 0.671, 0.180, 0.680, 1.549, 5.921, 0.415, 1.585, 3.735, 0.9869 };
}

// A subgroup table: 1,000 rows, the odd ones holding 20 values each.
void FillSubgroupTable(TF1Book& book)
{
    book.SetMaxRow(1000);
    book.SetMaxCol(22);
    for (int r = 1; r <= 1000; r += 2)
        for (int c = 3; c <= 22; ++c)
            book.SetTextRC(r, c, QString::number(10 + ((r * 7 + c * 13) % 17) / 100.0, 'f', 2));
}

void ReadComputeAndPlot(benchmark::State& state)
{
    EnsureApplication();
    TF1Book book;
    FillSubgroupTable(book);
    TChartData data;
    data.ChartFactors = ChartFactors;
    for (auto _ : state) {
        TVstupStandardnejNeistoty rec;
        rec.TSN = 12;
        const int count = ReadSubgroupTable(TF1BookCells(book), QStringLiteral("d.M.yyyy"), rec, data);
        QString reason;
        if (count != 500 || !LoadChartDataFromInput(data, rec, reason)
            || !ComputeSubgroupChart(data, {}, {}, rec, reason))
            state.SkipWithError("the chart did not compute");
        TChartPlotOptions options;
        options.Method = 12;
        const TChartPlot plot = BuildChartPlot(data, options);
        benchmark::DoNotOptimize(plot.AxisMaximum);
    }
}
BENCHMARK(ReadComputeAndPlot)->Unit(benchmark::kMillisecond);

void FillSpreadsheet(benchmark::State& state)
{
    EnsureApplication();
    for (auto _ : state) {
        TF1Book book;
        book.SetMaxRow(1000);
        book.SetMaxCol(22);
        for (int r = 1; r <= 1000; ++r)
            for (int c = 1; c <= 22; ++c)
                book.SetTextRC(r, c, QString::number(r + c));
        benchmark::DoNotOptimize(book.TextRC(1000, 22));
    }
}
BENCHMARK(FillSpreadsheet)->Unit(benchmark::kMillisecond);

void ShowThousandPoints(benchmark::State& state)
{
    EnsureApplication();
    TChartData data;
    for (int i = 1; i <= 1000; ++i) {
        data.ChartPointValues[size_t(i)][0] = 10 + (i % 13) / 10.0;
        data.ChartSubgroupSizes[size_t(i)] = 1;
    }
    data.ChartPointCount = data.ChartUsedCount = 1000;
    data.ChartUCL = 12;
    data.ChartLCL = 9;
    data.ChartCenterLine = 10.6;
    data.ChartSD = 0.4;
    const TChartPlot plot = BuildChartPlot(data, {});
    TChart chart;
    chart.resize(800, 500);
    for (auto _ : state) {
        ShowChartPlot(chart, plot);
        ShowChartBottomAxis(chart, plot);
        benchmark::DoNotOptimize(chart.grab());
    }
}
BENCHMARK(ShowThousandPoints)->Unit(benchmark::kMillisecond);

} // namespace

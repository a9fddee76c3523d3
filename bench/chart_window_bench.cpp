// One recompute of the subgroup chart window's logic on a full table: 1,000 subgroups
// of 20 values in 2,000 rows, every other row empty. The stages are timed one by one
// (compacting the table, reading it, computing the chart and its run tests, the
// statistics and intermediate tables rendered into a document, the plot); the counters
// give each stage's milliseconds per recompute; "intermediate_markup" and
// "intermediate_render" are the parts of the tables stage spent on building and on
// rendering the intermediate table. The table is copied
// afresh before each recompute, outside the timed stages.

#include "core/common_vars.h"
#include "database/chart_factors.h"
#include "engine/cell_records.h"
#include "richtext/markup_render.h"
#include "richtext/report_table.h"
#include "sources/chart_data.h"
#include "sources/chart_plot.h"
#include "sources/chart_point_table.h"
#include "sources/chart_rules.h"
#include "sources/chart_tables.h"
#include "sources/chart_window_grid.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

using namespace orvek;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 2000;
constexpr int kCols = 22;

void EnsureApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "chart_window_bench";
    static char* argv[] = { name, nullptr };
    new QGuiApplication(argc, argv);
    // The texts of the tables come from the build's string table when it lies beside us.
    const QString folder = QGuiApplication::applicationDirPath() + QStringLiteral("/");
    if (QDir(folder + QStringLiteral("Strings")).exists())
        AppDir = folder;
    ChartFactors[20] = { 0.671, 0.180, 0.680, 1.549, 5.921, 0.415, 1.585, 3.735, 0.9869 };
}

// The window's point table held in memory.
class MemoryTable : public TChartCellTable {
public:
    MemoryTable()
        : cells_(size_t(kRows) * kCols)
    {
    }
    int MaxRow() const override { return kRows; }
    int MaxCol() const override { return kCols; }
    QString CellText(int row, int col) const override { return cells_[Index(row, col)]; }
    QString ShownText(int row, int col) const override { return CellText(row, col); }
    void SetCellText(int row, int col, const QString& text) override { cells_[Index(row, col)] = text; }

private:
    static size_t Index(int row, int col) { return size_t(row - 1) * kCols + size_t(col - 1); }
    std::vector<QString> cells_;
};

// Rows 1, 3, 5 ... hold a dated subgroup of 20 values; the rows between are empty.
MemoryTable FullTable()
{
    MemoryTable table;
    for (int s = 0; s < 1000; ++s) {
        const int row = 2 * s + 1;
        table.SetCellText(row, 1, QDate(2025, 1, 1).addDays(s).toString(QStringLiteral("d.M.yyyy")));
        table.SetCellText(row, 2, QStringLiteral("Eva"));
        for (int c = 3; c <= kCols; ++c)
            table.SetCellText(row, c, QString::number(10 + ((row * 7 + c * 13) % 17) / 100.0, 'f', 2));
    }
    return table;
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void SubgroupWindowRecompute(benchmark::State& state)
{
    EnsureApplication();
    const MemoryTable full = FullTable();
    TChartData data;
    data.ChartFactors = ChartFactors;
    data.ChartNumberMask = QStringLiteral("0.00");
    QTextDocument statisticsPage, intermediatePage;
    double compact = 0, read = 0, compute = 0, tables = 0, markupTime = 0, intermediate = 0, plot = 0;
    for (auto _ : state) {
        MemoryTable table = full;
        TVstupStandardnejNeistoty rec;
        ClearUncertaintyInput(rec);
        rec.TSN = 12;

        const Clock::time_point t0 = Clock::now();
        if (CheckAndCompactChartTable(table, QStringLiteral("Control chart")))
            state.SkipWithError("the table was refused");
        const Clock::time_point t1 = Clock::now();
        if (ReadSubgroupTable(table, QStringLiteral("d.M.yyyy"), rec, data) != 1000)
            state.SkipWithError("not every subgroup was read");
        const Clock::time_point t2 = Clock::now();
        QString reason;
        if (!LoadChartDataFromInput(data, rec, reason) || !ComputeSubgroupChart(data, {}, {}, rec, reason))
            state.SkipWithError("the chart did not compute");
        CheckChartRules(data, rec.OV_8, 12);
        const Clock::time_point t3 = Clock::now();
        {
            ReportTableOwner owner;
            QString markup;
            BuildSubgroupStatisticsTable(data, rec, markup);
            BuildRuleTestTable(data, markup);
            RenderMarkupToRichEdit(ReportFontSize, ReportFontName, false, &statisticsPage, markup);
        }
        const Clock::time_point t4 = Clock::now();
        const QString intermediateMarkup = BuildSubgroupIntermediateMarkup(data, table, 1, 1000, false);
        const Clock::time_point t5 = Clock::now();
        RenderMarkupToRichEdit(ReportFontSize, ReportFontName, false, &intermediatePage, intermediateMarkup);
        const Clock::time_point t6 = Clock::now();
        TChartPlotOptions options;
        options.Method = 12;
        options.DetailWindow = true;
        const TChartPlot drawn = BuildChartPlot(data, options);
        benchmark::DoNotOptimize(drawn.AxisMaximum);
        const Clock::time_point t7 = Clock::now();

        compact += Milliseconds(t1 - t0);
        read += Milliseconds(t2 - t1);
        compute += Milliseconds(t3 - t2);
        tables += Milliseconds(t6 - t3);
        markupTime += Milliseconds(t5 - t4);
        intermediate += Milliseconds(t6 - t5);
        plot += Milliseconds(t7 - t6);
        state.SetIterationTime(std::chrono::duration<double>(t7 - t0).count());
    }
    const auto perRecompute = [&](double total) { return benchmark::Counter(total / double(state.iterations())); };
    state.counters["compact_ms"] = perRecompute(compact);
    state.counters["read_ms"] = perRecompute(read);
    state.counters["compute_ms"] = perRecompute(compute);
    state.counters["tables_ms"] = perRecompute(tables);
    state.counters["intermediate_markup_ms"] = perRecompute(markupTime);
    state.counters["intermediate_render_ms"] = perRecompute(intermediate);
    state.counters["plot_ms"] = perRecompute(plot);
}
BENCHMARK(SubgroupWindowRecompute)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

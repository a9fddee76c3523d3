// Rendering the mark-up of a 200-page report (about 1 MB, with tables) into a rich-text
// document and laying it out on A4 pages; writing that document as RTF; reading the RTF
// back.

#include "platform/rtf_reader.h"
#include "platform/rtf_writer.h"
#include "richtext/markup_render.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPageSize>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <chrono>

using namespace orvek;

namespace {

// Fonts and text layout need the application object before any benchmark runs.
QGuiApplication* MakeApplication()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "richtext_bench";
    static char* argv[] = { name, nullptr };
    return new QGuiApplication(argc, argv);
}
QGuiApplication* const kApplication = MakeApplication();

QString ReportMarkup()
{
    const QString CR = "\r";
    QString text;
    for (int page = 1; page <= 200; ++page) {
        text += QString("[cfcenter][cf3][cfsize14]%1. Uncertainty budget of the measurement[cf1]").arg(page) + CR;
        for (int p = 0; p < 6; ++p)
            text += "The model [cf2]m[cf1][cf15]x[cf1] = [cf2]m[cf1][cf15]r[cf1] + ;gd[cf2]m[cf1] gives the "
                    "estimate 10 000,005 g with the standard uncertainty 0,045 mg at 20 ;dgC ;pm 0,5 K; "
                    "the degrees of freedom ;gn = ;NE and the coverage factor k = 2,00 ;me 2. Meranie "
                    ";aui;agi;ago;akl;aks;akc v;akc;aks [cfcolorred]poznamka[cf1]."
                + CR;
        text += CR + ":TABLE_BEGIN[6,13]10,50,1250,2850,4250,5650,7050,8450,";
        text += "[cf3]Quantity[cf1]\t[cf3]Estimate[cf1]\t[cf3]u(x)[cf1]\t[cf3]Distribution[cf1]\t"
                "[cf3]c[cf15]i[cf1][cf1]\t[cf3]u[cf15]i[cf1](y)[cf1]"
            + CR;
        for (int r = 0; r < 12; ++r)
            text += QString("[cf2]X[cf1][cf15]%1[cf1]\t%2,0051 g\t0,0%3 mg\tnormal\t1,0\t0,0%3 mg")
                        .arg(r)
                        .arg(page)
                        .arg(r + 10)
                + CR;
        text += ":TABLE_END" + CR;
        for (int p = 0; p < 8; ++p)
            text += "Result: [cf3]m = (10 000,005 ;pm 0,090) g[cf1], where the number following the symbol ;pm is "
                    "the numerical value of the expanded uncertainty U = k u with k = 2, determined from a "
                    "normal distribution with a coverage probability of approximately 95 %."
                + CR;
    }
    return text;
}

const QString& Markup()
{
    static const QString markup = ReportMarkup();
    return markup;
}

void LayOut(QTextDocument& doc)
{
    doc.setPageSize(QPageSize(QPageSize::A4).size(QPageSize::Point));
    benchmark::DoNotOptimize(doc.pageCount());
}

void BM_RenderReport(benchmark::State& state)
{
    int pages = 0;
    double renderSeconds = 0;
    for (auto _ : state) {
        QTextDocument doc;
        const auto start = std::chrono::steady_clock::now();
        RenderMarkupToRichEdit(10, "Arial", true, &doc, Markup());
        renderSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        LayOut(doc);
        pages = doc.pageCount();
    }
    state.counters["without_layout_s"] = renderSeconds / double(state.iterations());
    state.counters["markup_bytes"] = double(Markup().size());
    state.counters["pages"] = pages;
}
BENCHMARK(BM_RenderReport)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriteRtf(benchmark::State& state)
{
    QTextDocument doc;
    RenderMarkupToRichEdit(10, "Arial", true, &doc, Markup());
    QByteArray rtf;
    for (auto _ : state)
        rtf = WriteRtf(&doc);
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_WriteRtf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadRtf(benchmark::State& state)
{
    QTextDocument source;
    RenderMarkupToRichEdit(10, "Arial", true, &source, Markup());
    const QByteArray rtf = WriteRtf(&source);
    for (auto _ : state) {
        QTextDocument doc;
        ReadRtfDocument(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

// The full report of generated models (125 to 1,000 inputs, one source each) from the
// evaluated model to the preview: the report text, its rendering into the report
// control, the pagination and the two pages the preview opens on, each timed on its
// own; then the recording of every other page, as printing does. The counters give the
// pages, the seconds of each stage and the times per page, whose ratio between the sizes
// shows whether a page costs more in a longer report.

#include "bench/generated_model.h"
#include "core/common_vars.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/markup_render.h"
#include "richtext/report_texts.h"
#include "richtext/ui/preview_printer.h"

#include <QApplication>
#include <QDir>
#include <QString>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

using namespace orvek;

QApplication* MakeApplication()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "report_pages_bench";
    static char* argv[] = { name, nullptr };
    auto* app = new QApplication(argc, argv);
    const QString folder = QApplication::applicationDirPath() + QStringLiteral("/");
    if (QDir(folder + QStringLiteral("Strings")).exists())
        AppDir = folder;
    return app;
}
QApplication* const kApplication = MakeApplication();

class SilentDialogs : public DialogHandler {
public:
    int MessageDlg(const QString&, TMsgDlgType, TMsgDlgButtons, int) override { return mrCancel; }
    bool OpenFileDialog(FileDialogRequest&) override { return false; }
    bool SaveFileDialog(FileDialogRequest&) override { return false; }
    bool ColorDialog(std::uint32_t&) override { return false; }
    bool FontDialog(QString&, int&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
};

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Args: inputs, report sections (31: every section but the diagram, with a description
// of every cell; 27: without the descriptions, mostly long tables).
void BM_FullReportToPages(benchmark::State& state)
{
    static SilentDialogs dialogs;
    SetDialogHandler(&dialogs);
    SignificantDigits = 2;
    ReportFontSize = 10;
    ReportSections = quint16(state.range(1));
    UpdateHeadingMarkup();
    auto root = bench::GeneratedModel(int(state.range(0)), 1);
    root->Calculate();
    if (root->FCombinedUncertainty.isEmpty()) {
        state.SkipWithError("the generated model does not evaluate");
        return;
    }
    TPreviewPrinter printer;
    double text = 0, render = 0, paginate = 0, shown = 0, all = 0, bytes = 0;
    int pages = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        const QString markup = FullReportText(*root);
        text += Since(start);
        TRichEdit98 edit;
        start = std::chrono::steady_clock::now();
        RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, edit.document(), markup);
        render += Since(start);
        start = std::chrono::steady_clock::now();
        printer.PrintRichEdit(true, edit);
        paginate += Since(start);
        pages = printer.PageCount();
        // The preview opens on two pages.
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < std::min(2, pages); ++i)
            benchmark::DoNotOptimize(printer.GetPage(i));
        shown += Since(start);
        // Printing records every page.
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < pages; ++i)
            benchmark::DoNotOptimize(printer.GetPage(i));
        all += Since(start);
        for (int i = 0; i < pages; ++i)
            bytes += double(printer.GetPage(i)->size());
    }
    const double n = double(state.iterations());
    state.counters["pages"] = pages;
    state.counters["text_s"] = text / n;
    state.counters["render_s"] = render / n;
    // Report to preview: the pagination and the two pages the preview opens on.
    state.counters["to_preview_s"] = (text + render + paginate + shown) / n;
    state.counters["paginate_s"] = paginate / n;
    state.counters["paginate_ms_per_page"] = pages ? 1000.0 * paginate / n / pages : 0.0;
    // The pages still to be recorded when the whole report is printed.
    state.counters["print_ms_per_page"] = pages ? 1000.0 * all / n / pages : 0.0;
    state.counters["page_kb"] = pages ? bytes / 1024 / n / pages : 0.0;
}
BENCHMARK(BM_FullReportToPages)
    ->ArgsProduct({ { 125, 250, 500, 1000 }, { 31, 27 } })
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace

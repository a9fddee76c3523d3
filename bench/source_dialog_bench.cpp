// The uncertainty-source dialog as the cell tool opens it, offscreen: creating the
// dialog alone, and one whole opening (create, load, compute u and the degrees of
// freedom) of a series of 500 readings (method 9) and of a control chart of 1,000
// individual values (method 11). The dialog is created for every opening.

#include "core/common_vars.h"
#include "engine/cell.h"
#include "sources/ui/source_dialog.h"

#include <QApplication>
#include <QDate>
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

using namespace orvek;

void EnsureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "source_dialog_bench";
    static char* argv[] = { name, nullptr };
    new QApplication(argc, argv);
    AppDir = ProgramFolder();
    LanguageID = 0;
    EditMode = 2;
    SignificantDigits = 2;
    EvaluateTreeHook = nullptr;
}

TPrenosInfoDoNovejBunky Info(quint8 kind, const QString& name, const QString& value = {})
{
    TPrenosInfoDoNovejBunky info;
    info.CellType = kind;
    info.CellName = name;
    info.Symbol = name;
    info.Value = value;
    info.Active = 1;
    return info;
}

// A quantity with a value and one source, the dialog's owner.
struct Owner {
    Owner()
    {
        root = std::make_unique<TCell>(nullptr, Info(kEquationCell, "y"), 20, 20, nullptr);
        quantity = root->AddChild(Info(kQuantityCell, "x"));
        quantity->FValue.Text = QStringLiteral("100");
        source = quantity->AddChild(Info(kUncertaintyCell, "u"));
    }
    std::unique_ptr<TCell> root;
    TCell* quantity = nullptr;
    TCell* source = nullptr;
};

TVstupStandardnejNeistoty Readings500()
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = 9;
    rec.PM_6 = 500;
    for (int i = 0; i < 500; ++i)
        rec.VM_6.Text += QString::number(100 + (i % 17) * 0.013 - (i % 5) * 0.021, 'f', 3) + "@";
    return rec;
}

TVstupStandardnejNeistoty Chart1000()
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = 11;
    rec.OV_7 = 0;
    rec.PM_7 = 1000;
    for (int i = 0; i < 1000; ++i) {
        rec.VM_7.Text += QString::number(10 + (i % 13) * 0.01 - (i % 7) * 0.015, 'f', 3) + "@";
        rec.DM_7 += QDate(2020, 1, 1).addDays(i).toString("d.M.yyyy") + "@";
        rec.Meral_7 += QStringLiteral("eva@");
    }
    return rec;
}

void OpenAndCompute(Owner& owner, const TVstupStandardnejNeistoty& rec)
{
    TfOrvek6 dialog;
    dialog.RefreshTexts();
    dialog.ClearInputs();
    dialog.FOwnerCell = owner.quantity;
    dialog.FSourceCell = owner.source;
    dialog.FInput = rec;
    dialog.FCellName = QStringLiteral("u");
    dialog.LoadUncertaintyInput();
    bool failed = false, dofFailed = false;
    dialog.ComputeUncertainty(failed);
    dialog.CollectDegreesOfFreedom(dofFailed);
    benchmark::DoNotOptimize(dialog.FInput.HSN);
    if (dialog.FInput.HSN.isEmpty())
        throw std::runtime_error("no standard uncertainty");
}

void BM_CreateDialog(benchmark::State& state)
{
    EnsureApplication();
    for (auto _ : state) {
        TfOrvek6 dialog;
        dialog.RefreshTexts();
        dialog.ClearInputs();
        benchmark::DoNotOptimize(dialog.FLoaded);
    }
}
BENCHMARK(BM_CreateDialog)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenSeriesOf500Readings(benchmark::State& state)
{
    EnsureApplication();
    Owner owner;
    const TVstupStandardnejNeistoty rec = Readings500();
    for (auto _ : state)
        OpenAndCompute(owner, rec);
}
BENCHMARK(BM_OpenSeriesOf500Readings)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenChartOf1000Points(benchmark::State& state)
{
    EnsureApplication();
    Owner owner;
    const TVstupStandardnejNeistoty rec = Chart1000();
    for (auto _ : state)
        OpenAndCompute(owner, rec);
}
BENCHMARK(BM_OpenChartOf1000Points)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

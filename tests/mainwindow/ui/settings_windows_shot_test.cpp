// Pictures of the settings dialog's two pages and of both summary windows, for looking
// at: written only when ORVEK_SHOTS_DIR names a folder.

#include "core/common_vars.h"
#include "core/settings.h"
#include "engine/cell.h"
#include "engine/evaluation.h"
#include "mainwindow/ui/cell_properties_dialog.h"
#include "mainwindow/ui/summary_windows.h"
#include "mainwindow/ui/table_quantities.h"
#include "tests/database/ui/when_shown.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace orvek {
namespace {

using test::WhenShown;

TEST(SettingsWindowsShots, Pictures)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ORVEK_SHOTS_DIR to write the pictures";
    QDir().mkpath(folder);
    AppDir = test::TestProgramFolder();
    LanguageID = 0;
    SignificantDigits = 2;
    SetDefaultDiagramSettings();
    ScaleLayoutToZoom();

    TfOrvekVlastnostiBunky dialog;
    WhenShown<TfOrvekVlastnostiBunky>([&](TfOrvekVlastnostiBunky& d) {
        QTest::qWait(100);
        d.grab().save(folder + "/settings_cells.png");
        d.PageControl1->setCurrentIndex(1);
        QTest::qWait(100);
        d.grab().save(folder + "/settings_general.png");
        d.Button_Cancel->click();
    });
    dialog.ShowSettingsDialog();

    auto info = [](quint8 kind, const QString& name, const QString& symbol) {
        TPrenosInfoDoNovejBunky i;
        i.CellType = kind;
        i.CellName = name;
        i.Symbol = symbol;
        i.Active = 1;
        return i;
    };
    TCell result(nullptr, info(kEquationCell, "Mass of the weight", "m"), 20, 20, nullptr);
    result.FQuantityName.Text = "mass of the ;ga-sample";
    result.FUnit.Text = "kg";
    result.FValue.Text = "1.000234";
    result.FCombinedUncertainty = "0.0000123";
    result.FExpandedUncertainty = "0.0000246";
    result.FRelativeUncertainty = "0.00123";
    result.FRelativeExpandedUncertainty = "0.00246";
    result.FDegreesOfFreedom = "Nekonecno";
    result.FCoverageFactor.Text = "2";
    TfSummaryDesc summary;
    summary.ShowCellSummary(&result);
    QTest::qWait(100);
    summary.grab().save(folder + "/result_summary.png");

    std::vector<std::unique_ptr<TCell>> cells;
    const char* rows[][5]
        = { { "l", "m", "1.2345", "0.0012", "Length of the gauge block" }, { "T", "°C", "20,5", "0.1", "Temperature" },
              { "a", "m/s[cf11]2[cf1]", "9.81", "1.2E-5", "Acceleration" }, { "y", "m", "", "", "Sub-result" } };
    QuantityList.Clear();
    for (auto& r : rows) {
        cells.push_back(std::make_unique<TCell>(
            nullptr, info(r[0][0] == 'y' ? kEquationCell : kQuantityCell, r[4], r[0]), 20, 20, nullptr));
        cells.back()->FUnit.Text = r[1];
        cells.back()->FValue.Text = r[2];
        cells.back()->FValue.Lock = r[0][0] == 'T' ? 1 : 0;
        QuantityEntry& e = QuantityList[++QuantityList.Count];
        e.Cell = cells.back().get();
        e.ValueText = r[2];
        e.UncertaintyText = r[3];
    }
    TfTableQuantites table;
    table.LoadQuantityTable(1);
    WhenShown<TfTableQuantites>([&](TfTableQuantites& w) {
        QTest::qWait(150);
        w.grab().save(folder + "/summary_of_quantities.png");
        w.CancelButton->click();
    });
    table.ShowModal();
    QuantityList.Clear();
}

} // namespace
} // namespace orvek

// Pictures of the source dialog for looking at it: written only when ORVEK_SHOTS names
// a folder (run under xvfb-run with QT_QPA_PLATFORM=xcb for real fonts).

#include "tests/sources/ui/source_dialog_fixture.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

namespace orvek::test {
namespace {

class SourceDialogScreens : public SourceDialogFixture { };

TVstupStandardnejNeistoty Method(int method)
{
    TVstupStandardnejNeistoty rec;
    rec.TSN = quint8(method);
    return rec;
}

TEST_F(SourceDialogScreens, Pages)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS names no folder";
    QDir().mkpath(folder);
    for (int language : { 0, 1 }) {
        LanguageID = quint8(language);
        const QString suffix = language == 0 ? QStringLiteral("en") : QStringLiteral("sk");
        struct Shot {
            const char* name;
            TVstupStandardnejNeistoty rec;
        };
        std::vector<Shot> shots;
        TVstupStandardnejNeistoty rect = Method(1);
        rect.IS_2_1.Text = "0.5";
        rect.HSN = "0.288675134594813";
        shots.push_back({ "rectangular", rect });
        TVstupStandardnejNeistoty estimate = Method(0);
        estimate.KO.Text = "0,02";
        estimate.HSN = "0,02";
        estimate.PSV_1.Text = "12";
        shots.push_back({ "estimate", estimate });
        TVstupStandardnejNeistoty normal = Method(4);
        normal.IS_2_4.Text = "2 %";
        normal.USType = 2;
        normal.HS = 3;
        shots.push_back({ "normal", normal });
        TVstupStandardnejNeistoty trapezoid = Method(10);
        trapezoid.TFa_2_6.Text = "0.5";
        trapezoid.PD_2_6.Text = "1";
        shots.push_back({ "trapezoid", trapezoid });
        TVstupStandardnejNeistoty series = Method(6);
        series.PM_3 = 5;
        series.VM_3.Text = "10.01@10.03@9.98@10.00@10.02@";
        series.AP_3 = "10.008";
        series.SO_3 = "0.0192353840616713";
        series.SOPr_3 = "0.00860232526704263";
        series.RSOPr_3 = "0.0859544890791629";
        series.PSV_3 = "4";
        series.HSN = series.SOPr_3;
        shots.push_back({ "series", series });
        TVstupStandardnejNeistoty relative = Method(9);
        relative.PM_6 = 4;
        relative.VM_6.Text = "99.8@100.1@100.3@99.9@";
        shots.push_back({ "relative", relative });
        TVstupStandardnejNeistoty pairs = Method(14);
        pairs.PM_10 = 3;
        pairs.VM_10.Text = "10.1#0.2@10.3#0.1@10.2#0.3@";
        shots.push_back({ "pairs", pairs });
        TVstupStandardnejNeistoty chart = Method(11);
        chart.PM_7 = 8;
        chart.VM_7.Text = "10.1@10.3@9.9@10.0@10.2@10.4@9.8@10.1@";
        chart.DM_7 = "1.3.2024@2.3.2024@3.3.2024@4.3.2024@5.3.2024@6.3.2024@7.3.2024@8.3.2024@";
        chart.Meral_7 = "eva@jan@eva@jan@eva@jan@eva@jan@";
        shots.push_back({ "chart", chart });
        for (const Shot& shot : shots) {
            TfOrvek6& d = OpenExisting(shot.rec);
            d.show();
            QApplication::processEvents();
            if (shot.rec.TSN == 6 || shot.rec.TSN == 9 || shot.rec.TSN == 14) {
                d.Button_RecalculateClick();
                QApplication::processEvents();
            }
            d.grab().save(folder + "/" + shot.name + "-" + suffix + ".png");
            d.hide();
        }
        // The settings sheet of the chart page.
        TfOrvek6& chartDialog = OpenExisting(shots.back().rec);
        chartDialog.show();
        chartDialog.Page7.PageControl_7->setCurrentIndex(0);
        QApplication::processEvents();
        chartDialog.grab().save(folder + "/chart-settings-" + suffix + ".png");
        chartDialog.hide();
        TfOrvek6& fresh = OpenNew();
        fresh.show();
        QApplication::processEvents();
        fresh.grab().save(folder + "/new-" + suffix + ".png");
        fresh.hide();
    }
    LanguageID = 0;
}

} // namespace
} // namespace orvek::test

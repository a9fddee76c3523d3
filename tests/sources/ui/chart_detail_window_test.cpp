// The chart windows of individual values and of subgroups: loading the dialog's table,
// checking and computing it, the evaluated range, the options, the out-of-control
// indicator, the copies, closing, and the round trip with the real source dialog.

#include "tests/sources/ui/source_dialog_fixture.h"

#include "core/common_vars.h"
#include "core/services.h"
#include "core/string_table.h"
#include "database/chart_factors.h"
#include "engine/cell.h"
#include "platform/plain_text.h"
#include "platform/rtf_reader.h"
#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "sources/chart_data.h"
#include "sources/ui/chart_detail_window.h"
#include "sources/ui/orvek_message.h"
#include "tests/sources/chart_fixtures.h"
#include "tests/sources/comma_locale.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace orvek::test {
namespace {

// A table as the dialog lays it out: Rows rows, 1 (individuals) or 20 value columns;
// Cells gives rows from row 1, each "date|operator|value|value...".
void FillTable(TF1Book& table, int valueColumns, int rows, const QStringList& cells)
{
    table.SetMaxCol(valueColumns + 2);
    table.SetMaxRow(rows);
    for (int r = 0; r < cells.size(); ++r) {
        const QStringList row = cells[r].split('|');
        for (int c = 0; c < row.size(); ++c)
            table.SetTextRC(r + 1, c + 1, row[c]);
    }
}

// Values V as rows without date or operator.
QStringList ValueRows(const QStringList& values)
{
    QStringList rows;
    for (const QString& v : values)
        rows << "||" + v;
    return rows;
}

// Runs Action on the first modal window of type T to show up (polled, as a modal loop
// may start after other event processing).
template <typename T> void WhenModal(std::function<void(T*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(w);
        }
    });
    timer->start();
}

const QStringList kSteady = { "10", "10.1", "9.9", "10", "10.2", "9.8", "10", "10.1", "9.9", "10" };
// The last point lies far above the others' limits.
const QStringList kOutOfControl = { "10", "10.1", "9.9", "10", "10.2", "9.8", "10", "10.1", "9.9", "15" };

class ChartDetailWindow : public SourceDialogFixture {
protected:
    void SetUp() override
    {
        SourceDialogFixture::SetUp();
        DialogScript::Instance().Reset();
        ChartFactors = PublishedChartFactors();
        ChartData = TChartData();
        ChartData.ChartFactors = ChartFactors;
        ChartData.ChartNumberMask = "0.0";
        ChartData.SourceQuantityValue = "50";
        ChartType = 0;
        IndividualsDetailComment.clear();
        SubgroupDetailComment.clear();
    }
    void TearDown() override
    {
        window.reset();
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        DialogScript::Instance().Reset();
        SourceDialogFixture::TearDown();
    }

    // A window of Method loaded with Source as the dialog loads it, and computed.
    TChartDetailForm& Open(int method, const TF1Book& source, TChartDetailSettings settings = {})
    {
        TVstupStandardnejNeistoty rec;
        ClearUncertaintyInput(rec);
        rec.TSN = quint8(method);
        return Open(rec, source, settings);
    }
    TChartDetailForm& Open(
        const TVstupStandardnejNeistoty& rec, const TF1Book& source, TChartDetailSettings settings = {})
    {
        std::unique_ptr<TChartDetailWindow> made = MakeChartDetailWindow(rec.TSN, nullptr);
        window.reset(static_cast<TChartDetailForm*>(made.release()));
        window->SetMethodText("Control chart");
        window->Prepare(rec, settings, source);
        window->Compute();
        return *window;
    }

    static QLineSeries& Points(TChartDetailForm& w) { return *w.RegulacnyDiagram->Series(0); }

    TF1Book source;
    std::unique_ptr<TChartDetailForm> window;
};

TEST_F(ChartDetailWindow, LoadsTheDialogsTableAndComputesIt)
{
    // A gap of many rows: the rows after it are loaded and move up at the computation.
    QStringList rows = ValueRows(kSteady.mid(0, 5));
    rows[0] = "2.3.2026|Eva|10";
    for (int i = 0; i < 30; ++i)
        rows << "||";
    rows << ValueRows(kSteady.mid(5));
    FillTable(source, 1, 200, rows);
    source.SetColHidden(2, true);
    TChartDetailForm& w = Open(11, source);

    EXPECT_EQ(w.Grid->MaxCol(), 3);
    EXPECT_EQ(w.Grid->MaxRow(), 200);
    EXPECT_EQ(w.Grid->ColText(3), GetString(952, { "1" }));
    EXPECT_TRUE(w.SpeedButton_Hide_Show->isChecked());
    EXPECT_EQ(w.Grid->TextRC(1, 1), "2.3.2026");
    EXPECT_EQ(w.Grid->TextRC(1, 2), "Eva");
    // Compacted: ten points in rows 1..10 and nothing below.
    EXPECT_EQ(w.Grid->TextRC(6, 3), "9.8");
    EXPECT_EQ(w.Grid->TextRC(10, 3), "10");
    EXPECT_TRUE(w.Grid->TextRC(41, 3).isEmpty());
    EXPECT_EQ(w.FInput.PM_7, 10);
    EXPECT_EQ(w.FInput.USType, 1);
    EXPECT_FALSE(w.FInput.HSN.isEmpty());
    EXPECT_FALSE(w.RichEdit_RD_Statistika->toPlainText().isEmpty());
    EXPECT_TRUE(w.RichEdit_SDi_Ri->toPlainText().contains("10."));
    EXPECT_EQ(Points(w).count(), 10);
    EXPECT_EQ(w.PageControl1->currentWidget(), w.TabSheet1);
    EXPECT_FALSE(w.FModified);
    EXPECT_TRUE(w.Panel_ShowErrorStatistics->isHidden());

    // OK follows the modified flag through Timer1.
    w.Timer1Timer();
    EXPECT_FALSE(w.Button_OK->isEnabled());
    w.Edit_CentralnaLinia_X->setText("10");
    w.Timer1Timer();
    EXPECT_TRUE(w.Button_OK->isEnabled());
}

TEST_F(ChartDetailWindow, BadTablesAreRefusedAtTheCellAndKeepTheirValues)
{
    const struct {
        int method;
        QStringList rows;
        QString message;
        int row, col;
    } cases[] = {
        { 11, ValueRows({ "10", "11", "1x", "12" }), GetString(179, { "1x" }), 3, 3 },
        { 11, ValueRows({ "", "", "7" }), GetString(950, { " ", "Control chart" }), 3, 3 },
        { 12, { "||1|2", "||3|", "||5|6", "||7|8" }, GetString(987, { "2" }), 2, 4 },
    };
    for (const auto& c : cases) {
        FillTable(source, c.method == 11 ? 1 : 20, 40, c.rows);
        DialogScript::Instance().AnswerMessage(mrRetry);
        TChartDetailForm& w = Open(c.method, source);
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), c.message);
        EXPECT_EQ(w.Grid->Row(), c.row);
        EXPECT_EQ(w.Grid->Col(), c.col);
        EXPECT_TRUE(w.FInput.HSN.isEmpty());
        for (int r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(w.Grid->TextRC(r + 1, 3), c.rows[r].split('|').value(2)) << "row " << r + 1;
        DialogScript::Instance().Reset();
        window.reset();
        source.clear();
    }
}

TEST_F(ChartDetailWindow, NewRangeMarksItsRowsAndPointsAndWholeRangeClearsThem)
{
    FillTable(source, 1, 40, ValueRows(kSteady));
    TChartDetailForm& w = Open(11, source);

    // Four rows are too few.
    w.Grid->SetSelection(2, 3, 5, 3);
    DialogScript::Instance().AnswerMessage(mrRetry);
    w.SpeedButton_NovyRozsahClick();
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(978));
    EXPECT_EQ(w.FInput.UR_7, 0);

    w.Grid->SetSelection(3, 3, 7, 3);
    w.SpeedButton_NovyRozsahClick();
    EXPECT_EQ(w.FInput.UR_7, 1);
    EXPECT_EQ(w.FInput.R_OD_7, 3);
    EXPECT_EQ(w.FInput.R_DO_7, 7);
    EXPECT_TRUE(w.FModified);
    EXPECT_EQ(w.Grid->FillRC(3, 1), QColor(Qt::cyan));
    EXPECT_EQ(w.Grid->FillRC(7, 3), QColor(Qt::cyan));
    EXPECT_FALSE(w.Grid->FillRC(8, 3).isValid());
    EXPECT_EQ(IndividualsRangeFirst, 3);
    EXPECT_EQ(IndividualsRangeLast, 7);
    for (int i = 0; i < Points(w).count(); ++i)
        EXPECT_EQ(w.RegulacnyDiagram->PointColour(0, i) == QColor(Qt::cyan), i >= 2 && i <= 6) << "point " << i + 1;

    // A single row while a range is active only recomputes.
    w.Grid->SetSelection(9, 3, 9, 3);
    w.SpeedButton_NovyRozsahClick();
    EXPECT_EQ(w.FInput.R_OD_7, 3);

    w.SpeedButton_CelyRozsahClick();
    EXPECT_EQ(w.FInput.UR_7, 0);
    EXPECT_EQ(w.FInput.R_DO_7, 99999);
    EXPECT_FALSE(w.Grid->FillRC(3, 1).isValid());
    for (int i = 0; i < Points(w).count(); ++i)
        EXPECT_NE(w.RegulacnyDiagram->PointColour(0, i), QColor(Qt::cyan));
}

// The cells of a rendered page, one a string.
QStringList PageCells(const TRichEdit98& page)
{
    return page.toPlainText().split(QRegularExpression("[\\n\\t\\x{2029}\\x{fffc}]"), Qt::SkipEmptyParts);
}

TEST_F(ChartDetailWindow, AStoredRangePastTheDataEndsAtTheLastPoint)
{
    for (int method : { 11, 12 }) {
        SCOPED_TRACE(method);
        TVstupStandardnejNeistoty rec;
        ClearUncertaintyInput(rec);
        rec.TSN = quint8(method);
        (method == 11 ? rec.UR_7 : rec.UR_8) = 1;
        (method == 11 ? rec.R_OD_7 : rec.R_OD_8) = 3;
        (method == 11 ? rec.R_DO_7 : rec.R_DO_8) = 500;
        if (method == 11)
            FillTable(source, 1, 40, ValueRows(kSteady));
        else
            FillTable(source, 20, 40,
                { "||10|10.2", "||10.1|9.8", "||9.9|10.1", "||10.2|10", "||10|9.9", "||9.8|10.1", "||10.1|10",
                    "||10|10.2", "||9.9|10", "||10.1|10.1" });
        TChartDetailForm& w = Open(rec, source);
        ASSERT_FALSE(w.FInput.HSN.isEmpty());
        EXPECT_EQ(method == 11 ? w.FInput.R_DO_7 : w.FInput.R_DO_8, 500);
        // Rows 3..10 filled, none below the data.
        EXPECT_FALSE(w.Grid->FillRC(2, 3).isValid());
        EXPECT_EQ(w.Grid->FillRC(3, 1), QColor(Qt::cyan));
        EXPECT_EQ(w.Grid->FillRC(10, 3), QColor(Qt::cyan));
        EXPECT_FALSE(w.Grid->FillRC(11, 3).isValid());
        // Points 3..10 aqua (the moving-range chart starts at point 2).
        ASSERT_EQ(Points(w).count(), 10);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(w.RegulacnyDiagram->PointColour(0, i) == QColor(Qt::cyan), i >= 2) << "point " << i + 1;
        // The intermediate table lists points 3..10.
        const QStringList cells = PageCells(*w.RichEdit_SDi_Ri);
        EXPECT_FALSE(cells.contains("2."));
        EXPECT_TRUE(cells.contains("3."));
        EXPECT_TRUE(cells.contains("10."));
        EXPECT_FALSE(cells.contains("11."));

        // A new range selected past the data ends at the last point.
        w.Grid->SetSelection(6, 3, 40, 3);
        w.SpeedButton_NovyRozsahClick();
        EXPECT_EQ(method == 11 ? w.FInput.R_OD_7 : w.FInput.R_OD_8, 6);
        EXPECT_EQ(method == 11 ? w.FInput.R_DO_7 : w.FInput.R_DO_8, 10);
        EXPECT_FALSE(w.Grid->FillRC(5, 3).isValid());
        EXPECT_EQ(w.Grid->FillRC(6, 3), QColor(Qt::cyan));
        EXPECT_FALSE(w.Grid->FillRC(11, 3).isValid());
        // Rows 8..40 hold three points only: too few for a range.
        w.Grid->SetSelection(8, 3, 40, 3);
        DialogScript::Instance().AnswerMessage(mrRetry);
        w.SpeedButton_NovyRozsahClick();
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(978));
        EXPECT_EQ(method == 11 ? w.FInput.R_OD_7 : w.FInput.R_OD_8, 6);
        DialogScript::Instance().Reset();
        window.reset();
        source.clear();
    }
}

TEST_F(ChartDetailWindow, AFailedComputationKeepsTheDrawingAndSaysWhy)
{
    for (int method : { 11, 12 }) {
        SCOPED_TRACE(method);
        if (method == 11)
            FillTable(source, 1, 40, ValueRows(kSteady));
        else
            FillTable(source, 20, 40, { "||10|10.2", "||10.1|9.8", "||9.9|10.1", "||10.2|10", "||10|9.9" });
        TChartDetailForm& w = Open(method, source);
        ASSERT_FALSE(w.FInput.HSN.isEmpty());
        const int points = Points(w).count();
        const QPointF last = Points(w).at(points - 1);
        const QString ucl = w.RegulacnyDiagram->SeriesTitle(2);

        // A new point far off, and a relative u while the quantity has no value.
        w.Grid->SetTextRC(points + 1, 3, "30");
        w.Grid->SetTextRC(points + 1, 4, method == 12 ? "31" : "");
        ChartData.SourceQuantityValue.clear();
        w.ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(1);
        EXPECT_TRUE(w.FInput.HSN.isEmpty());
        EXPECT_EQ(w.RichEdit_RD_Statistika->toPlainText(), GetString(13010));
        EXPECT_EQ(Points(w).count(), points);
        EXPECT_EQ(Points(w).at(points - 1), last);
        EXPECT_EQ(w.RegulacnyDiagram->SeriesTitle(2), ucl);
        // Nor does a date option draw the half-computed state.
        DialogScript::Instance().AnswerMessage(mrRetry);
        w.CheckBox_ShowDateMeasurement->click();
        EXPECT_EQ(Points(w).count(), points);

        // With a value the same choice computes and draws the new point.
        ChartData.SourceQuantityValue = "50";
        w.SpeedButton_PrepocitatClick();
        EXPECT_FALSE(w.FInput.HSN.isEmpty());
        EXPECT_EQ(Points(w).count(), points + 1);
        window.reset();
        source.clear();
    }
}

// The dialog's edit level and value lock reach the window: a view-only or locked table
// is protected, the range and options stay usable, and at level 0 OK is never offered.
TEST_F(ChartDetailWindow, EditLevelAndValueLockComeFromTheDialog)
{
    ChartDetailFactory = &MakeChartDetailWindow;
    const struct {
        int level;
        bool locked;
        bool protectedTable;
        bool okOffered;
    } cases[] = {
        { 0, false, true, false },
        { 1, true, true, true },
        { 1, false, false, true },
        { 2, true, false, true },
    };
    for (const auto& c : cases) {
        for (int method : { 11, 12 }) {
            SCOPED_TRACE(testing::Message() << "level " << c.level << " locked " << c.locked << " method " << method);
            EditMode = quint8(c.level);
            TVstupStandardnejNeistoty rec;
            ClearUncertaintyInput(rec);
            rec.TSN = quint8(method);
            if (method == 11) {
                rec.PM_7 = 6;
                rec.VM_7.Text = "10@10.2@9.9@10.1@10@10.3@";
                rec.VM_7.Lock = c.locked ? 1 : 0;
            } else {
                rec.PM_8 = 6;
                rec.PBM_8 = "2@2@2@2@2@2@";
                rec.VM_8.Text = "10@10.2@9.9@10.1@10@10.3@9.8@10@10.1@10.2@9.9@10@";
                rec.VM_8.Lock = c.locked ? 1 : 0;
            }
            TfOrvek6& d = OpenExisting(rec);
            bool handled = false;
            WhenModal<TChartDetailForm>([&](TChartDetailForm* w) {
                handled = true;
                EXPECT_EQ(w->Grid->EnableProtection(), c.protectedTable);
                if (c.protectedTable) {
                    QApplication::clipboard()->setText("11\n");
                    w->Grid->SetSelection(2, 3, 2, 3);
                    DialogScript::Instance().AnswerMessage(mrRetry);
                    w->SpeedButton_PasteToTableClick();
                    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(22502));
                    EXPECT_EQ(w->Grid->TextRC(2, 3), method == 11 ? "10.2" : "9.9");
                }
                w->Grid->SetSelection(2, 3, 6, 3);
                w->SpeedButton_NovyRozsahClick();
                EXPECT_EQ(method == 11 ? w->FInput.UR_7 : w->FInput.UR_8, 1);
                w->ComboBox_TypDiagramu_X_R->setCurrentIndex(1);
                EXPECT_EQ(ChartData.ChartType, 1);
                w->Timer1Timer();
                EXPECT_EQ(w->Button_OK->isEnabled(), c.okOffered);
                w->Button_OKClick();
                if (w->isVisible()) {
                    EXPECT_FALSE(c.okOffered);
                    DialogScript::Instance().AnswerMessage(mrYes);
                    w->Button_Cancel->click();
                }
            });
            d.OpenChartDetail();
            ASSERT_TRUE(handled);
            EXPECT_EQ(method == 11 ? d.FInput.UR_7 : d.FInput.UR_8, c.okOffered ? 1 : 0);
            EXPECT_TRUE(DialogScript::Instance().AllAnswered());
            DialogScript::Instance().Reset();
            ChartType = 0;
            ChartData.ChartType = 0;
        }
    }
    ChartDetailFactory = nullptr;
}

// Cancel after changes asks first; after Yes the dialog's record, its chart page and
// the shared chart options are those it had before, but for the window's auto-show
// choice.
TEST_F(ChartDetailWindow, CancelGivesTheDialogItsOwnChartBack)
{
    ChartDetailFactory = &MakeChartDetailWindow;
    for (int method : { 11, 12 }) {
        SCOPED_TRACE(method);
        TVstupStandardnejNeistoty rec;
        ClearUncertaintyInput(rec);
        rec.TSN = quint8(method);
        if (method == 11) {
            rec.PM_7 = 6;
            rec.VM_7.Text = "10@10.2@9.9@10.1@10@10.3@";
            rec.DM_7 = "2.3.2026@3.3.2026@4.3.2026@9.3.2026@10.3.2026@11.3.2026@";
        } else {
            rec.PM_8 = 6;
            rec.PBM_8 = "2@2@2@2@2@2@";
            rec.VM_8.Text = "10@10.2@9.9@10.1@10@10.3@9.8@10@10.1@10.2@9.9@10@";
            rec.DM_8 = "2.3.2026@3.3.2026@4.3.2026@9.3.2026@10.3.2026@11.3.2026@";
        }
        TfOrvek6& d = OpenExisting(rec);
        d.Button_RecalculateClick();
        d.DrawChart();
        TChart& chart = method == 11 ? *d.Page7.RegulacnyDiagram_7 : *d.Page8.RegulacnyDiagram_8;
        const QList<QPointF> drawn = chart.Series(0)->points();
        const QString uclTitle = chart.SeriesTitle(2);
        const TVstupStandardnejNeistoty before = d.FInput;
        const bool okAllowed = d.FOKAllowed;
        const bool divide = ChartData.ChartDivideByDate, labels = ChartData.ChartDateLabels;
        const bool autoShow = ChartData.ChartAutoShowErrors;
        ASSERT_FALSE(drawn.isEmpty());
        ASSERT_EQ(ChartData.ChartType, 0);

        WhenModal<TChartDetailForm>([&](TChartDetailForm* w) {
            w->Grid->SetTextRC(7, 1, "12.3.2026");
            w->Grid->SetTextRC(7, 3, "12");
            w->Grid->SetTextRC(7, 4, method == 12 ? "12.2" : "");
            w->FGridEdited = true;
            w->ComboBox_TypDiagramu_X_R->setCurrentIndex(1);
            w->CheckBox_DeleniePodlaDatumu->click();
            w->cbAutoShowErrors->click();
            ASSERT_EQ(ChartData.ChartPointCount, 7);
            DialogScript::Instance().AnswerMessage(mrYes);
            w->Button_Cancel->click();
        });
        d.OpenChartDetail();
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(955));
        EXPECT_EQ(ChartType, 0);
        EXPECT_EQ(ChartData.ChartType, 0);
        EXPECT_EQ(ChartData.ChartDivideByDate, divide);
        EXPECT_EQ(ChartData.ChartDateLabels, labels);
        EXPECT_NE(ChartData.ChartAutoShowErrors, autoShow);
        EXPECT_EQ(ChartData.ChartPointCount, 6);
        EXPECT_EQ(d.FOKAllowed, okAllowed);
        const TVstupStandardnejNeistoty& after = d.FInput;
        EXPECT_EQ(after.HSN, before.HSN);
        EXPECT_EQ(method == 11 ? after.VM_7.Text : after.VM_8.Text, method == 11 ? before.VM_7.Text : before.VM_8.Text);
        EXPECT_EQ(method == 11 ? after.PM_7 : after.PM_8, method == 11 ? before.PM_7 : before.PM_8);
        EXPECT_EQ(method == 11 ? after.CLX_7 : after.CLX_8, method == 11 ? before.CLX_7 : before.CLX_8);
        EXPECT_EQ(method == 11 ? after.DD_7 : after.DD_8, method == 11 ? before.DD_7 : before.DD_8);
        EXPECT_EQ(method == 11 ? after.DPD_7 : after.DPD_8, method == 11 ? before.DPD_7 : before.DPD_8);
        EXPECT_EQ(chart.Series(0)->points(), drawn);
        EXPECT_EQ(chart.SeriesTitle(2), uclTitle);
        EXPECT_TRUE(d.ChartShared.SpeedButton_X_Diagram->isChecked());
        DialogScript::Instance().Reset();
        ChartData.ChartAutoShowErrors = true;
    }
    ChartDetailFactory = nullptr;
}

TEST_F(ChartDetailWindow, SubgroupRowsOfTheRangeNeedTwoValues)
{
    FillTable(source, 20, 40, { "||1|2", "||3|4", "||5|6", "||7|8", "||9|10", "||11|12" });
    TChartDetailForm& w = Open(12, source);
    ASSERT_FALSE(w.FInput.HSN.isEmpty());
    w.Grid->SetTextRC(4, 4, "");
    w.Grid->SetSelection(2, 3, 6, 3);
    DialogScript::Instance().AnswerMessage(mrRetry);
    w.SpeedButton_NovyRozsahClick();
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(987, { "4" }));
    EXPECT_EQ(w.Grid->Row(), 4);
    EXPECT_EQ(w.Grid->Col(), 4);
    EXPECT_TRUE(w.FInput.HSN.isEmpty());
}

TEST_F(ChartDetailWindow, OutOfControlPanelFollowsTheWindowsRules)
{
    for (int method : { 11, 12 }) {
        for (bool autoShow : { false, true }) {
            ChartData.ChartAutoShowErrors = autoShow;
            QStringList rows;
            if (method == 11) {
                rows = ValueRows(kOutOfControl);
                FillTable(source, 1, 40, rows);
            } else {
                rows = QStringList { "||10|10.2|9.9", "||10.1|9.8|10", "||9.9|10.1|10.2", "||10.2|10|9.8",
                    "||10|9.9|10.1", "||9.8|10.1|10", "||10.1|10|9.9", "||10|10.2|10.1", "||9.9|10|10.1",
                    "||15|15.2|15.1" };
                FillTable(source, 20, 40, rows);
            }
            TChartDetailForm& w = Open(method, source);
            ASSERT_TRUE(ChartData.ChartOutOfControl);
            EXPECT_FALSE(ChartData.ChartRuleMessage.isEmpty());
            // Only the individuals window honours the auto-show box.
            const bool shown = autoShow || method == 12;
            EXPECT_EQ(!w.Panel_ShowErrorStatistics->isHidden(), shown) << method << autoShow;
            EXPECT_TRUE(w.Timer2->isActive());
            if (!shown) {
                window.reset();
                continue;
            }
            const bool blink = w.FBlinkOn;
            w.Timer2Timer();
            EXPECT_NE(w.FBlinkOn, blink);
            w.Timer2Timer();
            EXPECT_EQ(w.FBlinkOn, blink);

            // A click opens the message window with the violated rules; the panel goes.
            QString shownRules;
            QTimer::singleShot(0, [&] {
                if (auto* box = qobject_cast<TfOrvekMessage*>(QApplication::activeModalWidget())) {
                    shownRules = box->MessageRichEdit->toPlainText();
                    box->accept();
                }
            });
            w.Panel_ShowErrorStatistics->click();
            EXPECT_TRUE(shownRules.contains(GetString(1058))) << shownRules.toStdString();
            EXPECT_TRUE(w.Panel_ShowErrorStatistics->isHidden());
            EXPECT_FALSE(w.Timer2->isActive());

            // A recompute of the same points shows it again; once corrected data violate
            // no rule it stops blinking and goes in both windows.
            w.SpeedButton_PrepocitatClick();
            EXPECT_FALSE(w.Panel_ShowErrorStatistics->isHidden());
            w.Grid->SetTextRC(10, 3, "10");
            w.Grid->SetTextRC(10, 4, method == 12 ? "10.1" : "");
            w.Grid->SetTextRC(10, 5, method == 12 ? "10" : "");
            w.SpeedButton_PrepocitatClick();
            EXPECT_FALSE(ChartData.ChartOutOfControl);
            EXPECT_TRUE(w.Panel_ShowErrorStatistics->isHidden());
            EXPECT_FALSE(w.Timer2->isActive());
            window.reset();
        }
    }
}

TEST_F(ChartDetailWindow, DateOptionsNeedEveryPointDated)
{
    CommaDecimalsPointDates locale;
    QStringList rows = ValueRows(kSteady.mid(0, 5));
    for (int i = 0; i < 5; ++i)
        rows[i] = QString("%1.3.2026||%2").arg(i * 2 + 1).arg(kSteady[i]);
    rows[3] = "||10";
    FillTable(source, 1, 40, rows);
    TChartDetailForm& w = Open(11, source);
    ASSERT_FALSE(ChartData.ChartAllDated);
    for (QCheckBox* box : { w.CheckBox_ShowDateMeasurement, w.CheckBox_DeleniePodlaDatumu }) {
        DialogScript::Instance().AnswerMessage(mrRetry);
        box->click();
        EXPECT_EQ(DialogScript::Instance().Shown().constLast(), GetString(997));
        EXPECT_FALSE(box->isChecked());
        EXPECT_FALSE(ChartData.ChartDateLabels);
    }

    // Dated after an edit: the option recomputes first, then spaces the points by days.
    w.Grid->SetTextRC(4, 1, "7.3.2026");
    w.FGridEdited = true;
    w.CheckBox_DeleniePodlaDatumu->click();
    EXPECT_TRUE(ChartData.ChartAllDated);
    EXPECT_TRUE(ChartData.ChartDivideByDate);
    EXPECT_TRUE(ChartData.ChartDateLabels);
    EXPECT_EQ(w.FInput.DPD_7, 1);
    ASSERT_EQ(Points(w).count(), 5);
    EXPECT_EQ(Points(w).at(4).x(), 9);
    EXPECT_EQ(w.RegulacnyDiagram->BottomAxisTitle(), GetString(992));
}

TEST_F(ChartDetailWindow, TypedValuesWidenTheMaskAndListCharactersAreRefused)
{
    CommaDecimalsPointDates locale;
    for (int method : { 11, 12 }) {
        ChartData.ChartNumberMask = "0,0";
        FillTable(source, method == 11 ? 1 : 20, 40,
            method == 11 ? ValueRows({ "1,5", "2,5", "3,5" }) : QStringList { "||1,5|2,5", "||3,5|4,5", "||5,5|6,5" });
        TChartDetailForm& w = Open(method, source);
        TF1Book& t = *w.Grid;
        // A new point, or a third value of a subgroup.
        const int row = method == 11 ? 4 : 3, col = method == 11 ? 3 : 5;
        t.SetSelection(row, col, row, col);
        t.edit(t.model()->index(row - 1, col - 1));
        auto* editor = qobject_cast<QLineEdit*>(t.indexWidget(t.currentIndex()));
        ASSERT_NE(editor, nullptr);
        editor->setText("4.125");
        t.EndEdit();
        EXPECT_EQ(t.TextRC(row, col), "4,125");
        EXPECT_EQ(ChartData.ChartNumberMask, "0,000");
        EXPECT_EQ(t.NumberFormatRC(1, 3), "0,000");
        EXPECT_TRUE(w.FModified);
        EXPECT_TRUE(w.FGridEdited);
        EXPECT_EQ(w.RegulacnyDiagram->ValueFormat(), "#,##0.0,000");

        // A paste that would carry an "@" into an operator cell changes nothing.
        QApplication::clipboard()->setText("1.1.2026\tX@Y\t5\n");
        t.SetSelection(5, 1, 5, 1);
        DialogScript::Instance().AnswerMessage(mrRetry);
        w.SpeedButton_PasteToTableClick();
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(22500, { "5", "2" }));
        EXPECT_TRUE(t.TextRC(5, 1).isEmpty());

        // After drawing, the subgroup chart's axis shows four decimals whatever the mask.
        w.SpeedButton_PrepocitatClick();
        EXPECT_EQ(DialogScript::Instance().Shown().size(), 1)
            << DialogScript::Instance().Shown().join("|").toStdString();
        if (method == 12) {
            EXPECT_EQ(w.RegulacnyDiagram->ValueFormat(), "#,##0.0000");
        }
        DialogScript::Instance().Reset();
        window.reset();
        source.clear();
    }
}

TEST_F(ChartDetailWindow, FullReportAndStatisticsGoToTheClipboardAsRichText)
{
    FillTable(source, 1, 40, ValueRows(kSteady));
    TChartDetailForm& w = Open(11, source);
    w.RichEdit_PopisBunky->setPlainText("Calibration of the balance");
    QApplication::clipboard()->setText("the user's text");
    w.Button_FullReportToClipboardClick();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat("text/rtf"));
    const QByteArray rtf = data->data("text/rtf");
    EXPECT_TRUE(rtf.contains("\\pict\\pngblip"));
    const QString plain = data->text();
    for (int page : { 1033, 1034, 156 })
        EXPECT_TRUE(plain.contains(GetString(page))) << page;
    EXPECT_TRUE(plain.contains("Calibration of the balance"));
    EXPECT_TRUE(plain.indexOf(GetString(1034)) < plain.indexOf("Calibration"));

    // Our reader takes the RTF back whole: the three pages and the one picture.
    QTextDocument back;
    ASSERT_TRUE(ReadRtfDocument(rtf, &back));
    const QString read = back.toPlainText();
    const QString statistics = w.RichEdit_RD_Statistika->toPlainText().section(QChar(0x2029), 0, 0).trimmed();
    ASSERT_FALSE(statistics.isEmpty());
    for (const QString& text :
        { GetString(1033), GetString(1034), GetString(156), statistics, QString("Calibration of the balance") })
        EXPECT_TRUE(read.contains(text)) << text.toStdString();
    EXPECT_TRUE(PageCells(*w.RichEdit_SDi_Ri).contains("10."));
    EXPECT_TRUE(read.contains(QRegularExpression("(^|\\s)10\\.(\\s|$)")));
    int pictures = 0;
    for (QTextBlock block = back.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                ++pictures;
    EXPECT_EQ(pictures, 1);

    // The statistics: the selection when there is one, else all of it.
    // Its plain text keeps each row of the statistics table on one line.
    w.SpeedButton_CopyStatistikaClick();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied, PlainTextOf(*w.RichEdit_RD_Statistika->document()));
    EXPECT_TRUE(copied.contains(QLatin1Char('\t'))) << copied.toStdString();
    EXPECT_FALSE(w.RichEdit_RD_Statistika->textCursor().hasSelection());
}

TEST_F(ChartDetailWindow, CancelAfterAChangeAsksFirst)
{
    FillTable(source, 1, 40, ValueRows(kSteady));
    TChartDetailForm& w = Open(11, source);
    w.show();
    w.RichEdit_PopisBunky->setPlainText("changed");
    ASSERT_TRUE(w.FModified);
    DialogScript::Instance().AnswerMessage(mrNo);
    w.Button_Cancel->click();
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(955));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Timer1->isActive());
    DialogScript::Instance().AnswerMessage(mrYes);
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST_F(ChartDetailWindow, ChartTypeSwitchesSeriesAndParameterGroups)
{
    const struct {
        int method;
        QString group; // the window's own group, shown on the X chart with computed parameters
        int points; // on the range chart
    } cases[] = {
        { 11, "GroupBox_OdhadStandardnejOdchylky_7", 9 },
        { 12, "GroupBox_Vypocet_UCL_LCL", 5 },
    };
    for (const auto& c : cases) {
        if (c.method == 11)
            FillTable(source, 1, 40, ValueRows(kSteady));
        else
            FillTable(source, 20, 40, { "||10|10.2", "||10.1|9.8", "||9.9|10.1", "||10.2|10", "||10|9.9" });
        TChartDetailForm& w = Open(c.method, source);
        auto* group = w.findChild<QGroupBox*>(c.group);
        ASSERT_NE(group, nullptr);
        EXPECT_FALSE(group->isHidden());
        EXPECT_TRUE(w.GroupBox_Parametre_Zadane->isHidden());
        if (c.method == 12) {
            EXPECT_TRUE(w.findChild<QToolButton*>("SpeedButton_A3xs")->isHidden());
            EXPECT_TRUE(w.findChild<QToolButton*>("SpeedButton_3xs")->isHidden());
        }

        w.ComboBox_TypDiagramu_X_R->setCurrentIndex(1);
        EXPECT_EQ(ChartType, 1);
        EXPECT_EQ(c.method == 11 ? w.FInput.DD_7 : w.FInput.DD_8, 1);
        EXPECT_TRUE(group->isHidden());
        EXPECT_EQ(Points(w).count(), c.points);
        EXPECT_TRUE(w.RegulacnyDiagram->SeriesActive(2));
        EXPECT_FALSE(w.RegulacnyDiagram->SeriesActive(3));
        EXPECT_FALSE(w.RegulacnyDiagram->SeriesActive(5));

        // Given parameters take the computed ones into their edits.
        w.ComboBox_TypDiagramu_X_R->setCurrentIndex(0);
        EXPECT_FALSE(group->isHidden());
        w.RadioButton_RegulacneParametre_Zadane->click();
        EXPECT_EQ(c.method == 11 ? w.FInput.RPSS_7 : w.FInput.RPSS_8, 1);
        EXPECT_TRUE(group->isHidden());
        EXPECT_FALSE(w.GroupBox_Parametre_Zadane->isHidden());
        EXPECT_FALSE(w.Edit_CentralnaLinia_X->text().isEmpty());
        EXPECT_FALSE(w.Edit_StandardnaOdchylka->text().isEmpty());
        ChartType = 0;
        ChartData.ChartType = 0;
        window.reset();
        source.clear();
    }
}

TEST_F(ChartDetailWindow, AnUnchangedCommentComesBackAsItWent)
{
    TRichEdit98 dialogBox;
    // The comment as the dialog holds it: read from a stored RTF text.
    dialogBox.SetRTFText(QString("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 Weighed "
                                 "{\\b twice} on {\\i balance 3}\\par Second line\\par}"));
    dialogBox.selectAll();
    TChartDetailSettings settings;
    dialogBox.GetRTFText(settings.CommentRtf);
    FillTable(source, 1, 40, ValueRows(kSteady));
    IndividualsDetailComment = "left from before";
    TChartDetailForm& w = Open(11, source, settings);
    EXPECT_TRUE(IndividualsDetailComment.isEmpty());
    w.Button_OKClick();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.Settings().CommentRtf, settings.CommentRtf);
}

TEST_F(ChartDetailWindow, HelpOpensEachWindowsTopic)
{
    struct Pages : HelpService {
        void ShowHelpPage(const QString& path) override { shown << path; }
        QStringList shown;
    } pages;
    HelpService* saved = HelpViewer();
    SetHelpService(&pages);
    FillTable(source, 1, 40, ValueRows(kSteady));
    Open(11, source).SpeedButton_Help->click();
    source.clear();
    FillTable(source, 20, 40, { "||1|2", "||3|4", "||5|6" });
    Open(12, source).SpeedButton_Help->click();
    SetHelpService(saved);
    ASSERT_EQ(pages.shown.size(), 2);
    EXPECT_TRUE(pages.shown[0].endsWith("IDH_HELP_RD_individualne_merania.html"));
    EXPECT_TRUE(pages.shown[1].endsWith("IDH_HELP_RD_opakovane_merania.html"));
}

TEST_F(ChartDetailWindow, MeanCountTakesWholeNumbersOnly)
{
    FillTable(source, 1, 40, ValueRows(kSteady));
    TChartDetailForm& w = Open(11, source);
    w.ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(2);
    EXPECT_EQ(w.FInput.OV_7, 2);
    EXPECT_TRUE(w.Edit_N_pre_priemer->isEnabled());
    w.Edit_N_pre_priemer->setText("4");
    EXPECT_EQ(w.FInput.NPP_7, 4);
    DialogScript::Instance().AnswerMessage(mrRetry);
    w.Edit_N_pre_priemer->setText("four");
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(1088));
    EXPECT_EQ(w.Edit_N_pre_priemer->text(), "1");
    EXPECT_EQ(w.FInput.NPP_7, 1);
    // An N below 1 becomes 1.
    for (const char* low : { "0", "-2" }) {
        w.Edit_N_pre_priemer->setText("4");
        w.Edit_N_pre_priemer->setText(low);
        EXPECT_EQ(w.Edit_N_pre_priemer->text(), "1") << low;
        EXPECT_EQ(w.FInput.NPP_7, 1) << low;
    }
    // Back to u = s: N is 1 and closed.
    w.Edit_N_pre_priemer->setText("3");
    w.ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(0);
    EXPECT_EQ(w.Edit_N_pre_priemer->text(), "1");
    EXPECT_EQ(w.FInput.NPP_7, 1);
    EXPECT_FALSE(w.Edit_N_pre_priemer->isEnabled());
}

// The real dialog opens the window on its chart page, the user changes the points, the
// comment and an option, and OK hands them back; Cancel hands nothing back.
TEST_F(ChartDetailWindow, RoundTripWithTheSourceDialog)
{
    ChartDetailFactory = &MakeChartDetailWindow;
    for (int method : { 11, 12 }) {
        for (bool ok : { true, false }) {
            TVstupStandardnejNeistoty rec;
            ClearUncertaintyInput(rec);
            rec.TSN = quint8(method);
            if (method == 11) {
                rec.PM_7 = 5;
                rec.VM_7.Text = "10@10.2@9.9@10.1@10@";
            } else {
                rec.PM_8 = 4;
                rec.PBM_8 = "2@2@2@2@";
                rec.VM_8.Text = "10@10.2@9.9@10.1@10@10.3@9.8@10@";
            }
            TfOrvek6& d = OpenExisting(rec);
            d.RichEdit_PopisBunky->setPlainText("Before");
            TF1Book& table = method == 11 ? *d.Page7.Table_7 : *d.Page8.Table_8;
            bool handled = false;
            WhenModal<TChartDetailForm>([&](TChartDetailForm* w) {
                handled = true;
                EXPECT_EQ(w->Method(), method);
                EXPECT_FALSE(w->FInput.HSN.isEmpty());
                EXPECT_EQ(w->RichEdit_PopisBunky->toPlainText(), "Before");
                w->Grid->SetTextRC(method == 11 ? 6 : 5, 3, "10.4");
                if (method == 12)
                    w->Grid->SetTextRC(5, 4, "10.5");
                w->FGridEdited = true;
                w->SpeedButton_PrepocitatClick();
                w->ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(1);
                w->RichEdit_PopisBunky->setPlainText("After");
                if (ok) {
                    w->Timer1Timer();
                    w->Button_OK->click();
                } else {
                    DialogScript::Instance().AnswerMessage(mrYes);
                    w->Button_Cancel->click();
                }
            });
            ASSERT_EQ(d.ActiveChartPage(), method == 11 ? 7 : 8);
            d.OpenChartDetail();
            ASSERT_TRUE(handled);
            const int count = method == 11 ? d.FInput.PM_7 : d.FInput.PM_8;
            const int option = method == 11 ? d.FInput.OV_7 : d.FInput.OV_8;
            if (ok) {
                EXPECT_EQ(table.TextRC(method == 11 ? 6 : 5, 3), "10.4");
                EXPECT_EQ(count, method == 11 ? 6 : 5);
                EXPECT_EQ(option, 1);
                EXPECT_EQ(d.RichEdit_PopisBunky->toPlainText(), "After");
                EXPECT_FALSE(d.FInput.HSN.isEmpty());
            } else {
                EXPECT_TRUE(table.TextRC(method == 11 ? 6 : 5, 3).isEmpty());
                EXPECT_EQ(count, method == 11 ? 5 : 4);
                EXPECT_EQ(option, 0);
                EXPECT_EQ(d.RichEdit_PopisBunky->toPlainText(), "Before");
            }
            EXPECT_TRUE(DialogScript::Instance().AllAnswered());
            DialogScript::Instance().Reset();
        }
    }
    ChartDetailFactory = nullptr;
}

// Pictures of both windows for looking at them (X and R chart, a sub-range, the
// out-of-control panel, English and Slovak): written only when ORVEK_SHOTS names a folder.
TEST_F(ChartDetailWindow, Shots)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS names no folder";
    QDir().mkpath(folder);
    // Working days: the weekends leave gaps when the points are spaced by date.
    const int days[] = { 2, 3, 4, 5, 6, 9, 10, 11, 12, 13 };
    QStringList individuals;
    for (int i = 0; i < kOutOfControl.size(); ++i)
        individuals << QString("%1.3.2026|%2|%3").arg(days[i]).arg(i % 2 ? "Eva" : "Jan").arg(kOutOfControl[i]);
    const QStringList subgroups = { "2.3.2026|Eva|10|10.2|9.9", "3.3.2026|Jan|10.1|9.8|10",
        "4.3.2026|Eva|9.9|10.1|10.2", "5.3.2026|Jan|10.2|10|9.8", "6.3.2026|Eva|10|9.9|10.1",
        "9.3.2026|Jan|9.8|10.1|10", "10.3.2026|Eva|10.1|10|9.9", "11.3.2026|Jan|11.5|11.7|11.6" };
    for (int language : { 0, 1 }) {
        LanguageID = language;
        for (int method : { 11, 12 }) {
            ChartData.ChartAutoShowErrors = true;
            FillTable(source, method == 11 ? 1 : 20, 1000, method == 11 ? individuals : subgroups);
            TChartDetailForm& w = Open(method, source);
            w.resize(1280, 800);
            w.show();
            w.Grid->SetSelection(method == 11 ? 4 : 3, 3, method == 11 ? 10 : 8, 3);
            w.SpeedButton_NovyRozsahClick();
            for (int type : { 0, 1 }) {
                w.ComboBox_TypDiagramu_X_R->setCurrentIndex(type);
                if (w.Panel_ShowErrorStatistics->isHidden() && type == 0)
                    ADD_FAILURE() << "no out-of-control panel on " << method;
                for (int page : { 0, 1 }) {
                    w.PageControl1->setCurrentIndex(page);
                    QApplication::processEvents();
                    w.grab().save(QString("%1/chart_window_%2_%3_%4_%5.png")
                                      .arg(folder)
                                      .arg(method)
                                      .arg(type ? "R" : "X")
                                      .arg(page)
                                      .arg(language ? "sk" : "en"));
                }
            }
            w.ComboBox_TypDiagramu_X_R->setCurrentIndex(0);
            // Points spaced by their dates, labelled with them.
            w.CheckBox_DeleniePodlaDatumu->click();
            EXPECT_TRUE(w.CheckBox_ShowDateMeasurement->isChecked());
            QApplication::processEvents();
            const QString name
                = QString("%1/chart_window_%2_dates_%3").arg(folder).arg(method).arg(language ? "sk" : "en");
            w.grab().save(name + ".png");
            // The message window with the violated rules, as the panel opens it.
            TfOrvekMessage message;
            message.ShowMarkupMessage(ChartData.ChartRuleMessage);
            message.show();
            QApplication::processEvents();
            message.grab().save(name + "_message.png");
            ChartType = 0;
            ChartData.ChartDivideByDate = false;
            ChartData.ChartDateLabels = false;
            window.reset();
            source.clear();
        }
    }
    LanguageID = 0;
}

} // namespace
} // namespace orvek::test

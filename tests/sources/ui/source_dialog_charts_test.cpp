// The control-chart pages of the source dialog: point tables, their checks and
// refusals, the page settings, computing, drawing and taking a table back.

#include "tests/sources/ui/source_dialog_fixture.h"

#include "core/number_format.h"
#include "core/string_table.h"
#include "database/chart_factors.h"
#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "sources/chart_data.h"
#include "sources/ui/source_dialog_chart_detail.h"
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
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace orvek::test {
namespace {

TVstupStandardnejNeistoty Chart(int method, int points, const QString& values, const QString& sizes = {})
{
    TVstupStandardnejNeistoty rec;
    ClearUncertaintyInput(rec);
    rec.TSN = quint8(method);
    if (method == 11) {
        rec.PM_7 = points;
        rec.VM_7.Text = values;
    } else {
        rec.PM_8 = points;
        rec.VM_8.Text = values;
        rec.PBM_8 = sizes;
    }
    return rec;
}

class SourceDialogCharts : public SourceDialogFixture {
protected:
    void SetUp() override
    {
        SourceDialogFixture::SetUp();
        DialogScript::Instance().Reset();
        ChartFactors = PublishedChartFactors();
    }
    void TearDown() override
    {
        EXPECT_TRUE(DialogScript::Instance().AllAnswered());
        DialogScript::Instance().Reset();
        SourceDialogFixture::TearDown();
    }
    // The dialog on a chart record, its tables and settings open for editing as at
    // edit level 2.
    TfOrvek6& OpenChart(const TVstupStandardnejNeistoty& rec)
    {
        TfOrvek6& d = OpenExisting(rec);
        d.Page7.Table_7->SetEnableProtection(false);
        d.Page8.Table_8->SetEnableProtection(false);
        for (QWidget* setting :
            std::initializer_list<QWidget*> { d.ChartShared.ComboBox_Standardna_neisota_sa_rovna, d.Page7.GroupBox2,
                d.Page8.GroupBox1, d.Page7.GroupBox_OdhadStandardnejOdchylky_7, d.Page7.GroupBox_Priemer_N_7,
                d.Page8.GroupBox_Priemer_N_8, d.Page7.GroupBox_Parametre_Zadane_7, d.Page8.GroupBox_Parametre_Zadane_8,
                d.Page8.GroupBox_Vypocet_UCL_LCL, d.Page7.GroupBox4, d.Page8.GroupBox3 })
            setting->setEnabled(true);
        return d;
    }
    // Types Text into a table cell the way a user does: the editor opens, takes the
    // text and the edit ends.
    static void Type(TF1Book& table, int row, int col, const QString& text)
    {
        table.SetSelection(row, col, row, col);
        table.edit(table.model()->index(row - 1, col - 1));
        auto* editor = qobject_cast<QLineEdit*>(table.indexWidget(table.currentIndex()));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        table.EndEdit();
    }
};

TEST_F(SourceDialogCharts, ComputeRefusesABadValueInTheRangeWithTheCellSelected)
{
    TfOrvek6& d = OpenChart(Chart(11, 4, "10@11@12@13@"));
    TF1Book& t = *d.Page7.Table_7;
    t.SetTextRC(3, 3, "1x");
    d.FChartDataValid = false;
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.ComputeIndividualsPage();
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(179, { "1x" }));
    EXPECT_EQ(t.Row(), 3);
    EXPECT_EQ(t.Col(), 3);
    EXPECT_FALSE(d.FChartDataValid);
    EXPECT_TRUE(d.FInput.HSN.isEmpty());
    EXPECT_EQ(d.Page7.PageControl_7->currentWidget(), d.Page7.TabSheet_7_1);

    // Mended, the page computes, shows u and its statistics and draws every point.
    t.SetTextRC(3, 3, "12");
    d.ComputeIndividualsPage();
    EXPECT_TRUE(d.FChartDataValid);
    EXPECT_FALSE(d.FInput.HSN.isEmpty());
    EXPECT_EQ(d.Edit_HodnotaNeistoty->text(), FormatSignificantText(SignificantDigits, d.FInput.HSN));
    EXPECT_FALSE(d.Page7.RichEdit_RD_Statistika_7->toPlainText().isEmpty());
    EXPECT_FALSE(d.FChartNeedsRecalc);
    d.DrawChart();
    EXPECT_EQ(d.Page7.RegulacnyDiagram_7->Series(0)->count(), 4);
    EXPECT_EQ(d.Page7.RegulacnyDiagram_7->LineLabel(2), "UCL");
}

TEST_F(SourceDialogCharts, SubgroupsWithoutTwoValuesAreRefusedAtTheirCell)
{
    const struct {
        int row;
        QStringList cells; // columns 1, 3, 4, 5 of the row
        int text, col;
    } cases[] = {
        { 2, { "", "5", "", "" }, 987, 4 },
        { 2, { "1.1.2026", "", "", "" }, 988, 3 },
    };
    for (const auto& c : cases) {
        TfOrvek6& d = OpenChart(Chart(12, 3, "1@2@3@4@5@6@7@8@9@", "3@3@3@"));
        TF1Book& t = *d.Page8.Table_8;
        t.SetTextRC(4, 3, "7");
        t.SetTextRC(4, 4, "8");
        t.SetTextRC(c.row, 1, c.cells[0]);
        for (int col = 3; col <= 5; ++col)
            t.SetTextRC(c.row, col, c.cells[col - 2]);
        d.FChartDataValid = false;
        DialogScript::Instance().AnswerMessage(mrRetry);
        d.ComputeSubgroupPage();
        EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(c.text, { QString::number(c.row) }));
        EXPECT_EQ(t.Row(), c.row);
        EXPECT_EQ(t.Col(), c.col);
        EXPECT_TRUE(d.FInput.HSN.isEmpty());
        DialogScript::Instance().Reset();
    }
}

TEST_F(SourceDialogCharts, ExponentValuesSurviveReadComputeAndReload)
{
    CommaDecimalsPointDates locale;
    TfOrvek6& d = OpenChart(Chart(11, 4, "1,2E-5@1E-5@1,5E-5@0,00001@"));
    TF1Book& t = *d.Page7.Table_7;
    EXPECT_EQ(t.FormattedTextRC(1, 3), "1,2E-5");
    EXPECT_EQ(t.FormattedTextRC(2, 3), "1E-5");
    EXPECT_EQ(t.FormattedTextRC(4, 3), "0,00001");
    d.FChartDataValid = false;
    d.Button_RecalculateClick();
    EXPECT_FALSE(d.FInput.HSN.isEmpty());
    EXPECT_EQ(d.FInput.VM_7.Text, "1,2E-5@1E-5@1,5E-5@0,00001@");
    TfOrvek6& again = OpenChart(d.FInput);
    EXPECT_EQ(again.Page7.Table_7->FormattedTextRC(1, 3), "1,2E-5");
    EXPECT_EQ(again.Page7.Table_7->FormattedTextRC(4, 3), "0,00001");
}

// A pasted value that the page's checks let through is stored as a text that reads
// back as the same number when the record's chart is loaded; a text that is no number
// ("E" alone among them) is refused at its cell.
TEST_F(SourceDialogCharts, PastedValuesAreRefusedOrStoredAsTextsThatReadBack)
{
    const struct {
        const char* pasted;
        const char* stored; // null: refused
    } cases[] = {
        { "E", nullptr },
        { "-E", nullptr },
        { ".E", nullptr },
        { "+E5", nullptr },
        { "1e", nullptr },
        { "1E+", nullptr },
        { "e5", "1E5" },
        { "-e-2", "-1E-2" },
        { "E0", "1E0" },
        { "0E", "0E" },
        { "1,5E-3", "1.5E-3" },
        { "-", "-" },
        { ",", ".0" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        TfOrvek6& d = OpenChart(Chart(11, 4, "10@11@12@13@"));
        TF1Book& t = *d.Page7.Table_7;
        QApplication::clipboard()->setText(QString(c.pasted) + "\n");
        t.SetSelection(2, 3, 2, 3);
        d.ArrangeChartPage();
        d.SpeedButton_PasteToTableClick();
        ASSERT_EQ(t.TextRC(2, 3), c.pasted);
        if (!c.stored)
            DialogScript::Instance().AnswerMessage(mrRetry);
        d.ComputeIndividualsPage();
        if (!c.stored) {
            EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(179, { c.pasted }));
            EXPECT_EQ(t.Row(), 2);
            EXPECT_TRUE(d.FInput.HSN.isEmpty());
            DialogScript::Instance().Reset();
            continue;
        }
        ASSERT_TRUE(DialogScript::Instance().Shown().isEmpty());
        const double taken = ChartData.ChartPointValues[2][0];
        EXPECT_EQ(d.FInput.VM_7.Text.split('@').value(1), c.stored);
        TChartData reloaded;
        reloaded.ChartFactors = ChartFactors;
        QString refusal;
        ASSERT_TRUE(LoadChartDataFromInput(reloaded, d.FInput, refusal)) << refusal.toStdString();
        EXPECT_EQ(reloaded.ChartPointValues[2][0], taken);
    }
}

TEST_F(SourceDialogCharts, TypingKeepsTheWidestMaskAndRefusesListCharacters)
{
    CommaDecimalsPointDates locale;
    TfOrvek6& d = OpenChart(Chart(11, 3, "1,25@1,5@2@"));
    TF1Book& t = *d.Page7.Table_7;
    EXPECT_EQ(ChartData.ChartNumberMask, "0,00");
    Type(t, 4, 3, "1.2345");
    EXPECT_EQ(t.TextRC(4, 3), "1,2345");
    EXPECT_EQ(ChartData.ChartNumberMask, "0,0000");
    EXPECT_EQ(t.FormattedTextRC(1, 3), "1,2500");
    EXPECT_TRUE(d.FChartTableEdited);
    EXPECT_FALSE(d.FChartDataValid);
    Type(t, 5, 3, "7");
    EXPECT_EQ(ChartData.ChartNumberMask, "0,0000");
    EXPECT_EQ(t.FormattedTextRC(5, 3), "7,0000");

    // An operator or date with "@" would shift the lists: refused, the cell unchanged.
    t.SetTextRC(1, 2, "Ann");
    DialogScript::Instance().AnswerMessage(mrRetry);
    Type(t, 1, 2, "A@B");
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(22500, { "1", "2" }));
    EXPECT_EQ(t.TextRC(1, 2), "Ann");

    // So is a paste carrying one; nothing of it is written.
    QApplication::clipboard()->setText("1.1.2026\tX@Y\t5\n");
    t.SetSelection(6, 1, 6, 1);
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.ArrangeChartPage();
    d.SpeedButton_PasteToTableClick();
    EXPECT_EQ(DialogScript::Instance().Shown().value(1), GetString(22500, { "6", "2" }));
    EXPECT_TRUE(t.TextRC(6, 1).isEmpty());
    EXPECT_TRUE(t.TextRC(6, 3).isEmpty());
}

TEST_F(SourceDialogCharts, PastePastTheLastRowOrColumnIsRefusedWhole)
{
    TfOrvek6& d = OpenChart(Chart(12, 3, "1@2@3@4@5@6@", "2@2@2@"));
    TF1Book& t = *d.Page8.Table_8;
    ASSERT_EQ(t.MaxRow(), 1000);
    QApplication::clipboard()->setText("1\t2\n3\t4\n");
    t.SetSelection(1000, 3, 1000, 3);
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.SpeedButton_PasteToTableClick();
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(22501, { "1001", "4" }));
    EXPECT_TRUE(t.TextRC(1000, 3).isEmpty());
    t.SetSelection(1, 22, 1, 22);
    DialogScript::Instance().AnswerMessage(mrRetry);
    d.SpeedButton_PasteToTableClick();
    EXPECT_EQ(DialogScript::Instance().Shown().value(1), GetString(22501, { "2", "23" }));
    EXPECT_EQ(t.TextRC(1, 3), "1");

    // A paste that fits lands, widens the mask and makes the table be read again.
    QApplication::clipboard()->setText("7,125\t8\n");
    t.SetSelection(4, 3, 4, 3);
    d.FChartDataValid = true;
    d.SpeedButton_PasteToTableClick();
    EXPECT_EQ(t.TextRC(4, 3), "7,125");
    EXPECT_EQ(t.TextRC(4, 4), "8");
    EXPECT_EQ(ChartData.ChartNumberMask.size(), 5);
    EXPECT_FALSE(d.FChartDataValid);
    EXPECT_TRUE(d.Button_Recalculate->isEnabled());
}

TEST_F(SourceDialogCharts, UncertaintyChoiceAndTheNOfTheMean)
{
    TfOrvek6& d = OpenChart(Chart(11, 3, "1@2@3@"));
    QComboBox* choice = d.ChartShared.ComboBox_Standardna_neisota_sa_rovna;
    QLineEdit* n = d.Page7.Edit_N_pre_priemer_7;
    choice->setCurrentIndex(3);
    EXPECT_EQ(d.FInput.OV_7, 3);
    EXPECT_TRUE(n->isEnabled());
    n->setText("4");
    EXPECT_EQ(d.FInput.NPP_7, 4);

    DialogScript::Instance().AnswerMessage(mrRetry);
    n->setText("abc");
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(1088));
    EXPECT_EQ(n->text(), "1");
    EXPECT_EQ(d.FInput.NPP_7, 1);

    // An N below 1 is stored as 1 and shown so.
    n->setText("-2");
    EXPECT_EQ(d.FInput.NPP_7, 1);
    EXPECT_EQ(n->text(), "1");

    n->setText("5");
    choice->setCurrentIndex(0);
    EXPECT_EQ(d.FInput.OV_7, 0);
    EXPECT_EQ(n->text(), "1");
    EXPECT_FALSE(n->isEnabled());
    EXPECT_TRUE(d.FChartNeedsRecalc);
}

TEST_F(SourceDialogCharts, DateOptionsNeedEveryPointDated)
{
    TVstupStandardnejNeistoty rec = Chart(11, 3, "10@11@12@");
    rec.DM_7 = "1.3.2026@@4.3.2026@";
    TfOrvek6& d = OpenChart(rec);
    QCheckBox* dates = d.Page7.CheckBox_ShowDateMeasurement_7;
    DialogScript::Instance().AnswerMessage(mrRetry);
    dates->click();
    EXPECT_EQ(DialogScript::Instance().Shown().value(0), GetString(997));
    EXPECT_FALSE(dates->isChecked());
    EXPECT_EQ(d.FInput.ZDM_7, 0);
    EXPECT_FALSE(ChartData.ChartDateLabels);

    // Dated throughout, the points stand by their days.
    d.Page7.Table_7->SetTextRC(2, 1, "2.3.2026");
    d.Button_RecalculateClick();
    ASSERT_TRUE(ChartData.ChartAllDated);
    d.Page7.CheckBox_DeleniePodlaDatumu_7->click();
    EXPECT_EQ(d.FInput.DPD_7, 1);
    const QLineSeries* points = d.Page7.RegulacnyDiagram_7->Series(0);
    ASSERT_EQ(points->count(), 3);
    EXPECT_EQ(points->at(0).x(), 1);
    EXPECT_EQ(points->at(2).x(), 4);
}

// Placing by date is the page's choice: a Recalculate, which reads the subgroups from
// the record again, keeps it on both chart pages while the box stays ticked.
TEST_F(SourceDialogCharts, PlacingByDateWorksAfterRecalculateOnBothPages)
{
    TVstupStandardnejNeistoty individuals = Chart(11, 3, "10@11@12@");
    individuals.DM_7 = "1.3.2026@4.3.2026@5.3.2026@";
    TVstupStandardnejNeistoty subgroups = Chart(12, 3, "1@2@3@4@5@7@", "2@2@2@");
    subgroups.DM_8 = "1.3.2026@4.3.2026@5.3.2026@";
    for (const TVstupStandardnejNeistoty& rec : { individuals, subgroups }) {
        const bool page7 = rec.TSN == 11;
        TfOrvek6& d = OpenChart(rec);
        QCheckBox* byDate = page7 ? d.Page7.CheckBox_DeleniePodlaDatumu_7 : d.Page8.CheckBox_DeleniePodlaDatumu_8;
        const QLineSeries* points = (page7 ? d.Page7.RegulacnyDiagram_7 : d.Page8.RegulacnyDiagram_8)->Series(0);
        d.Button_RecalculateClick();
        byDate->click();
        ASSERT_TRUE(byDate->isChecked());
        for (int round = 0; round < 2; ++round) {
            ASSERT_EQ(points->count(), 3) << rec.TSN;
            EXPECT_EQ(points->at(0).x(), 1) << rec.TSN << " round " << round;
            EXPECT_EQ(points->at(1).x(), 4) << rec.TSN << " round " << round;
            EXPECT_EQ(points->at(2).x(), 5) << rec.TSN << " round " << round;
            EXPECT_TRUE(ChartData.ChartDivideByDate) << rec.TSN << " round " << round;
            d.Button_RecalculateClick();
        }
        EXPECT_TRUE(byDate->isChecked());
        EXPECT_EQ(page7 ? d.FInput.DPD_7 : d.FInput.DPD_8, 1);
    }
}

// Date labels belong to the chart shown: the next source opened shows its own choice,
// never the labels of the chart before it.
TEST_F(SourceDialogCharts, DateLabelsOfOneChartNeverShowInTheNext)
{
    TVstupStandardnejNeistoty labelled = Chart(11, 3, "10@11@12@");
    labelled.DM_7 = "1.3.2026@4.3.2026@5.3.2026@";
    labelled.ZDM_7 = 1;
    OpenChart(labelled);
    EXPECT_TRUE(ChartData.ChartDateLabels);
    EXPECT_TRUE(dialog->Page7.CheckBox_ShowDateMeasurement_7->isChecked());

    TVstupStandardnejNeistoty plain = labelled;
    plain.ZDM_7 = 0;
    OpenChart(plain);
    EXPECT_FALSE(ChartData.ChartDateLabels);
    EXPECT_FALSE(dialog->Page7.CheckBox_ShowDateMeasurement_7->isChecked());

    OpenChart(labelled);
    TVstupStandardnejNeistoty subgroups = Chart(12, 3, "1@2@3@4@5@7@", "2@2@2@");
    subgroups.DM_8 = "1.3.2026@4.3.2026@5.3.2026@";
    OpenChart(subgroups);
    EXPECT_FALSE(ChartData.ChartDateLabels);

    OpenChart(labelled);
    TVstupStandardnejNeistoty estimate;
    ClearUncertaintyInput(estimate);
    estimate.TSN = 0;
    OpenExisting(estimate);
    EXPECT_FALSE(ChartData.ChartDateLabels);
    EXPECT_FALSE(ChartData.ChartDivideByDate);
}

TEST_F(SourceDialogCharts, TakingATableBackKeepsRowsAfterGaps)
{
    TVstupStandardnejNeistoty rec = Chart(11, 3, "1@2@3@");
    // A stored range past the points: the fill ends at the last point.
    rec.UR_7 = 1;
    rec.R_OD_7 = 2;
    rec.R_DO_7 = 500;
    TfOrvek6& d = OpenChart(rec);
    ASSERT_EQ(ChartData.ChartPointCount, 3);
    TF1Book book;
    book.SetMaxRow(1000);
    book.SetMaxCol(3);
    book.SetColHidden(1, true);
    book.SetColHidden(2, true);
    for (int r : { 1, 2, 3, 8, 20 })
        book.SetTextRC(r, 3, QString::number(r) + ".5");
    book.SetTextRC(8, 2, "Eva");
    d.FSavedNumberMask = ChartData.ChartNumberMask;
    d.TakeChartTable(book);
    TF1Book& t = *d.Page7.Table_7;
    EXPECT_EQ(t.TextRC(8, 3), "8.5");
    EXPECT_EQ(t.TextRC(8, 2), "Eva");
    EXPECT_EQ(t.TextRC(20, 3), "20.5");
    EXPECT_TRUE(t.ColHidden(2));
    EXPECT_TRUE(d.ChartShared.SpeedButton_Hide_Show->isChecked());
    EXPECT_EQ(t.ColText(3), GetString(952, { "1" }));
    EXPECT_EQ(t.FillRC(2, 3), QColor(Qt::cyan));
    EXPECT_EQ(t.FillRC(3, 1), QColor(Qt::cyan));
    EXPECT_FALSE(t.FillRC(1, 3).isValid());
    EXPECT_FALSE(t.FillRC(4, 3).isValid());
    EXPECT_EQ(t.Row(), 1);
    EXPECT_EQ(t.Col(), 1);
    EXPECT_EQ(d.ReadIndividualsTable(), 5);
}

// A detail window that answers as the test decides and changes its copy of the table.
class FakeDetail : public TChartDetailWindow {
public:
    explicit FakeDetail(bool ok)
        : ok_(ok)
    {
    }
    void Prepare(
        const TVstupStandardnejNeistoty& input, const TChartDetailSettings& settings, const TF1Book& table) override
    {
        input_ = input;
        settings_ = settings;
        table_.SetMaxRow(table.MaxRow());
        table_.SetMaxCol(table.MaxCol());
        for (int r = 1; r <= table.MaxRow(); ++r)
            for (int c = 1; c <= table.MaxCol(); ++c)
                table_.SetTextRC(r, c, table.TextRC(r, c));
    }
    void Compute() override { }
    bool Execute() override
    {
        // The window's user types a value with more decimals and a new point.
        table_.SetTextRC(4, 3, "4.125");
        ChartData.ChartNumberMask = "0.000";
        input_.OV_7 = 1;
        return ok_;
    }
    TVstupStandardnejNeistoty Input() const override { return input_; }
    TChartDetailSettings Settings() const override { return settings_; }
    TF1Book& Table() override { return table_; }

private:
    bool ok_;
    TVstupStandardnejNeistoty input_;
    TChartDetailSettings settings_;
    TF1Book table_;
};

TEST_F(SourceDialogCharts, DetailWindowTakesBackOnOkAndRestoresTheMaskOnCancel)
{
    for (bool ok : { false, true }) {
        TfOrvek6& d = OpenChart(Chart(11, 3, "1.5@2.5@3.5@"));
        ChartDetailFactory = [ok](int method, QWidget*) {
            EXPECT_EQ(method, 11);
            return std::make_unique<FakeDetail>(ok);
        };
        d.OpenChartDetail();
        ChartDetailFactory = nullptr;
        TF1Book& t = *d.Page7.Table_7;
        if (!ok) {
            EXPECT_EQ(ChartData.ChartNumberMask, "0.0");
            EXPECT_TRUE(t.TextRC(4, 3).isEmpty());
            EXPECT_EQ(d.FInput.OV_7, 0);
            continue;
        }
        EXPECT_EQ(t.TextRC(4, 3), "4.125");
        EXPECT_EQ(d.FInput.OV_7, 1);
        EXPECT_EQ(d.ChartShared.ComboBox_Standardna_neisota_sa_rovna->currentIndex(), 1);
        EXPECT_EQ(d.FInput.PM_7, 4);
        EXPECT_FALSE(d.FInput.HSN.isEmpty());
        EXPECT_EQ(d.Page7.PageControl_7->currentWidget(), d.Page7.TabSheet_7_3);
        EXPECT_EQ(d.Page7.RegulacnyDiagram_7->Series(0)->count(), 4);
    }
}

// Pictures of the two chart pages for looking at them: written only when ORVEK_SHOTS
// names a folder.
TEST_F(SourceDialogCharts, PageShots)
{
    const QString folder = qEnvironmentVariable("ORVEK_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "ORVEK_SHOTS names no folder";
    QDir().mkpath(folder);
    TVstupStandardnejNeistoty individuals = Chart(11, 12, "10.1@10.3@9.8@10.0@10.2@9.9@10.1@11.6@10.0@9.7@10.2@10.1@");
    individuals.DM_7 = "1.3.2026@2.3.2026@3.3.2026@6.3.2026@7.3.2026@8.3.2026@9.3.2026@10.3.2026@13.3.2026@"
                       "14.3.2026@15.3.2026@16.3.2026@";
    individuals.Meral_7 = "Eva@Eva@Jan@Jan@Eva@Eva@Jan@Jan@Eva@Eva@Jan@Jan@";
    TVstupStandardnejNeistoty subgroups = Chart(12, 8,
        "5.01@5.03@4.98@5.00@5.02@4.99@5.01@5.00@5.03@4.97@5.02@5.01@5.04@5.00@4.99@5.12@5.15@5.11@"
        "5.00@5.01@4.99@5.02@4.98@5.01@",
        "3@3@3@3@3@3@3@3@");
    subgroups.UR_8 = 1;
    subgroups.R_OD_8 = 2;
    subgroups.R_DO_8 = 5;
    for (const auto& [name, rec] : { std::pair { "individuals", individuals }, std::pair { "subgroups", subgroups } }) {
        TfOrvek6& d = OpenChart(rec);
        d.resize(760, 560);
        d.show();
        d.Button_RecalculateClick();
        QTabWidget* pages = rec.TSN == 11 ? d.Page7.PageControl_7 : d.Page8.PageControl_8;
        for (int sheet = 0; sheet < 4; ++sheet) {
            pages->setCurrentIndex(sheet);
            QApplication::processEvents();
            d.grab().save(QString("%1/chart_%2_%3.png").arg(folder, name).arg(sheet));
        }
    }
}

} // namespace
} // namespace orvek::test

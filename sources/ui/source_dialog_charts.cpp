// The control-chart pages of the source dialog as far as the load needs them: the
// point tables' layout, the points of a stored chart, the page settings it shows, and
// the computation of a stored chart by the chart statistics. Editing the tables and
// the settings, drawing the chart and the statistics text belong to the chart pages'
// own handlers.

#include "core/ui/grid_routines.h"
#include "sources/ui/source_dialog.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "database/chart_factors.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/report_table.h"
#include "richtext/ui/markup_rich_edit.h"
#include "sources/chart_data.h"
#include "sources/chart_plot.h"
#include "sources/chart_point_table.h"
#include "sources/chart_rules.h"
#include "sources/chart_tables.h"
#include "sources/source_owner.h"
#include "sources/source_record.h"
#include "sources/ui/source_dialog_chart_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextCursor>
#include <QToolButton>

namespace orvek {

namespace {

// Number formats of the point tables: a decimal mask ("0", "0.000") rounds a number to
// its decimals; any other format (the date column's) shows the text as typed. A number
// in exponent form is shown in its canonical form: a mask would cut its digits, and
// the shown text is what the record stores.
QString FormatPointText(const QString& text, const QString& format)
{
    static const QRegularExpression mask(QStringLiteral("^0([.,](0+))?$"));
    const QRegularExpressionMatch m = mask.match(format);
    double value = 0;
    if (!m.hasMatch() || !TryStrToFloatNeutral(text.trimmed(), value))
        return text;
    if (text.contains(QLatin1Char('E'), Qt::CaseInsensitive))
        return NormalizeNumberText(text.trimmed());
    return RoundDecimalsText(NormalizeNumberText(text), quint8(m.captured(2).size()));
}

void SetChartInputs()
{
    ChartData.ChartFactors = ChartFactors;
    ChartData.SourceQuantityValue = SourceQuantityValue;
    ChartData.SourceQuantityUnit = SourceQuantityUnit;
    ChartData.SignificantDigits = SignificantDigits;
    ChartData.ChartDecimals = ChartDecimals;
    ChartData.ReportTableFontSize = ReportTableFontSize;
}

// Moves the shared buttons into Row, in this order, and hides those not named.
void PlaceButtons(QWidget* row, std::initializer_list<QToolButton*> shown, const TSourceChartShared& s)
{
    for (QToolButton* b : { s.SpeedButton_X_Diagram, s.SpeedButton_R_Diagram, s.SpeedButton_DataToWindow,
             s.SpeedButton_Hide_Show, s.SpeedButton_CopyFromTable, s.SpeedButton_PasteToTable,
             s.SpeedButton_CopyStatistika, s.SpeedButton_CopyGraph })
        b->hide();
    for (QToolButton* b : shown) {
        row->layout()->addWidget(b);
        b->show();
    }
}

} // namespace

void TfOrvek6::SetupChartGrid(TF1Book& Grid, int ValueColumns, int Rows)
{
    static const bool formatterInstalled = [] {
        TF1Book::SetFormatter(&FormatPointText);
        return true;
    }();
    (void)formatterInstalled;
    Grid.SetMaxCol(ValueColumns + 2);
    Grid.SetMaxRow(Rows);
    Grid.SetColText(1, GetString(953));
    Grid.SetColText(2, GetString(954));
    for (int c = 3; c <= ValueColumns + 2; ++c)
        Grid.SetColText(c, GetString(952, { QString::number(c - 2) }));
    for (int c = 3; c <= ValueColumns + 2; ++c)
        Grid.SetColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    Grid.SetColWidth(1, 2850);
    Grid.SetColWidth(2, 4000);
    for (int c = 3; c <= ValueColumns + 2; ++c)
        Grid.SetColWidth(c, 2780);
    FitColumnsToTitles(Grid);
    Grid.SetColHidden(1, false);
    Grid.SetColHidden(2, false);
    Grid.SetSelection(1, 1, Rows, 1);
    Grid.SetNumberFormat(ShortDateFormat.isEmpty() ? QStringLiteral("d.M.yyyy") : ShortDateFormat);
    Grid.SetSelection(1, 1, 1, 1);
    ChartShared.SpeedButton_Hide_Show->setChecked(Grid.ColHidden(2));
}

void TfOrvek6::LoadChartPage(int method)
{
    const bool individuals = method == 11;
    SetChartInputs();
    ChartType = individuals ? FInput.DD_7 : FInput.DD_8;
    ChartData.ChartType = ChartType;
    QString refusal;
    const bool loaded = LoadChartDataFromInput(ChartData, FInput, refusal);
    QTabWidget* pages = individuals ? Page7.PageControl_7 : Page8.PageControl_8;
    QWidget* points = individuals ? Page7.TabSheet_7_1 : Page8.TabSheet_8_1;
    TF1Book& table = individuals ? *Page7.Table_7 : *Page8.Table_8;
    pages->setCurrentWidget(points);
    if (individuals)
        FChartSheet7 = points;
    else
        FChartSheet8 = points;
    ChartShared.SpeedButton_X_Diagram->setChecked(true);

    const int option = individuals ? FInput.OV_7 : FInput.OV_8;
    ChartShared.ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(std::clamp(option, 0, 3));
    QLineEdit* meanCount = individuals ? Page7.Edit_N_pre_priemer_7 : Page8.Edit_N_pre_priemer_8;
    meanCount->setText(QString::number(individuals ? FInput.NPP_7 : FInput.NPP_8));
    meanCount->setEnabled(option == 2 || option == 3);
    const bool given = (individuals ? FInput.RPSS_7 : FInput.RPSS_8) == 1;
    if (individuals) {
        (given ? Page7.RadioButton_RegulacneParametre_Zadane_7 : Page7.RadioButton_RegulacneParametre_Pocitane_7)
            ->setChecked(true);
        ChartShared.SpeedButton_Hide_Show->setChecked(false);
        QRadioButton* estimates[]
            = { Page7.RadioButton_s_0_8869xMR, Page7.RadioButton_s_svyp_div_C4, Page7.RadioButton_s_svyp };
        estimates[std::clamp(FInput.OSO_7, 0, 2)]->setChecked(true);
    } else {
        (given ? Page8.RadioButton_RegulacneParametre_Zadane_8 : Page8.RadioButton_RegulacneParametre_Pocitane_8)
            ->setChecked(true);
        QToolButton* limits[] = { Page8.SpeedButton_A2xR, Page8.SpeedButton_A3xs, Page8.SpeedButton_3xs };
        QToolButton* chosen = limits[std::clamp(FInput.SV_UCL_LCL_8, 0, 2)];
        chosen->setChecked(true);
        PlaceUclLclMarker(chosen);
    }

    // A list the chart statistics refuse (too many points, damaged items) is said once;
    // the page opens empty and the record keeps its lists.
    if (!loaded)
        ShowMessageOnce(refusal);
    const int count = loaded ? ChartData.ChartPointCount : 0;
    if (count >= 1) {
        SetupChartGrid(table, individuals ? 1 : MaxChartSubgroupSize, MaxChartPoints);
        for (int i = 1; i <= count; ++i) {
            const int values = individuals ? 1 : ChartData.ChartSubgroupSizes[i];
            for (int j = 0; j < values; ++j) {
                const QString& text = ChartData.ChartPointValueTexts[i][j];
                if (text.isEmpty())
                    continue;
                table.SetTextRC(i, j + 3, text);
                ChartData.ChartLastEditMask = PointValueMask(text);
                if (ChartData.ChartLastEditMask.size() > ChartData.ChartNumberMask.size())
                    ChartData.ChartNumberMask = ChartData.ChartLastEditMask;
            }
        }
        table.SetSelection(1, 3, count, individuals ? 3 : MaxChartSubgroupSize + 2);
        table.SetNumberFormat(ChartData.ChartNumberMask);
        table.SetSelection(1, 1, 1, 1);
        TChart* chart = individuals ? Page7.RegulacnyDiagram_7 : Page8.RegulacnyDiagram_8;
        chart->SetValueFormat(QStringLiteral("#,##0.") + ChartData.ChartNumberMask);
        const QString& dates = individuals ? FInput.DM_7 : FInput.DM_8;
        const QStringList dateItems = SourceListItems(dates, count);
        const QStringList operators = SourceListItems(individuals ? FInput.Meral_7 : FInput.Meral_8, count);
        for (int i = 1; i <= count; ++i) {
            if (!dates.isEmpty())
                table.SetTextRC(i, 1, dateItems[i - 1]);
            table.SetTextRC(i, 2, operators[i - 1]);
        }
    }
    ChartShared.SpeedButton_X_Diagram->setChecked(ChartType == 0);
    ChartShared.SpeedButton_R_Diagram->setChecked(ChartType == 1);
    FChartNeedsRecalc = true;
    FChartDataValid = true;
    ChartData.ChartDivideByDate = (individuals ? FInput.DPD_7 : FInput.DPD_8) != 0;
    // The load left the date labels off; the record's choice shows when every point has
    // its date, as the check box would allow it.
    ChartData.ChartDateLabels = (individuals ? FInput.ZDM_7 : FInput.ZDM_8) != 0 && ChartData.ChartAllDated;
    if (individuals) {
        Page7.CheckBox_ShowDateMeasurement_7->setChecked(FInput.ZDM_7 != 0);
        Page7.CheckBox_DeleniePodlaDatumu_7->setChecked(FInput.DPD_7 != 0);
        ArrangeChartPage();
        ShowIndividualsParameters();
    } else {
        Page8.CheckBox_ShowDateMeasurement_8->setChecked(FInput.ZDM_8 != 0);
        Page8.CheckBox_DeleniePodlaDatumu_8->setChecked(FInput.DPD_8 != 0);
        ArrangeChartPage();
        ShowSubgroupParameters();
    }
}

void TfOrvek6::ArrangeChartPage()
{
    const bool individuals = PageControl1->currentWidget() == Page7.TabSheet_7;
    if (!individuals && PageControl1->currentWidget() != Page8.TabSheet_8)
        return;
    QTabWidget* pages = individuals ? Page7.PageControl_7 : Page8.PageControl_8;
    QWidget* panel = individuals ? Page7.Panel19 : Page8.Panel21;
    QWidget* const* rows = individuals ? Page7.ButtonRow : Page8.ButtonRow;
    panel->layout()->addWidget(ChartShared.Label48);
    panel->layout()->addWidget(ChartShared.ComboBox_Standardna_neisota_sa_rovna);
    ChartShared.Label48->show();
    ChartShared.ComboBox_Standardna_neisota_sa_rovna->show();
    const TSourceChartShared& s = ChartShared;
    QWidget* pointsSheet = individuals ? Page7.TabSheet_7_1 : Page8.TabSheet_8_1;
    if (pages->currentWidget() != pointsSheet)
        (individuals ? Page7.Table_7 : Page8.Table_8)->EndEdit();
    switch (pages->currentIndex()) {
    case 0:
        PlaceButtons(rows[0], { s.SpeedButton_DataToWindow, s.SpeedButton_X_Diagram, s.SpeedButton_R_Diagram }, s);
        break;
    case 1:
        PlaceButtons(rows[1],
            { s.SpeedButton_DataToWindow, s.SpeedButton_Hide_Show, s.SpeedButton_CopyFromTable,
                s.SpeedButton_PasteToTable },
            s);
        break;
    case 2:
        PlaceButtons(rows[2],
            { s.SpeedButton_X_Diagram, s.SpeedButton_R_Diagram, s.SpeedButton_DataToWindow,
                s.SpeedButton_CopyStatistika },
            s);
        break;
    default:
        PlaceButtons(rows[3],
            { s.SpeedButton_X_Diagram, s.SpeedButton_R_Diagram, s.SpeedButton_DataToWindow, s.SpeedButton_CopyGraph },
            s);
        break;
    }
    if (individuals)
        FChartSheet7 = pages->currentWidget();
    else
        FChartSheet8 = pages->currentWidget();
    // The statistics and chart sheets show the state of the options and table: they are
    // recomputed on showing when either changed. A check refusing the table may show
    // the points sheet meanwhile, which must not start a second computation.
    if (pages->currentIndex() >= 2 && FChartNeedsRecalc && !FArrangingChart) {
        FArrangingChart = true;
        Button_RecalculateClick();
        FArrangingChart = false;
    }
}

void TfOrvek6::ShowIndividualsParameters()
{
    const bool given = FInput.RPSS_7 == 1;
    Page7.GroupBox_Parametre_Zadane_7->setVisible(given);
    Page7.GroupBox_OdhadStandardnejOdchylky_7->setVisible(!given);
    if (given && Page7.Edit_CentralnaLinia_7->text().isEmpty() && Page7.EditStandardnaOdchylka_7->text().isEmpty()) {
        QString cl, s;
        FormatValueAndUncertainty(FInput.CLX_7, FInput.SO_7, cl, s);
        Page7.Edit_CentralnaLinia_7->setText(cl);
        Page7.EditStandardnaOdchylka_7->setText(s);
    }
    FChartNeedsRecalc = true;
    FOKAllowed = true;
    Button_Recalculate->setEnabled(true);
}

void TfOrvek6::ShowSubgroupParameters()
{
    const bool given = FInput.RPSS_8 == 1;
    Page8.GroupBox_Parametre_Zadane_8->setVisible(given);
    Page8.GroupBox_Vypocet_UCL_LCL->setVisible(!given);
    if (given && Page8.Edit_CentralnaLinia_8->text().isEmpty() && Page8.EditStandardnaOdchylka_8->text().isEmpty()) {
        QString cl, s;
        FormatValueAndUncertainty(FInput.CLX_8, FInput.SO_8, cl, s);
        Page8.Edit_CentralnaLinia_8->setText(cl);
        Page8.EditStandardnaOdchylka_8->setText(s);
    }
    FChartNeedsRecalc = true;
    FOKAllowed = true;
}

void TfOrvek6::ChartPointPosition(int I, double& X, QString& Label) const
{
    orvek::ChartPointPosition(ChartData, I, X, Label);
}

void TfOrvek6::SetIndividualsAxisLabels(const TChartPlot& Plot)
{
    ShowChartBottomAxis(*Page7.RegulacnyDiagram_7, Plot);
}

void TfOrvek6::SetSubgroupAxisLabels(const TChartPlot& Plot)
{
    ShowChartBottomAxis(*Page8.RegulacnyDiagram_8, Plot);
}

void TfOrvek6::DrawChart()
{
    const int page = ActiveChartPage();
    if (page == 0 || ChartData.ChartPointCount == 0)
        return;
    TChartPlotOptions options;
    options.Method = page == 7 ? 11 : 12;
    options.UncertaintyOption = page == 7 ? FInput.OV_7 : FInput.OV_8;
    options.CenterLineText = ChartData.ChartType == 0 ? FInput.CLX_7 : FInput.CLR_7;
    options.MarkEvaluatedRange = page == 8 && FInput.UR_8 == 1;
    const TChartPlot plot = BuildChartPlot(ChartData, options);
    if (page == 7) {
        ShowChartPlot(*Page7.RegulacnyDiagram_7, plot);
        SetIndividualsAxisLabels(plot);
    } else {
        ShowChartPlot(*Page8.RegulacnyDiagram_8, plot);
        SetSubgroupAxisLabels(plot);
    }
}

namespace {

// The rows of the evaluated range of a chart page: R_OD to R_DO when the range is in
// use, else every point; always within the points read.
void EvaluatedRows(bool inUse, int from, int to, int count, int& first, int& last)
{
    first = inUse ? std::max(1, from) : 1;
    last = inUse ? std::min(to, count) : count;
}

} // namespace

void TfOrvek6::ComputeIndividualsPage()
{
    FInput.HSN.clear();
    Page7.RichEdit_RD_Statistika_7->Clear();
    if (!FChartDataValid) {
        Edit_HodnotaNeistoty->clear();
        const int count = ReadIndividualsTable();
        if (count > 2) {
            int first = 0, last = 0;
            EvaluatedRows(FInput.UR_7 == 1, FInput.R_OD_7, FInput.R_DO_7, ChartData.ChartPointCount, first, last);
            TF1Book& table = *Page7.Table_7;
            for (int row = first; row <= last; ++row) {
                const QString text = table.TextRC(row, 3).trimmed();
                double value = 0;
                if (text.isEmpty() || TryStrToFloatNeutral(text, value))
                    continue;
                Page7.PageControl_7->setCurrentWidget(Page7.TabSheet_7_1);
                MessageDlg(GetString(179, { text }), TMsgDlgType::mtError, mbRetry);
                table.setFocus();
                table.SetSelection(row, 3, row, 3);
                return;
            }
            FChartDataValid = true;
        }
    }
    if (FChartDataValid)
        RunIndividualsChart();
}

void TfOrvek6::ComputeSubgroupPage()
{
    FInput.HSN.clear();
    Page8.RichEdit_RD_Statistika_8->Clear();
    if (!FChartDataValid) {
        Edit_HodnotaNeistoty->clear();
        const int count = ReadSubgroupTable();
        if (count > 2) {
            int first = 0, last = 0;
            EvaluatedRows(FInput.UR_8 == 1, FInput.R_OD_8, FInput.R_DO_8, ChartData.ChartPointCount, first, last);
            TF1Book& table = *Page8.Table_8;
            const auto refuse = [&](const QString& message, int row, int col) {
                Page8.PageControl_8->setCurrentWidget(Page8.TabSheet_8_1);
                MessageDlg(message, TMsgDlgType::mtError, mbRetry);
                table.setFocus();
                table.SetSelection(row, col, row, col);
            };
            for (int row = first; row <= last; ++row) {
                int values = 0;
                for (int col = 3; col <= table.MaxCol(); ++col) {
                    const QString text = table.TextRC(row, col).trimmed();
                    double value = 0;
                    if (text.isEmpty())
                        continue;
                    if (!TryStrToFloatNeutral(text, value)) {
                        refuse(GetString(179, { text }), row, col);
                        return;
                    }
                    ++values;
                }
                if (values == 0) {
                    refuse(GetString(988, { QString::number(row) }), row, 3);
                    return;
                }
                if (values == 1) {
                    refuse(GetString(987, { QString::number(row) }), row, 4);
                    return;
                }
            }
            FChartDataValid = true;
        }
    }
    if (FChartDataValid)
        RunSubgroupChart();
}

void TfOrvek6::RunIndividualsChart()
{
    SetChartInputs();
    QString reason;
    if (!ComputeIndividualsChart(ChartData, Page7.EditStandardnaOdchylka_7->text().trimmed(),
            Page7.Edit_CentralnaLinia_7->text().trimmed(), FInput, reason)) {
        // No result: the statistics box says why instead of staying empty.
        Page7.RichEdit_RD_Statistika_7->setPlainText(reason);
        FChartNeedsRecalc = false;
        return;
    }
    Edit_HodnotaNeistoty->setText(FormatSignificantText(SignificantDigits, FInput.HSN));
    CheckChartRules(ChartData, FInput.OV_7, 11);
    BuildChartStatistics();
}

void TfOrvek6::RunSubgroupChart()
{
    SetChartInputs();
    QString reason;
    // A Recalculate keeps the page's date options, as the chart windows do.
    const bool loaded = ReloadChartDataFromInput(ChartData, FInput, reason);
    if (!loaded
        || !ComputeSubgroupChart(ChartData, Page8.EditStandardnaOdchylka_8->text().trimmed(),
            Page8.Edit_CentralnaLinia_8->text().trimmed(), FInput, reason)) {
        Page8.RichEdit_RD_Statistika_8->setPlainText(reason);
        FChartNeedsRecalc = false;
        return;
    }
    Edit_HodnotaNeistoty->setText(FormatSignificantText(SignificantDigits, FInput.HSN));
    CheckChartRules(ChartData, FInput.OV_8, 12);
    BuildChartStatistics();
}

void TfOrvek6::BuildChartStatistics()
{
    const bool individuals = ActiveChartPage() != 8;
    ReportTableOwner owner;
    QString markup;
    if (individuals) {
        BuildIndividualsStatisticsTable(ChartData, FInput, markup);
        BuildRuleTestTable(ChartData, markup);
        ChartData.ChartRuleMessage.clear();
        if (ChartData.ChartOutOfControl)
            BuildRuleTestMessage(ChartData, ChartData.ChartRuleMessage);
    } else {
        BuildSubgroupStatisticsTable(ChartData, FInput, markup);
    }
    TRichEdit98& box = individuals ? *Page7.RichEdit_RD_Statistika_7 : *Page8.RichEdit_RD_Statistika_8;
    try {
        RenderMarkupToRichEdit(ReportFontSize, ReportFontName, true, box, markup);
    } catch (const std::exception&) {
        // A text that cannot be rendered leaves the box empty rather than half filled.
        box.Clear();
    }
    QTextCursor caret = box.textCursor();
    caret.movePosition(QTextCursor::Start);
    caret.movePosition(QTextCursor::NextCharacter);
    box.setTextCursor(caret);
    FChartNeedsRecalc = false;
}

void TfOrvek6::HideUnusedLimitButtons()
{
    Page8.SpeedButton_A3xs->hide();
    Page8.SpeedButton_3xs->hide();
    // The chart pages' controls are complete here: their handlers are wired once.
    ConnectChartPages();
}

void TfOrvek6::PlaceUclLclMarker(QToolButton* button)
{
    // The marker stands beside the chosen limit method's button.
    auto* grid = static_cast<QGridLayout*>(Page8.GroupBox_Vypocet_UCL_LCL->layout());
    int row = 0, col = 0, rowSpan = 0, colSpan = 0;
    const int index = grid->indexOf(button);
    if (index < 0)
        return;
    grid->getItemPosition(index, &row, &col, &rowSpan, &colSpan);
    grid->removeWidget(Page8.Label_UCL_LCL);
    grid->addWidget(Page8.Label_UCL_LCL, row, 1);
    for (QToolButton* b : { Page8.SpeedButton_A2xR, Page8.SpeedButton_A3xs, Page8.SpeedButton_3xs })
        b->setChecked(b == button);
}

} // namespace orvek

// The chart windows' work and handlers: checking, reading and computing the point
// table, drawing the chart, the statistics page, the evaluated range, the table's
// events, the options, the copies to the clipboard, help and the out-of-control panel.

#include "sources/ui/chart_detail_window.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/rtf_writer.h"
#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "platform/ui/window_placement.h"
#include "richtext/report_table.h"
#include "richtext/ui/markup_rich_edit.h"
#include "sources/chart_data.h"
#include "sources/chart_plot.h"
#include "sources/chart_rules.h"
#include "sources/chart_tables.h"
#include "sources/chart_window_grid.h"
#include "sources/source_help.h"
#include "sources/ui/orvek_message.h"
#include "sources/ui/source_dialog_chart_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QTimer>
#include <QToolButton>

namespace orvek {

namespace {

// The hourglass for the length of a step, also when it ends early.
struct Hourglass {
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

// The whole content of a rich edit as RTF of our writer, its caret left alone.
QString WholeRtf(TRichEdit98& Box)
{
    const QTextCursor caret = Box.textCursor();
    Box.selectAll();
    QString text;
    Box.GetRTFText(text);
    Box.setTextCursor(caret);
    return text;
}

// A check's message with its arguments.
QString FaultText(const TChartGridFault& Fault)
{
    const QStringList& a = Fault.Arguments;
    switch (a.size()) {
    case 0:
        return GetString(Fault.Message);
    case 1:
        return GetString(Fault.Message, { a[0] });
    default:
        return GetString(Fault.Message, { a[0], a[1] });
    }
}

} // namespace

void TChartDetailForm::Connect()
{
    Grid->OnStartEdit = [this](bool&) {
        FModified = true;
        FGridEdited = true;
    };
    Grid->OnEndEdit = [this](QString& Text, bool& Cancel) { Table_EndEdit(Text, Cancel); };
    Grid->OnModified = [this] {
        if (!loading_)
            FModified = true;
    };
    Grid->OnStartRecalc = [this] {
        if (!loading_)
            FModified = true;
    };
    Grid->OnKeyDown = [this](int Key, Qt::KeyboardModifiers) {
        if (Key == Qt::Key_Delete)
            FModified = true;
    };
    Grid->OnPasteCell = &AcceptPastedPointCell;

    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
    connect(SpeedButton_NovyRozsah, &QToolButton::clicked, this, [this] { SpeedButton_NovyRozsahClick(); });
    connect(SpeedButton_CelyRozsah, &QToolButton::clicked, this, [this] { SpeedButton_CelyRozsahClick(); });
    connect(SpeedButton_Prepocitat, &QToolButton::clicked, this, [this] { SpeedButton_PrepocitatClick(); });
    connect(ComboBox_TypDiagramu_X_R, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            ComboBox_TypDiagramu_X_RChange();
    });
    connect(ComboBox_Standardna_neisota_sa_rovna, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            ComboBox_Standardna_neisota_sa_rovnaChange();
    });
    connect(Edit_N_pre_priemer, &QLineEdit::textChanged, this, [this] {
        if (!loading_)
            Edit_N_pre_priemerChange();
    });
    connect(
        RadioButton_RegulacneParametre_Zadane, &QRadioButton::clicked, this, [this] { RegulacneParametreClick(true); });
    connect(RadioButton_RegulacneParametre_Pocitane, &QRadioButton::clicked, this,
        [this] { RegulacneParametreClick(false); });
    for (QLineEdit* edit : { Edit_CentralnaLinia_X, Edit_StandardnaOdchylka })
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (!loading_)
                FModified = true;
        });
    connect(CheckBox_ShowDateMeasurement, &QCheckBox::clicked, this, [this] { CheckBox_ShowDateMeasurementClick(); });
    connect(CheckBox_DeleniePodlaDatumu, &QCheckBox::clicked, this, [this] { CheckBox_DeleniePodlaDatumuClick(); });
    connect(cbAutoShowErrors, &QCheckBox::clicked, this,
        [this] { ChartData.ChartAutoShowErrors = cbAutoShowErrors->isChecked(); });
    connect(SpeedButton_Hide_Show, &QToolButton::clicked, this, [this] { SpeedButton_Hide_ShowClick(); });
    connect(SpeedButton_CopyFromTable, &QToolButton::clicked, this, [this] { SpeedButton_CopyFromTableClick(); });
    connect(SpeedButton_CutFromTable, &QToolButton::clicked, this, [this] { SpeedButton_CutFromTableClick(); });
    connect(SpeedButton_PasteToTable, &QToolButton::clicked, this, [this] { SpeedButton_PasteToTableClick(); });
    connect(RichEdit_PopisBunky, &QTextEdit::textChanged, this, [this] {
        if (!loading_)
            FModified = true;
    });
    connect(SpeedButton_CopyGraph, &QToolButton::clicked, this, [this] { SpeedButton_CopyGraphClick(); });
    connect(SpeedButton_CopyStatistika, &QToolButton::clicked, this, [this] { SpeedButton_CopyStatistikaClick(); });
    connect(Button_FullReportToClipboard, &QPushButton::clicked, this, [this] { Button_FullReportToClipboardClick(); });
    connect(SpeedButton_Help, &QToolButton::clicked, this, [this] { SpeedButton_HelpClick(); });
    connect(Panel_ShowErrorStatistics, &QPushButton::clicked, this, [this] { Panel_ShowErrorStatisticsClick(); });
    connect(Button_OK, &QPushButton::clicked, this, [this] { Button_OKClick(); });
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { reject(); });
}

// --- checking and computing ---

void TChartDetailForm::RefuseCell(const QString& Message, int Row, int Col)
{
    cellRefused_ = true;
    MessageDlg(Message, TMsgDlgType::mtError, mbRetry);
    Grid->setFocus();
    Grid->SetSelection(Row, Col, Row, Col);
}

bool TChartDetailForm::ValidateGrid()
{
    if (RPSS() == 1
        && (Edit_CentralnaLinia_X->text().trimmed().isEmpty() || Edit_StandardnaOdchylka->text().trimmed().isEmpty()))
        return false;
    TF1BookTable table(*Grid);
    const TChartGridFault fault = CheckAndCompactChartTable(table, methodText_);
    if (fault) {
        RefuseCell(FaultText(fault), fault.Row, fault.Col);
        return false;
    }
    return ReadGrid() >= 3;
}

bool TChartDetailForm::CheckEvaluatedRange()
{
    int first = 0, last = 0;
    EvaluatedRange(first, last);
    if (Individuals()) {
        IndividualsRangeFirst = first;
        IndividualsRangeLast = last;
    }
    const TChartGridFault fault = CheckEvaluatedRows(TF1BookCells(*Grid), first, last, !Individuals());
    if (!fault)
        return true;
    RefuseCell(FaultText(fault), fault.Row, fault.Col);
    return false;
}

void TChartDetailForm::Recompute()
{
    Hourglass hourglass;
    FInput.HSN.clear();
    RichEdit_RD_Statistika->Clear();
    if (ReadGrid() < 3)
        return;
    if (!CheckEvaluatedRange())
        return;
    computeReason_.clear();
    if (!ComputeChart()) {
        // No result: the statistics page says why instead of staying empty.
        RichEdit_RD_Statistika->setPlainText(computeReason_);
        return;
    }
    CheckChartRules(ChartData, OV(), method_);
    ShowStatistics();
    ShowIntermediateResults();
}

bool TChartDetailForm::ComputeFromGrid()
{
    FInput.HSN.clear();
    Recompute();
    FInput.USType = 1;
    return !FInput.HSN.isEmpty();
}

bool TChartDetailForm::CommitAndCompute()
{
    Grid->EndEdit();
    FGridEdited = false;
    cellRefused_ = false;
    chartCurrent_ = ValidateGrid() && ComputeFromGrid();
    // The fill of a sub-range follows the points it reaches.
    if (chartCurrent_ && UR() == 1)
        ShowEvaluatedRows();
    return chartCurrent_;
}

void TChartDetailForm::DrawChart()
{
    if (!chartCurrent_)
        return;
    Hourglass hourglass;
    TChartPlotOptions options;
    options.Method = method_;
    options.UncertaintyOption = OV();
    options.DetailWindow = true;
    DrawOptions(options);
    const TChartPlot plot = BuildChartPlot(ChartData, options);
    ShowChartPlot(*RegulacnyDiagram, plot);
    ShowChartBottomAxis(*RegulacnyDiagram, plot);
    // The legend names the centre line and the limits only.
    QLegend* legend = RegulacnyDiagram->chart()->legend();
    for (int i = 0; i < RegulacnyDiagram->SeriesCount(); ++i)
        for (QLegendMarker* marker : legend->markers(RegulacnyDiagram->Series(i)))
            marker->setVisible(i >= 1 && i <= 3 && RegulacnyDiagram->SeriesActive(i));
    AfterDraw();
}

void TChartDetailForm::ShowMarkup(TRichEdit98& Box, const QString& Markup, int Caret)
{
    const bool readOnly = Box.isReadOnly();
    Box.setReadOnly(false);
    try {
        RenderMarkupToRichEdit(ReportFontSize, ReportFontName, false, Box, Markup);
    } catch (const std::exception&) {
        // A text that cannot be rendered leaves the page empty rather than half filled.
        Box.Clear();
    }
    Box.setReadOnly(readOnly);
    QTextCursor caret = Box.textCursor();
    caret.movePosition(QTextCursor::Start);
    if (Caret > 0)
        caret.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, Caret);
    Box.setTextCursor(caret);
}

void TChartDetailForm::ShowStatistics()
{
    ReportTableOwner owner;
    ChartData.ChartRuleMessage.clear();
    QString markup;
    if (Individuals())
        BuildIndividualsStatisticsTable(ChartData, FInput, markup);
    else
        BuildSubgroupStatisticsTable(ChartData, FInput, markup);
    BuildRuleTestTable(ChartData, markup);
    if (ChartData.ChartOutOfControl) {
        BuildRuleTestMessage(ChartData, ChartData.ChartRuleMessage);
        if (ShowsPanelAlways() || ChartData.ChartAutoShowErrors) {
            Panel_ShowErrorStatistics->show();
            Panel_ShowErrorStatistics->raise();
        }
        Timer2->start();
    } else {
        // Nothing violated: an indicator left from an earlier computation would point
        // at rules that now hold.
        HideErrorPanel();
    }
    ShowMarkup(*RichEdit_RD_Statistika, markup, StatisticsCaret());
}

void TChartDetailForm::RefreshNumberMask()
{
    const QString mask = LongestValueMask(TF1BookCells(*Grid));
    if (mask.size() != ChartData.ChartNumberMask.size()) {
        ChartData.ChartNumberMask = mask;
        FormatAllValues();
    }
    SetValueAxisFormat();
}

void TChartDetailForm::ShowParameterGroups(QGroupBox* MethodGroup, bool MethodGroupShown)
{
    const bool given = RadioButton_RegulacneParametre_Zadane->isChecked();
    RPSS() = given ? 1 : 0;
    GroupBox_Parametre_Zadane->setVisible(given);
    if (given) {
        MethodGroup->hide();
        if (Edit_CentralnaLinia_X->text().isEmpty() && Edit_StandardnaOdchylka->text().isEmpty()) {
            QString cl, s;
            FormatValueAndUncertainty(
                Individuals() ? FInput.CLX_7 : FInput.CLX_8, Individuals() ? FInput.SO_7 : FInput.SO_8, cl, s);
            Edit_CentralnaLinia_X->setText(cl);
            Edit_StandardnaOdchylka->setText(s);
        }
    } else {
        MethodGroup->setVisible(MethodGroupShown);
    }
    FModified = true;
}

// --- the evaluated range ---

void TChartDetailForm::SpeedButton_NovyRozsahClick()
{
    Hourglass hourglass;
    Grid->EndEdit();
    // Rows below the last value hold no point: the range ends at the data.
    const int r1 = Grid->SelStartRow();
    const int selectedLast = Grid->SelEndRow();
    const int r2 = std::min(selectedLast, LastUsedValueRow(TF1BookCells(*Grid)));
    if (r2 - r1 + 1 >= 5) {
        UR() = 1;
        R_OD() = r1;
        R_DO() = r2;
        RecomputeAndDraw();
        ShowEvaluatedRows();
        // A refused cell stays selected, so that the user sees what to mend.
        if (!cellRefused_)
            Grid->SetSelection(R_OD(), 1, R_OD(), 1);
        FModified = true;
    } else if (r1 == selectedLast && UR() == 1) {
        RecomputeAndDraw();
    } else {
        MessageDlg(GetString(978), TMsgDlgType::mtError, mbRetry);
    }
}

void TChartDetailForm::SpeedButton_CelyRozsahClick()
{
    Hourglass hourglass;
    const bool subRange = UR() == 1;
    UR() = 0;
    R_OD() = 1;
    R_DO() = 99999;
    if (subRange) {
        ShowEvaluatedRows();
        Grid->SetSelection(1, 1, 1, 1);
    }
    RecomputeAndDraw();
    FModified = true;
}

void TChartDetailForm::SpeedButton_PrepocitatClick()
{
    Button_OK->setFocus();
    Grid->EndEdit();
    Hourglass hourglass;
    RecomputeAndDraw();
}

// --- the table ---

bool TChartDetailForm::ComputeChart()
{
    if (!ReloadChartDataFromInput(ChartData, FInput, computeReason_))
        return false;
    const QString s = Edit_StandardnaOdchylka->text().trimmed();
    const QString center = Edit_CentralnaLinia_X->text().trimmed();
    return Individuals() ? ComputeIndividualsChart(ChartData, s, center, FInput, computeReason_)
                         : ComputeSubgroupChart(ChartData, s, center, FInput, computeReason_);
}

void TChartDetailForm::Table_EndEdit(QString& Text, bool& Cancel)
{
    if (!TakeEditedPointCell(*Grid, Text, Cancel))
        return;
    ValueEdited(Text);
    SetValueAxisFormat();
}

void TChartDetailForm::SpeedButton_Hide_ShowClick()
{
    const bool hidden = SpeedButton_Hide_Show->isChecked();
    Grid->SetColHidden(1, hidden);
    Grid->SetColHidden(2, hidden);
    ShowIntermediateResults();
}

void TChartDetailForm::SpeedButton_CopyFromTableClick()
{
    Grid->EditCopy();
}

void TChartDetailForm::SpeedButton_CutFromTableClick()
{
    Grid->EditCut();
    FModified = true;
    FGridEdited = true;
}

void TChartDetailForm::SpeedButton_PasteToTableClick()
{
    if (!Grid->EditPaste())
        return;
    RefreshNumberMask();
    FModified = true;
    FGridEdited = true;
}

// --- options ---

void TChartDetailForm::ComboBox_Standardna_neisota_sa_rovnaChange()
{
    const int item = ComboBox_Standardna_neisota_sa_rovna->currentIndex();
    if (item < 0)
        return;
    OV() = item;
    if (item == 2 || item == 3) {
        Edit_N_pre_priemer->setEnabled(true);
        Edit_N_pre_priemer->setFocus();
    } else {
        if (Edit_N_pre_priemer->text() != QLatin1String("1"))
            Edit_N_pre_priemer->setText(QStringLiteral("1"));
        Edit_N_pre_priemer->setEnabled(false);
    }
    RecomputeAndDraw();
    FModified = true;
}

void TChartDetailForm::Edit_N_pre_priemerChange()
{
    TakeMeanCount(Edit_N_pre_priemer, NPP(), [this] { ApplyParameterMode(); });
}

void TChartDetailForm::RegulacneParametreClick(bool Given)
{
    RPSS() = Given ? 1 : 0;
    ApplyParameterMode();
}

void TChartDetailForm::CheckBox_ShowDateMeasurementClick()
{
    Grid->EndEdit();
    if (FGridEdited)
        CommitAndCompute();
    if (!CheckBox_ShowDateMeasurement->isChecked()) {
        ChartData.ChartDateLabels = false;
    } else if (ChartData.ChartAllDated) {
        ChartData.ChartDateLabels = true;
    } else {
        MessageDlg(GetString(997), TMsgDlgType::mtError, mbRetry);
        CheckBox_ShowDateMeasurement->setChecked(false);
        ChartData.ChartDateLabels = false;
    }
    ZDM() = ChartData.ChartDateLabels ? 1 : 0;
    DrawChart();
    FModified = true;
}

void TChartDetailForm::CheckBox_DeleniePodlaDatumuClick()
{
    Grid->EndEdit();
    if (FGridEdited)
        CommitAndCompute();
    if (ChartData.ChartAllDated) {
        ChartData.ChartDivideByDate = CheckBox_DeleniePodlaDatumu->isChecked();
        DrawChart();
        // Spacing by date labels the points by date from now on, also once unchecked;
        // the date box says so.
        ChartData.ChartDateLabels = true;
        CheckBox_ShowDateMeasurement->setChecked(true);
        FModified = true;
    } else {
        MessageDlg(GetString(997), TMsgDlgType::mtError, mbRetry);
        CheckBox_DeleniePodlaDatumu->setChecked(false);
        ChartData.ChartDateLabels = false;
        CheckBox_ShowDateMeasurement->setChecked(false);
    }
    DPD() = ChartData.ChartDivideByDate ? 1 : 0;
    ZDM() = ChartData.ChartDateLabels ? 1 : 0;
    DrawChart();
}

// --- copies, help and the panel ---

void TChartDetailForm::SpeedButton_CopyGraphClick()
{
    RegulacnyDiagram->CopyToClipboard();
}

void TChartDetailForm::SpeedButton_CopyStatistikaClick()
{
    TRichEdit98& box = *RichEdit_RD_Statistika;
    if (box.textCursor().hasSelection()) {
        box.copy();
        return;
    }
    box.selectAll();
    box.copy();
    QTextCursor start = box.textCursor();
    start.movePosition(QTextCursor::Start);
    box.setTextCursor(start);
}

void TChartDetailForm::Button_FullReportToClipboardClick()
{
    // The report is assembled as a document of its own: the user's clipboard is not
    // used on the way, only given the result.
    QTextDocument report;
    report.setDefaultFont(QFont(QStringLiteral("Arial")));
    QTextCursor cursor(&report);
    const std::pair<int, TRichEdit98*> pages[]
        = { { 0, RichEdit_RD_Statistika }, { 1, RichEdit_SDi_Ri }, { 2, RichEdit_PopisBunky } };
    for (const auto& [index, box] : pages) {
        cursor.insertText(PageControl1->tabText(index));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral(" "));
        cursor.insertBlock();
        cursor.insertFragment(QTextDocumentFragment(box->document()));
        cursor.insertBlock();
    }
    const QImage picture = RegulacnyDiagram->Picture();
    const QUrl name(QStringLiteral("orvek-chart.png"));
    report.addResource(QTextDocument::ImageResource, name, picture);
    QTextImageFormat image;
    image.setName(name.toString());
    image.setWidth(picture.width());
    image.setHeight(picture.height());
    cursor.insertImage(image);

    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), WriteRtf(&report));
    data->setText(report.toPlainText());
    QApplication::clipboard()->setMimeData(data);
}

void TChartDetailForm::SpeedButton_HelpClick()
{
    ShowSourceHelp(method_);
}

void TChartDetailForm::Panel_ShowErrorStatisticsClick()
{
    std::unique_ptr<TfOrvekMessage> own;
    TfOrvekMessage* box = fOrvekMessage;
    if (!box) {
        own = std::make_unique<TfOrvekMessage>(this);
        box = own.get();
    }
    box->ShowMarkupMessage(ChartData.ChartRuleMessage);
    const OpenedFrom opened(box, this);
    box->exec();
    HideErrorPanel();
}

void TChartDetailForm::Button_OKClick()
{
    if (editLevel_ == 0)
        return;
    DetailComment() = WholeRtf(*RichEdit_PopisBunky);
    accept();
}

} // namespace orvek

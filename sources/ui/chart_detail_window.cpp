// The chart windows' frame: the controls and their layout, the texts, the exchange with
// the source dialog (loading its record and table, handing them back), the timers and
// closing.

#include "sources/ui/chart_detail_window.h"
#include "core/ui/grid_routines.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/ui/chart.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "sources/chart_data.h"
#include "sources/ui/source_dialog_chart_view.h"
#include "sources/ui/source_page_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvek {

namespace {

QString Named(const char* name, const char* suffix)
{
    return QLatin1String(name) + QLatin1String(suffix);
}

TRichEdit98* MakePageEdit(QWidget* page, const QString& name, bool readOnly)
{
    auto* edit = new TRichEdit98(page);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit);
    return edit;
}

QToolButton* MakeTextButton(QWidget* parent, const char* name)
{
    QToolButton* button = MakeButton(parent, name, QString());
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

TChartDetailForm::TChartDetailForm(int Method, const char* Suffix, QWidget* Parent)
    : QDialog(Parent)
    , method_(Method)
{
    setObjectName(Named("fRegulacnyDiagramDetail", Suffix));
    setSizeGripEnabled(true);
    TF1Book::SetRefusalHandler(&ShowTableRefusal);
    BuildLayout(Suffix);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(500);
    // What the window starts with, before the dialog loads it.
    for (int text : { 1011, 1012, 1090, 1091 })
        ComboBox_Standardna_neisota_sa_rovna->addItem(GetString(text));
    ComboBox_TypDiagramu_X_R->addItems({ QStringLiteral("X - Diagram"), QStringLiteral("R - Diagram") });
    Connect();
    ShowPanelPhase(true);
    Panel_ShowErrorStatistics->hide();
    Timer2->stop();
    FModified = false;
    resize(1000, 700);
}

TChartDetailForm::~TChartDetailForm() = default;

void TChartDetailForm::BuildLayout(const char* Suffix)
{
    auto* main = new QVBoxLayout(this);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    main->addWidget(Splitter1, 1);

    // Left: the point table with its tool bar over the pages.
    auto* left = new QSplitter(Qt::Vertical, Splitter1);
    left->setObjectName(QStringLiteral("Splitter2"));
    left->setChildrenCollapsible(false);
    left->setMinimumWidth(342);
    leftPanel_ = left;
    auto* tablePanel = new QWidget(left);
    auto* tableLayout = new QVBoxLayout(tablePanel);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QHBoxLayout;
    tableTools_ = tools;
    SpeedButton_Hide_Show = MakeButton(tablePanel, "SpeedButton_Hide_Show", QStringLiteral("\u2194"), true);
    SpeedButton_CopyFromTable = MakeCopyButton(tablePanel, "SpeedButton_CopyFromTable");
    SpeedButton_PasteToTable = MakePasteButton(tablePanel, "SpeedButton_PasteToTable");
    SpeedButton_CutFromTable = MakeButton(tablePanel, "SpeedButton_CutFromTable", QString());
    SpeedButton_CutFromTable->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    SpeedButton_NovyRozsah = MakeTextButton(tablePanel, "SpeedButton_NovyRozsah");
    SpeedButton_CelyRozsah = MakeTextButton(tablePanel, "SpeedButton_CelyRozsah");
    SpeedButton_Prepocitat = MakeTextButton(tablePanel, "SpeedButton_Prepocitat");
    for (QToolButton* b : { SpeedButton_Hide_Show, SpeedButton_CopyFromTable, SpeedButton_PasteToTable,
             SpeedButton_CutFromTable, SpeedButton_NovyRozsah, SpeedButton_CelyRozsah, SpeedButton_Prepocitat })
        tools->addWidget(b);
    tools->addStretch(1);
    tableLayout->addLayout(tools);
    Grid = new TF1Book(tablePanel);
    Grid->setObjectName(Named("Table", Suffix));
    tableLayout->addWidget(Grid, 1);

    auto* pagesPanel = new QWidget(left);
    auto* pagesLayout = new QVBoxLayout(pagesPanel);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(pagesPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    RichEdit_RD_Statistika = MakePageEdit(TabSheet1, Named("RichEdit_RD_Statistika", Suffix), true);
    RichEdit_SDi_Ri = MakePageEdit(TabSheet2, QStringLiteral("RichEdit_SDi_Ri"), true);
    RichEdit_PopisBunky = MakePageEdit(TabSheet3, QStringLiteral("RichEdit_PopisBunky"), false);
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());
    PageControl1->addTab(TabSheet3, QString());
    pagesLayout->addWidget(PageControl1, 1);
    auto* pageTools = new QHBoxLayout;
    SpeedButton_CopyStatistika = MakeCopyButton(pagesPanel, "SpeedButton_CopyStatistika");
    SpeedButton_Help = MakeButton(pagesPanel, "SpeedButton_Help", QStringLiteral("?"));
    pageTools->addWidget(SpeedButton_CopyStatistika);
    pageTools->addWidget(SpeedButton_Help);
    pageTools->addStretch(1);
    pagesLayout->addLayout(pageTools);
    left->addWidget(tablePanel);
    left->addWidget(pagesPanel);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);

    // Right: the parameter panel over the chart.
    auto* right = new QWidget(Splitter1);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QWidget(right);
    panel->setObjectName(QStringLiteral("Panel_Parametre"));
    auto* panelLayout = new QGridLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    Label48 = MakeLabel(panel, "Label48");
    ComboBox_Standardna_neisota_sa_rovna = MakeList(panel, "ComboBox_Standardna_neisota_sa_rovna");
    QFont small = ComboBox_Standardna_neisota_sa_rovna->font();
    small.setPointSize(8);
    ComboBox_Standardna_neisota_sa_rovna->setFont(small);
    Label1 = MakeLabel(panel, "Label1");
    ComboBox_TypDiagramu_X_R = MakeList(panel, "ComboBox_TypDiagramu_X_R");
    CheckBox_ShowDateMeasurement = new QCheckBox(panel);
    CheckBox_ShowDateMeasurement->setObjectName(QStringLiteral("CheckBox_ShowDateMeasurement"));
    CheckBox_DeleniePodlaDatumu = new QCheckBox(panel);
    CheckBox_DeleniePodlaDatumu->setObjectName(QStringLiteral("CheckBox_DeleniePodlaDatumu"));
    panelLayout->addWidget(Label48, 0, 0);
    panelLayout->addWidget(ComboBox_Standardna_neisota_sa_rovna, 0, 1);
    panelLayout->addWidget(Label1, 1, 0);
    panelLayout->addWidget(ComboBox_TypDiagramu_X_R, 1, 1);
    panelLayout->addWidget(CheckBox_ShowDateMeasurement, 2, 0, 1, 2);
    panelLayout->addWidget(CheckBox_DeleniePodlaDatumu, 3, 0, 1, 2);

    GroupBox2 = new QGroupBox(panel);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* modeLayout = new QVBoxLayout(GroupBox2);
    RadioButton_RegulacneParametre_Zadane = new QRadioButton(GroupBox2);
    RadioButton_RegulacneParametre_Zadane->setObjectName(QStringLiteral("RadioButton_RegulacneParametre_Zadane"));
    RadioButton_RegulacneParametre_Pocitane = new QRadioButton(GroupBox2);
    RadioButton_RegulacneParametre_Pocitane->setObjectName(QStringLiteral("RadioButton_RegulacneParametre_Pocitane"));
    RadioButton_RegulacneParametre_Pocitane->setChecked(true);
    modeLayout->addWidget(RadioButton_RegulacneParametre_Zadane);
    modeLayout->addWidget(RadioButton_RegulacneParametre_Pocitane);
    // The groups stand in two columns beside the lists, so that the chart keeps the
    // width of a 1280-pixel screen in every language.
    panelLayout->addWidget(GroupBox2, 0, 2, 2, 1);

    // The given parameters and the window's own group share one place.
    methodPanel_ = new QWidget(panel);
    auto* methodLayout = new QVBoxLayout(methodPanel_);
    methodLayout->setContentsMargins(0, 0, 0, 0);
    GroupBox_Parametre_Zadane = new QGroupBox(methodPanel_);
    GroupBox_Parametre_Zadane->setObjectName(QStringLiteral("GroupBox_Parametre_Zadane"));
    auto* givenLayout = new QGridLayout(GroupBox_Parametre_Zadane);
    Label33 = MakeLabel(GroupBox_Parametre_Zadane, "Label33");
    Edit_CentralnaLinia_X = MakeEdit(GroupBox_Parametre_Zadane, "Edit_CentralnaLinia_X");
    Label39 = MakeLabel(GroupBox_Parametre_Zadane, "Label39");
    Edit_StandardnaOdchylka = MakeEdit(GroupBox_Parametre_Zadane, "Edit_StandardnaOdchylka");
    AddRow(givenLayout, Label33, Edit_CentralnaLinia_X);
    AddRow(givenLayout, Label39, Edit_StandardnaOdchylka);
    methodLayout->addWidget(GroupBox_Parametre_Zadane);
    panelLayout->addWidget(methodPanel_, 2, 2, 3, 1, Qt::AlignTop);

    GroupBox_Priemer_N = new QGroupBox(panel);
    GroupBox_Priemer_N->setObjectName(QStringLiteral("GroupBox_Priemer_N"));
    auto* meanLayout = new QHBoxLayout(GroupBox_Priemer_N);
    auto* meanLabel = MakeLabel(GroupBox_Priemer_N, "Label_N");
    meanLabel->setText(QStringLiteral("N = "));
    Edit_N_pre_priemer = MakeEdit(GroupBox_Priemer_N, "Edit_N_pre_priemer");
    Edit_N_pre_priemer->setText(QStringLiteral("1"));
    Edit_N_pre_priemer->setMaximumWidth(60);
    meanLayout->addWidget(meanLabel);
    meanLayout->addWidget(Edit_N_pre_priemer);
    meanLayout->addStretch(1);
    panelLayout->addWidget(GroupBox_Priemer_N, 4, 0, 1, 2, Qt::AlignTop);
    panelLayout->setColumnStretch(3, 1);
    rightLayout->addWidget(panel);

    RegulacnyDiagram = new TChart(right);
    RegulacnyDiagram->setObjectName(Named("RegulacnyDiagram", Suffix));
    rightLayout->addWidget(RegulacnyDiagram, 1);
    Panel_ShowErrorStatistics = new QPushButton(RegulacnyDiagram);
    Panel_ShowErrorStatistics->setObjectName(QStringLiteral("Panel_ShowErrorStatistics"));
    Panel_ShowErrorStatistics->setCursor(Qt::PointingHandCursor);
    Panel_ShowErrorStatistics->move(4, 4);
    RegulacnyDiagram->chart()->legend()->setAlignment(Qt::AlignTop);
    RegulacnyDiagram->chart()->legend()->show();
    auto* chartTools = new QHBoxLayout;
    SpeedButton_CopyGraph = MakeCopyButton(right, "SpeedButton_CopyGraph");
    chartTools->addWidget(SpeedButton_CopyGraph);
    chartTools->addStretch(1);
    rightLayout->addLayout(chartTools);
    Splitter1->addWidget(left);
    Splitter1->addWidget(right);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);

    // Bottom bar.
    auto* bottom = new QHBoxLayout;
    cbAutoShowErrors = new QCheckBox(this);
    cbAutoShowErrors->setObjectName(QStringLiteral("cbAutoShowErrors"));
    Button_FullReportToClipboard = new QPushButton(this);
    Button_FullReportToClipboard->setObjectName(QStringLiteral("Button_FullReportToClipboard"));
    QDialogButtonBox* box = OkCancelButtons(this, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    Button_OK->setAutoDefault(false);
    Button_Cancel->setAutoDefault(false);
    bottom->addWidget(cbAutoShowErrors);
    bottom->addWidget(Button_FullReportToClipboard);
    bottom->addWidget(box, 1);
    bottom->setSpacing(2);
    main->addLayout(bottom);
}

void TChartDetailForm::AddMethodGroup(QGroupBox* Group)
{
    methodPanel_->layout()->addWidget(Group);
}

void TChartDetailForm::RefreshTexts()
{
    setWindowTitle(GetString(956));
    Button_Cancel->setText(GetString(4));
    RegulacnyDiagram->SetLeftAxisTitle(GetString(960));
    RegulacnyDiagram->SetBottomAxisTitle(GetString(959));
    cbAutoShowErrors->setText(GetString(1178));
    Label48->setText(GetString(1016));
    Label1->setText(GetString(1050));
    GroupBox2->setTitle(GetString(1018));
    RadioButton_RegulacneParametre_Zadane->setText(GetString(1019));
    RadioButton_RegulacneParametre_Pocitane->setText(GetString(1020));
    CheckBox_ShowDateMeasurement->setText(GetString(1025));
    CheckBox_DeleniePodlaDatumu->setText(GetString(1026));
    const std::pair<QToolButton*, std::pair<int, int>> buttons[] = {
        { SpeedButton_NovyRozsah, { 1030, 1051 } },
        { SpeedButton_CelyRozsah, { 1031, 1052 } },
        { SpeedButton_Prepocitat, { 1032, 1053 } },
    };
    for (const auto& [button, texts] : buttons) {
        button->setText(GetString(texts.first));
        button->setToolTip(GetString(texts.second));
    }
    SpeedButton_CopyStatistika->setToolTip(GetString(1039));
    SpeedButton_CopyGraph->setToolTip(GetString(1042));
    SpeedButton_Hide_Show->setToolTip(GetString(981));
    SpeedButton_CopyFromTable->setToolTip(GetString(1056));
    SpeedButton_PasteToTable->setToolTip(GetString(1055));
    SpeedButton_CutFromTable->setToolTip(GetString(1054));
    SpeedButton_Help->setToolTip(QStringLiteral("Help"));
    GroupBox_Parametre_Zadane->setTitle(GetString(1043));
    Label33->setText(GetString(1036) + QStringLiteral(" ="));
    Label39->setText(GetString(1044) + QStringLiteral(" ="));
    PageControl1->setTabText(0, GetString(1033));
    PageControl1->setTabText(1, GetString(1034));
    PageControl1->setTabText(2, GetString(156));
    Panel_ShowErrorStatistics->setText(GetString(1087));
    Panel_ShowErrorStatistics->adjustSize();
    GroupBox_Priemer_N->setTitle(QLatin1Char(' ') + GetString(1089) + QLatin1Char(' '));
    Button_FullReportToClipboard->setText(GetString(1118));
    // The table's tool bar stays whole in every language.
    tableTools_->invalidate();
    leftPanel_->setMinimumWidth(std::max(342, tableTools_->sizeHint().width()));
    const int option = ComboBox_Standardna_neisota_sa_rovna->currentIndex();
    const QSignalBlocker block(ComboBox_Standardna_neisota_sa_rovna);
    const int texts[] = { 1011, 1012, 1090, 1091 };
    for (int i = 0; i < 4 && i < ComboBox_Standardna_neisota_sa_rovna->count(); ++i)
        ComboBox_Standardna_neisota_sa_rovna->setItemText(i, GetString(texts[i]));
    ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(option);
}

QString TChartDetailForm::PointDateFormat() const
{
    const QString& format = Individuals() ? FInput.FD_7 : FInput.FD_8;
    return format.isEmpty() ? ShortDateFormatText() : format;
}

// --- the dialog's side ---

void TChartDetailForm::Prepare(
    const TVstupStandardnejNeistoty& Input, const TChartDetailSettings& Settings, const TF1Book& Table)
{
    loading_ = true;
    RefreshTexts();
    FInput = Input;
    RichEdit_PopisBunky->Clear();
    RichEdit_PopisBunky->SetRTFText(Settings.CommentRtf);
    RichEdit_PopisBunky->moveCursor(QTextCursor::Start);
    RichEdit_PopisBunky->SetModified(false);
    (Settings.GivenParameters ? RadioButton_RegulacneParametre_Zadane : RadioButton_RegulacneParametre_Pocitane)
        ->setChecked(true);
    ShowSettings(Settings);
    Edit_CentralnaLinia_X->setText(Settings.CenterLineText);
    Edit_StandardnaOdchylka->setText(Settings.SText);
    CheckBox_DeleniePodlaDatumu->setChecked(Settings.DivideByDate);
    CheckBox_ShowDateMeasurement->setChecked(Settings.ShowDates);
    cbAutoShowErrors->setChecked(ChartData.ChartAutoShowErrors);
    // The dialog's computation before opening marks a fully dated chart as spaced by
    // date; the window starts from the choice the dialog shows.
    ChartData.ChartDivideByDate = Settings.DivideByDate;
    LoadFromSourceGrid(Table);
    // As the dialog's own table: view only, or a value list the template locks, keeps
    // the points as they are; the range and the options stay free to look at them.
    editLevel_ = Settings.EditLevel;
    Grid->SetEnableProtection(editLevel_ == 0 || (editLevel_ == 1 && Settings.ValuesLocked));
    loading_ = false;
}

void TChartDetailForm::Compute()
{
    RecomputeAndDraw();
    FModified = false;
}

bool TChartDetailForm::Execute()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec() == QDialog::Accepted;
}

TChartDetailSettings TChartDetailForm::Settings() const
{
    TChartDetailSettings settings;
    settings.CommentRtf = Individuals() ? IndividualsDetailComment : SubgroupDetailComment;
    settings.GivenParameters = RadioButton_RegulacneParametre_Zadane->isChecked();
    settings.CenterLineText = Edit_CentralnaLinia_X->text();
    settings.SText = Edit_StandardnaOdchylka->text();
    settings.DivideByDate = CheckBox_DeleniePodlaDatumu->isChecked();
    settings.ShowDates = CheckBox_ShowDateMeasurement->isChecked();
    settings.AutoShowErrors = cbAutoShowErrors->isChecked();
    ReadSettings(settings);
    return settings;
}

void TChartDetailForm::LoadFromSourceGrid(const TF1Book& SourceGrid)
{
    const bool wasLoading = loading_;
    loading_ = true;
    DetailComment().clear();
    ApplyParameterMode();
    {
        const QSignalBlocker b1(ComboBox_Standardna_neisota_sa_rovna);
        const QSignalBlocker b2(Edit_N_pre_priemer);
        const QSignalBlocker b3(ComboBox_TypDiagramu_X_R);
        ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(std::clamp(OV(), 0, 3));
        Edit_N_pre_priemer->setText(QString::number(NPP()));
        Edit_N_pre_priemer->setEnabled(OV() == 2 || OV() == 3);
        ComboBox_TypDiagramu_X_R->setCurrentIndex(ChartData.ChartType == 1 ? 1 : 0);
    }
    CheckBox_DeleniePodlaDatumu->setChecked(ChartData.ChartDivideByDate);
    CheckBox_ShowDateMeasurement->setChecked(ChartData.ChartDateLabels);

    // The table's layout: the source's rows, this window's value columns.
    const int cols = 2 + ValueColumns(SourceGrid);
    Grid->SetMaxCol(cols);
    Grid->SetMaxRow(SourceGrid.MaxRow());
    Grid->SetColText(1, GetString(953));
    Grid->SetColText(2, GetString(954));
    for (int c = 3; c <= cols; ++c) {
        Grid->SetColText(c, GetString(952, { QString::number(c - 2) }));
        Grid->SetColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = 1; c <= cols && c <= SourceGrid.MaxCol(); ++c)
        Grid->SetColWidth(c, SourceGrid.ColWidth(c));
    FitColumnsToTitles(*Grid);
    Grid->SetColHidden(1, SourceGrid.ColHidden(1));
    Grid->SetColHidden(2, SourceGrid.ColHidden(2));
    SpeedButton_Hide_Show->setChecked(SourceGrid.ColHidden(2));

    // Every row up to the source's last used one, so that rows after a gap are kept.
    int lastUsed = 0;
    for (int r = SourceGrid.MaxRow(); r >= 1 && lastUsed == 0; --r)
        for (int c = 1; c <= SourceGrid.MaxCol(); ++c)
            if (!SourceGrid.TextRC(r, c).isEmpty()) {
                lastUsed = r;
                break;
            }
    for (int r = 1; r <= lastUsed; ++r)
        for (int c = 1; c <= cols && c <= SourceGrid.MaxCol(); ++c)
            Grid->SetTextRC(r, c, SourceGrid.TextRC(r, c));
    if (Grid->MaxRow() >= 1)
        Grid->SetNumberFormatRange(
            1, 1, Grid->MaxRow(), 1, ShortDateFormat.isEmpty() ? QStringLiteral("d.M.yyyy") : ShortDateFormat);
    FormatAllValues();
    SetValueAxisFormat();

    PageControl1->setCurrentWidget(TabSheet1);
    ShowEvaluatedRows();
    Grid->SetSelection(1, 1, 1, 1);
    loading_ = wasLoading;
}

void TChartDetailForm::FormatAllValues()
{
    if (Grid->MaxRow() >= 1 && Grid->MaxCol() >= 3)
        Grid->SetNumberFormatRange(1, 3, Grid->MaxRow(), Grid->MaxCol(), ChartData.ChartNumberMask);
}

void TChartDetailForm::SetValueAxisFormat()
{
    RegulacnyDiagram->SetValueFormat(QStringLiteral("#,##0.") + ChartData.ChartNumberMask);
}

void TChartDetailForm::EvaluatedRange(int& First, int& Last) const
{
    const bool subRange = (Individuals() ? FInput.UR_7 : FInput.UR_8) == 1;
    First = subRange ? std::max(1, Individuals() ? FInput.R_OD_7 : FInput.R_OD_8) : 1;
    Last = std::min(subRange ? (Individuals() ? FInput.R_DO_7 : FInput.R_DO_8) : ChartData.ChartPointCount,
        ChartData.ChartPointCount);
}

void TChartDetailForm::ShowEvaluatedRows()
{
    if (Grid->MaxRow() < 1 || Grid->MaxCol() < 1)
        return;
    // The fill goes through the selection: the user's selection and current cell are
    // given back afterwards.
    const int row = Grid->Row(), col = Grid->Col();
    const int selRow1 = Grid->SelStartRow(), selCol1 = Grid->SelStartCol();
    const int selRow2 = Grid->SelEndRow(), selCol2 = Grid->SelEndCol();
    Grid->SetSelection(1, 1, Grid->MaxRow(), Grid->MaxCol());
    Grid->SetPattern(0);
    int first = 0, last = 0;
    EvaluatedRange(first, last);
    last = std::min(last, Grid->MaxRow());
    if (UR() == 1 && first <= last) {
        Grid->SetSelection(first, 1, last, Grid->MaxCol());
        Grid->SetPattern(1, Qt::cyan);
    }
    Grid->SetSelection(selRow1, selCol1, selRow2, selCol2);
    if (row >= 1 && col >= 1 && (row != Grid->Row() || col != Grid->Col()))
        Grid->setCurrentCell(row - 1, col - 1, QItemSelectionModel::NoUpdate);
}

// --- timers and closing ---

void TChartDetailForm::Timer1Timer()
{
    Button_OK->setEnabled(FModified && editLevel_ != 0);
}

void TChartDetailForm::Timer2Timer()
{
    if (Panel_ShowErrorStatistics->isHidden())
        return;
    FBlinkOn = !FBlinkOn;
    ShowPanelPhase(FBlinkOn);
}

void TChartDetailForm::ShowPanelPhase(bool Red)
{
    const QString background = Red ? QStringLiteral("red") : palette().color(QPalette::Button).name();
    Panel_ShowErrorStatistics->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; font-weight: bold; border: 1px solid gray;"
                       " padding: 3px 8px; }")
            .arg(background, Red ? QStringLiteral("white") : QStringLiteral("black")));
}

void TChartDetailForm::HideErrorPanel()
{
    Panel_ShowErrorStatistics->hide();
    Timer2->stop();
}

void TChartDetailForm::StopTimers()
{
    Timer1->stop();
    Timer2->stop();
}

void TChartDetailForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);

    Timer1Timer();
    Timer1->start();
}

void TChartDetailForm::done(int Result)
{
    if (Result != QDialog::Accepted && FModified) {
        if (MessageDlg(GetString(955), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes) {
            Timer1->start();
            return;
        }
    }
    StopTimers();
    HideErrorPanel();
    QDialog::done(Result);
}

// --- the factory ---

std::unique_ptr<TChartDetailWindow> MakeChartDetailWindow(int Method, QWidget* Parent)
{
    if (Method == 11)
        return std::make_unique<TfRegulacnyDiagramDetail_7>(Parent);
    if (Method == 12)
        return std::make_unique<TfRegulacnyDiagramDetail_8>(Parent);
    return nullptr;
}

} // namespace orvek

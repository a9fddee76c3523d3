// The individual-values window: one value a row, the X chart of the values and the
// chart of the moving ranges, and the choice of how s is estimated.

#include "sources/ui/chart_detail_window.h"

#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "sources/chart_data.h"
#include "sources/chart_plot.h"
#include "sources/chart_window_grid.h"
#include "sources/ui/source_dialog_chart_view.h"
#include "sources/ui/source_page_widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace orvek {

namespace {

// "s = s" with a subscript label and an optional tail, beside an estimate button.
QWidget* Formula(QWidget* parent, QLabel*& subscript, const QString& tail)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* lead = new QLabel(QStringLiteral("s = s"), box);
    subscript = new QLabel(box);
    QFont small = subscript->font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    subscript->setFont(small);
    subscript->setAlignment(Qt::AlignBottom);
    row->addWidget(lead);
    row->addWidget(subscript, 0, Qt::AlignBottom);
    if (!tail.isEmpty())
        row->addWidget(new QLabel(tail, box));
    row->addStretch(1);
    return box;
}

} // namespace

TfRegulacnyDiagramDetail_7::TfRegulacnyDiagramDetail_7(QWidget* Parent)
    : TChartDetailForm(11, "_7", Parent)
{
    GroupBox_OdhadStandardnejOdchylky_7 = new QGroupBox(this);
    GroupBox_OdhadStandardnejOdchylky_7->setObjectName(QStringLiteral("GroupBox_OdhadStandardnejOdchylky_7"));
    auto* grid = new QGridLayout(GroupBox_OdhadStandardnejOdchylky_7);
    RadioButton_s_0_8869xMR = new QRadioButton(GroupBox_OdhadStandardnejOdchylky_7);
    RadioButton_s_0_8869xMR->setObjectName(QStringLiteral("RadioButton_s_0_8869xMR"));
    RadioButton_s_0_8869xMR->setChecked(true);
    RadioButton_s_svyp_div_C4 = new QRadioButton(GroupBox_OdhadStandardnejOdchylky_7);
    RadioButton_s_svyp_div_C4->setObjectName(QStringLiteral("RadioButton_s_svyp_div_C4"));
    RadioButton_s_svyp = new QRadioButton(GroupBox_OdhadStandardnejOdchylky_7);
    RadioButton_s_svyp->setObjectName(QStringLiteral("RadioButton_s_svyp"));
    grid->addWidget(RadioButton_s_0_8869xMR, 0, 0);
    grid->addWidget(RadioButton_s_svyp_div_C4, 1, 0);
    grid->addWidget(Formula(GroupBox_OdhadStandardnejOdchylky_7, Label3, QStringLiteral(" / C4")), 1, 1);
    grid->addWidget(RadioButton_s_svyp, 2, 0);
    grid->addWidget(Formula(GroupBox_OdhadStandardnejOdchylky_7, Label5, QString()), 2, 1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label5->setObjectName(QStringLiteral("Label5"));
    AddMethodGroup(GroupBox_OdhadStandardnejOdchylky_7);
    const QRadioButton* estimates[] = { RadioButton_s_0_8869xMR, RadioButton_s_svyp_div_C4, RadioButton_s_svyp };
    for (int i = 0; i < 3; ++i)
        connect(estimates[i], &QRadioButton::clicked, this, [this, i] { EstimateClick(i); });
}

void TfRegulacnyDiagramDetail_7::RefreshTexts()
{
    TChartDetailForm::RefreshTexts();
    GroupBox_OdhadStandardnejOdchylky_7->setTitle(GetString(1021));
    RadioButton_s_0_8869xMR->setText(GetString(1022));
    RadioButton_s_svyp_div_C4->setText(GetString(1023));
    RadioButton_s_svyp->setText(GetString(1024));
    Label3->setText(GetString(1049));
    Label5->setText(GetString(1049));
}

void TfRegulacnyDiagramDetail_7::ShowSettings(const TChartDetailSettings& Settings)
{
    QRadioButton* estimates[] = { RadioButton_s_0_8869xMR, RadioButton_s_svyp_div_C4, RadioButton_s_svyp };
    estimates[std::clamp(Settings.Estimate, 0, 2)]->setChecked(true);
}

void TfRegulacnyDiagramDetail_7::ReadSettings(TChartDetailSettings& Settings) const
{
    Settings.Estimate = FInput.OSO_7;
}

int TfRegulacnyDiagramDetail_7::ReadGrid()
{
    return ReadIndividualsTable(TF1BookCells(*Grid), PointDateFormat(), FInput, ChartData);
}

void TfRegulacnyDiagramDetail_7::RecomputeAndDraw()
{
    HideErrorPanel();
    if (CommitAndCompute())
        DrawChart();
}

void TfRegulacnyDiagramDetail_7::ShowIntermediateResults()
{
    ShowMarkup(*RichEdit_SDi_Ri,
        BuildIndividualsIntermediateMarkup(ChartData, TF1BookCells(*Grid), IndividualsRangeFirst, IndividualsRangeLast,
            SpeedButton_Hide_Show->isChecked()),
        0);
}

void TfRegulacnyDiagramDetail_7::ApplyParameterMode()
{
    ShowParameterGroups(GroupBox_OdhadStandardnejOdchylky_7, ChartData.ChartType == 0);
}

void TfRegulacnyDiagramDetail_7::UpdateEstimateGroup()
{
    if (ChartData.ChartType != 0)
        GroupBox_OdhadStandardnejOdchylky_7->hide();
    else if (FInput.RPSS_7 == 0)
        GroupBox_OdhadStandardnejOdchylky_7->show();
}

void TfRegulacnyDiagramDetail_7::DrawOptions(TChartPlotOptions& Options) const
{
    Options.CenterLineText = ChartData.ChartType == 0 ? FInput.CLX_7 : FInput.CLR_7;
    if (FInput.UR_7 == 1)
        EvaluatedRange(Options.MarkFirst, Options.MarkLast);
}

void TfRegulacnyDiagramDetail_7::ValueEdited(const QString&)
{
    if (ChartData.ChartLastEditMask.size() > ChartData.ChartNumberMask.size()) {
        ChartData.ChartNumberMask = ChartData.ChartLastEditMask;
        FormatAllValues();
    }
    Grid->SetNumberFormatRange(Grid->Row(), Grid->Col(), Grid->Row(), Grid->Col(), ChartData.ChartNumberMask);
}

void TfRegulacnyDiagramDetail_7::ComboBox_TypDiagramu_X_RChange()
{
    HideErrorPanel();
    const int item = std::clamp(ComboBox_TypDiagramu_X_R->currentIndex(), 0, 1);
    ChartType = quint8(item);
    ChartData.ChartType = quint8(item);
    FInput.DD_7 = quint8(item);
    UpdateEstimateGroup();
    RecomputeAndDraw();
}

void TfRegulacnyDiagramDetail_7::ComboBox_Standardna_neisota_sa_rovnaChange()
{
    HideErrorPanel();
    TChartDetailForm::ComboBox_Standardna_neisota_sa_rovnaChange();
}

void TfRegulacnyDiagramDetail_7::EstimateClick(int Choice)
{
    Grid->EndEdit();
    FInput.OSO_7 = Choice;
    FModified = true;
    CommitAndCompute();
    DrawChart();
}

} // namespace orvek

// The subgroup window: one subgroup a row, the X-bar chart of the means and the chart
// of the ranges (or relative ranges), and the distance of the X-bar chart's limits.

#include "sources/ui/chart_detail_window.h"

#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/ui/chart.h"
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
#include <QToolButton>

namespace orvek {

TfRegulacnyDiagramDetail_8::TfRegulacnyDiagramDetail_8(QWidget* Parent)
    : TChartDetailForm(12, "_8", Parent)
{
    GroupBox_Vypocet_UCL_LCL = new QGroupBox(this);
    GroupBox_Vypocet_UCL_LCL->setObjectName(QStringLiteral("GroupBox_Vypocet_UCL_LCL"));
    auto* grid = new QGridLayout(GroupBox_Vypocet_UCL_LCL);
    Label_UCL_LCL = MakeLabel(GroupBox_Vypocet_UCL_LCL, "Label_UCL_LCL");
    Label_UCL_LCL->setText(QStringLiteral("UCL, LCL= "));
    SpeedButton_A2xR = MakeButton(GroupBox_Vypocet_UCL_LCL, "SpeedButton_A2xR", QStringLiteral("A2 \u00D7 R"), true);
    SpeedButton_A3xs = MakeButton(GroupBox_Vypocet_UCL_LCL, "SpeedButton_A3xs", QStringLiteral("A3 \u00D7 s"), true);
    SpeedButton_3xs = MakeButton(GroupBox_Vypocet_UCL_LCL, "SpeedButton_3xs", QStringLiteral("3 \u00D7 s"), true);
    SpeedButton_A2xR->setChecked(true);
    // Only the first method is offered; the others stay for records that chose them.
    SpeedButton_A3xs->hide();
    SpeedButton_3xs->hide();
    grid->addWidget(Label_UCL_LCL, 0, 0);
    grid->addWidget(SpeedButton_A2xR, 0, 1);
    grid->addWidget(SpeedButton_A3xs, 1, 1);
    grid->addWidget(SpeedButton_3xs, 2, 1);
    AddMethodGroup(GroupBox_Vypocet_UCL_LCL);
    const QToolButton* limits[] = { SpeedButton_A2xR, SpeedButton_A3xs, SpeedButton_3xs };
    for (int i = 0; i < 3; ++i)
        connect(limits[i], &QToolButton::clicked, this, [this, i] { LimitMethodClick(i); });
}

void TfRegulacnyDiagramDetail_8::RefreshTexts()
{
    TChartDetailForm::RefreshTexts();
    GroupBox_Vypocet_UCL_LCL->setTitle(QLatin1Char(' ') + GetString(1093) + QLatin1Char(' '));
}

void TfRegulacnyDiagramDetail_8::ShowSettings(const TChartDetailSettings&)
{
    QToolButton* limits[] = { SpeedButton_A2xR, SpeedButton_A3xs, SpeedButton_3xs };
    const int chosen = std::clamp(FInput.SV_UCL_LCL_8, 0, 2);
    for (int i = 0; i < 3; ++i)
        limits[i]->setChecked(i == chosen);
}

void TfRegulacnyDiagramDetail_8::ReadSettings(TChartDetailSettings&) const { }

int TfRegulacnyDiagramDetail_8::ValueColumns(const TF1Book& SourceGrid) const
{
    return std::max(1, SourceGrid.MaxCol() - 2);
}

int TfRegulacnyDiagramDetail_8::ReadGrid()
{
    return ReadSubgroupTable(TF1BookCells(*Grid), PointDateFormat(), FInput, ChartData);
}

void TfRegulacnyDiagramDetail_8::RecomputeAndDraw()
{
    if (CommitAndCompute())
        DrawChart();
}

void TfRegulacnyDiagramDetail_8::ShowIntermediateResults()
{
    int first = 0, last = 0;
    EvaluatedRange(first, last);
    ShowMarkup(*RichEdit_SDi_Ri,
        BuildSubgroupIntermediateMarkup(
            ChartData, TF1BookCells(*Grid), first, last, SpeedButton_Hide_Show->isChecked()),
        0);
}

void TfRegulacnyDiagramDetail_8::ApplyParameterMode()
{
    ShowParameterGroups(GroupBox_Vypocet_UCL_LCL, ChartData.ChartType == 0);
}

void TfRegulacnyDiagramDetail_8::DrawOptions(TChartPlotOptions& Options) const
{
    Options.MarkEvaluatedRange = FInput.UR_8 == 1;
    if (FInput.UR_8 == 1)
        EvaluatedRange(Options.MarkFirst, Options.MarkLast);
}

void TfRegulacnyDiagramDetail_8::AfterDraw()
{
    RegulacnyDiagram->SetValueFormat(QStringLiteral("#,##0.0000"));
}

void TfRegulacnyDiagramDetail_8::ValueEdited(const QString&)
{
    const int edited = int(ChartData.ChartLastEditMask.size());
    const int current = int(ChartData.ChartNumberMask.size());
    if (edited > current) {
        ChartData.ChartNumberMask = ChartData.ChartLastEditMask;
        FormatAllValues();
    } else if (edited < current) {
        Grid->SetNumberFormatRange(Grid->Row(), Grid->Col(), Grid->Row(), Grid->Col(), ChartData.ChartNumberMask);
    }
}

void TfRegulacnyDiagramDetail_8::SpeedButton_PrepocitatClick()
{
    RefreshNumberMask();
    TChartDetailForm::SpeedButton_PrepocitatClick();
}

void TfRegulacnyDiagramDetail_8::ComboBox_TypDiagramu_X_RChange()
{
    const int item = std::clamp(ComboBox_TypDiagramu_X_R->currentIndex(), 0, 1);
    ChartType = quint8(item);
    ChartData.ChartType = quint8(item);
    FInput.DD_8 = quint8(item);
    ApplyParameterMode();
    RecomputeAndDraw();
}

void TfRegulacnyDiagramDetail_8::LimitMethodClick(int Choice)
{
    FInput.SV_UCL_LCL_8 = Choice;
    QToolButton* limits[] = { SpeedButton_A2xR, SpeedButton_A3xs, SpeedButton_3xs };
    for (int i = 0; i < 3; ++i)
        limits[i]->setChecked(i == Choice);
    RecomputeAndDraw();
    FModified = true;
}

} // namespace orvek

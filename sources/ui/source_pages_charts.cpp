// The two control-chart pages (page 7 individual values, page 8 subgroups), each a
// page control of four sheets: settings, points, statistics and chart; and the
// controls both pages share.

#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "sources/ui/source_dialog_pages.h"
#include "sources/ui/source_page_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

namespace {

QGroupBox* MakeGroup(QWidget* parent, const char* name)
{
    auto* group = new QGroupBox(parent);
    group->setObjectName(QLatin1String(name));
    return group;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name)
{
    auto* radio = new QRadioButton(parent);
    radio->setObjectName(QLatin1String(name));
    return radio;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name)
{
    auto* check = new QCheckBox(parent);
    check->setObjectName(QLatin1String(name));
    return check;
}

QWidget* MakeButtonRow(QWidget* parent, const char* name)
{
    auto* row = new QWidget(parent);
    row->setObjectName(QLatin1String(name));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->setAlignment(Qt::AlignLeft);
    return row;
}

// A sheet whose content fills it.
QVBoxLayout* SheetLayout(QWidget* sheet)
{
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    return layout;
}

QGroupBox* GivenParameters(QWidget* parent, const char* name, QLabel*& clLabel, const char* clLabelName, QLineEdit*& cl,
    const char* clName, QLabel*& sLabel, const char* sLabelName, QLineEdit*& s, const char* sName)
{
    QGroupBox* group = MakeGroup(parent, name);
    clLabel = MakeLabel(group, clLabelName);
    cl = MakeEdit(group, clName);
    sLabel = MakeLabel(group, sLabelName);
    s = MakeEdit(group, sName);
    auto* grid = new QGridLayout(group);
    AddRow(grid, clLabel, cl);
    AddRow(grid, sLabel, s);
    return group;
}

QGroupBox* ParameterChoice(QWidget* parent, const char* name, QRadioButton*& computed, const char* computedName,
    QRadioButton*& given, const char* givenName)
{
    QGroupBox* group = MakeGroup(parent, name);
    computed = MakeRadio(group, computedName);
    given = MakeRadio(group, givenName);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(computed);
    layout->addWidget(given);
    return group;
}

QGroupBox* DateOptions(QWidget* parent, const char* name, QCheckBox*& divide, const char* divideName, QCheckBox*& show,
    const char* showName)
{
    QGroupBox* group = MakeGroup(parent, name);
    divide = MakeCheck(group, divideName);
    show = MakeCheck(group, showName);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(divide);
    layout->addWidget(show);
    return group;
}

QGroupBox* MeanCount(QWidget* parent, const char* name, QLineEdit*& edit, const char* editName)
{
    QGroupBox* group = MakeGroup(parent, name);
    edit = MakeEdit(group, editName);
    edit->setMaximumWidth(80);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(edit);
    layout->addStretch(1);
    return group;
}

TRichEdit98* StatisticsBox(QWidget* parent, const char* name)
{
    auto* box = new TRichEdit98(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    return box;
}

TChart* ChartControl(QWidget* parent, const char* name)
{
    auto* chart = new TChart(parent);
    chart->setObjectName(QLatin1String(name));
    chart->setMinimumHeight(200);
    return chart;
}

TF1Book* PointTable(QWidget* parent, const char* name)
{
    auto* table = new TF1Book(parent);
    table->setObjectName(QLatin1String(name));
    return table;
}

} // namespace

void BuildSourcePage7(TSourcePage7& p)
{
    p.TabSheet_7 = MakePage("TabSheet_7");
    p.PageControl_7 = new QTabWidget(p.TabSheet_7);
    p.PageControl_7->setObjectName(QStringLiteral("PageControl_7"));
    auto* page = new QVBoxLayout(p.TabSheet_7);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(p.PageControl_7);

    p.TabSheet_7_0 = MakePage("TabSheet_7_0");
    QWidget* s = p.TabSheet_7_0;
    p.Panel19 = new QWidget(s);
    p.Panel19->setObjectName(QStringLiteral("Panel19"));
    auto* shared7 = new QHBoxLayout(p.Panel19);
    shared7->setContentsMargins(0, 0, 0, 0);
    shared7->setAlignment(Qt::AlignLeft);
    p.GroupBox2 = ParameterChoice(s, "GroupBox2", p.RadioButton_RegulacneParametre_Pocitane_7,
        "RadioButton_RegulacneParametre_Pocitane_7", p.RadioButton_RegulacneParametre_Zadane_7,
        "RadioButton_RegulacneParametre_Zadane_7");
    p.GroupBox_Parametre_Zadane_7
        = GivenParameters(s, "GroupBox_Parametre_Zadane_7", p.Label33, "Label33", p.Edit_CentralnaLinia_7,
            "Edit_CentralnaLinia_7", p.Label39, "Label39", p.EditStandardnaOdchylka_7, "EditStandardnaOdchylka_7");
    p.GroupBox_OdhadStandardnejOdchylky_7 = MakeGroup(s, "GroupBox_OdhadStandardnejOdchylky_7");
    p.RadioButton_s_0_8869xMR = MakeRadio(p.GroupBox_OdhadStandardnejOdchylky_7, "RadioButton_s_0_8869xMR");
    p.RadioButton_s_svyp_div_C4 = MakeRadio(p.GroupBox_OdhadStandardnejOdchylky_7, "RadioButton_s_svyp_div_C4");
    p.RadioButton_s_svyp = MakeRadio(p.GroupBox_OdhadStandardnejOdchylky_7, "RadioButton_s_svyp");
    auto* estimate = new QVBoxLayout(p.GroupBox_OdhadStandardnejOdchylky_7);
    estimate->addWidget(p.RadioButton_s_0_8869xMR);
    estimate->addWidget(p.RadioButton_s_svyp_div_C4);
    estimate->addWidget(p.RadioButton_s_svyp);
    p.GroupBox4 = DateOptions(s, "GroupBox4", p.CheckBox_DeleniePodlaDatumu_7, "CheckBox_DeleniePodlaDatumu_7",
        p.CheckBox_ShowDateMeasurement_7, "CheckBox_ShowDateMeasurement_7");
    p.GroupBox_Priemer_N_7 = MeanCount(s, "GroupBox_Priemer_N_7", p.Edit_N_pre_priemer_7, "Edit_N_pre_priemer_7");
    auto* settings = new QGridLayout(s);
    settings->setContentsMargins(4, 4, 4, 4);
    settings->addWidget(p.Panel19, 0, 0, 1, 2);
    p.ButtonRow[0] = MakeButtonRow(s, "ButtonRow7_0");
    settings->addWidget(p.ButtonRow[0], 1, 0, 1, 2);
    settings->addWidget(p.GroupBox2, 2, 0);
    settings->addWidget(p.GroupBox4, 2, 1);
    // The given parameters and the group they replace share one place.
    settings->addWidget(p.GroupBox_Parametre_Zadane_7, 3, 0);
    settings->addWidget(p.GroupBox_OdhadStandardnejOdchylky_7, 3, 0);
    settings->addWidget(p.GroupBox_Priemer_N_7, 3, 1, Qt::AlignTop);
    settings->setRowStretch(4, 1);

    p.TabSheet_7_1 = MakePage("TabSheet_7_1");
    p.Table_7 = PointTable(p.TabSheet_7_1, "Table_7");
    p.ButtonRow[1] = MakeButtonRow(p.TabSheet_7_1, "ButtonRow7_1");
    QVBoxLayout* points = SheetLayout(p.TabSheet_7_1);
    points->addWidget(p.ButtonRow[1]);
    points->addWidget(p.Table_7);
    p.TabSheet_7_2 = MakePage("TabSheet_7_2");
    p.RichEdit_RD_Statistika_7 = StatisticsBox(p.TabSheet_7_2, "RichEdit_RD_Statistika_7");
    p.ButtonRow[2] = MakeButtonRow(p.TabSheet_7_2, "ButtonRow7_2");
    QVBoxLayout* statistics = SheetLayout(p.TabSheet_7_2);
    statistics->addWidget(p.ButtonRow[2]);
    statistics->addWidget(p.RichEdit_RD_Statistika_7);
    p.TabSheet_7_3 = MakePage("TabSheet_7_3");
    p.RegulacnyDiagram_7 = ChartControl(p.TabSheet_7_3, "RegulacnyDiagram_7");
    p.ButtonRow[3] = MakeButtonRow(p.TabSheet_7_3, "ButtonRow7_3");
    QVBoxLayout* chart = SheetLayout(p.TabSheet_7_3);
    chart->addWidget(p.ButtonRow[3]);
    chart->addWidget(p.RegulacnyDiagram_7);
    for (QWidget* sheet : { p.TabSheet_7_0, p.TabSheet_7_1, p.TabSheet_7_2, p.TabSheet_7_3 })
        p.PageControl_7->addTab(sheet, QString());
}

void BuildSourcePage8(TSourcePage8& p)
{
    p.TabSheet_8 = MakePage("TabSheet_8");
    p.PageControl_8 = new QTabWidget(p.TabSheet_8);
    p.PageControl_8->setObjectName(QStringLiteral("PageControl_8"));
    auto* page = new QVBoxLayout(p.TabSheet_8);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(p.PageControl_8);

    p.TabSheet_8_0 = MakePage("TabSheet_8_0");
    QWidget* s = p.TabSheet_8_0;
    p.Panel21 = new QWidget(s);
    p.Panel21->setObjectName(QStringLiteral("Panel21"));
    auto* shared8 = new QHBoxLayout(p.Panel21);
    shared8->setContentsMargins(0, 0, 0, 0);
    shared8->setAlignment(Qt::AlignLeft);
    p.GroupBox1 = ParameterChoice(s, "GroupBox1", p.RadioButton_RegulacneParametre_Pocitane_8,
        "RadioButton_RegulacneParametre_Pocitane_8", p.RadioButton_RegulacneParametre_Zadane_8,
        "RadioButton_RegulacneParametre_Zadane_8");
    p.GroupBox_Parametre_Zadane_8
        = GivenParameters(s, "GroupBox_Parametre_Zadane_8", p.Label46, "Label46", p.Edit_CentralnaLinia_8,
            "Edit_CentralnaLinia_8", p.Label47, "Label47", p.EditStandardnaOdchylka_8, "EditStandardnaOdchylka_8");
    p.GroupBox_Vypocet_UCL_LCL = MakeGroup(s, "GroupBox_Vypocet_UCL_LCL");
    p.SpeedButton_A2xR
        = MakeButton(p.GroupBox_Vypocet_UCL_LCL, "SpeedButton_A2xR", QStringLiteral("A2 \u00D7 R"), true);
    p.SpeedButton_A3xs
        = MakeButton(p.GroupBox_Vypocet_UCL_LCL, "SpeedButton_A3xs", QStringLiteral("A3 \u00D7 s"), true);
    p.SpeedButton_3xs = MakeButton(p.GroupBox_Vypocet_UCL_LCL, "SpeedButton_3xs", QStringLiteral("3 \u00D7 s"), true);
    p.Label_UCL_LCL = MakeLabel(p.GroupBox_Vypocet_UCL_LCL, "Label_UCL_LCL");
    p.Label_UCL_LCL->setText(QStringLiteral("\u25C0"));
    auto* limits = new QGridLayout(p.GroupBox_Vypocet_UCL_LCL);
    limits->addWidget(p.SpeedButton_A2xR, 0, 0);
    limits->addWidget(p.SpeedButton_A3xs, 1, 0);
    limits->addWidget(p.SpeedButton_3xs, 2, 0);
    limits->addWidget(p.Label_UCL_LCL, 0, 1);
    limits->setColumnStretch(2, 1);
    p.GroupBox3 = DateOptions(s, "GroupBox3", p.CheckBox_DeleniePodlaDatumu_8, "CheckBox_DeleniePodlaDatumu_8",
        p.CheckBox_ShowDateMeasurement_8, "CheckBox_ShowDateMeasurement_8");
    p.GroupBox_Priemer_N_8 = MeanCount(s, "GroupBox_Priemer_N_8", p.Edit_N_pre_priemer_8, "Edit_N_pre_priemer_8");
    auto* settings = new QGridLayout(s);
    settings->setContentsMargins(4, 4, 4, 4);
    settings->addWidget(p.Panel21, 0, 0, 1, 2);
    p.ButtonRow[0] = MakeButtonRow(s, "ButtonRow8_0");
    settings->addWidget(p.ButtonRow[0], 1, 0, 1, 2);
    settings->addWidget(p.GroupBox1, 2, 0);
    settings->addWidget(p.GroupBox3, 2, 1);
    // The given parameters and the group they replace share one place.
    settings->addWidget(p.GroupBox_Parametre_Zadane_8, 3, 0);
    settings->addWidget(p.GroupBox_Vypocet_UCL_LCL, 3, 0);
    settings->addWidget(p.GroupBox_Priemer_N_8, 3, 1, Qt::AlignTop);
    settings->setRowStretch(4, 1);

    p.TabSheet_8_1 = MakePage("TabSheet_8_1");
    p.Table_8 = PointTable(p.TabSheet_8_1, "Table_8");
    p.ButtonRow[1] = MakeButtonRow(p.TabSheet_8_1, "ButtonRow8_1");
    QVBoxLayout* points = SheetLayout(p.TabSheet_8_1);
    points->addWidget(p.ButtonRow[1]);
    points->addWidget(p.Table_8);
    p.TabSheet_8_2 = MakePage("TabSheet_8_2");
    p.RichEdit_RD_Statistika_8 = StatisticsBox(p.TabSheet_8_2, "RichEdit_RD_Statistika_8");
    p.ButtonRow[2] = MakeButtonRow(p.TabSheet_8_2, "ButtonRow8_2");
    QVBoxLayout* statistics = SheetLayout(p.TabSheet_8_2);
    statistics->addWidget(p.ButtonRow[2]);
    statistics->addWidget(p.RichEdit_RD_Statistika_8);
    p.TabSheet_8_3 = MakePage("TabSheet_8_3");
    p.RegulacnyDiagram_8 = ChartControl(p.TabSheet_8_3, "RegulacnyDiagram_8");
    p.ButtonRow[3] = MakeButtonRow(p.TabSheet_8_3, "ButtonRow8_3");
    QVBoxLayout* chart = SheetLayout(p.TabSheet_8_3);
    chart->addWidget(p.ButtonRow[3]);
    chart->addWidget(p.RegulacnyDiagram_8);
    for (QWidget* sheet : { p.TabSheet_8_0, p.TabSheet_8_1, p.TabSheet_8_2, p.TabSheet_8_3 })
        p.PageControl_8->addTab(sheet, QString());
}

void BuildSourceChartShared(QWidget* parent, TSourceChartShared& s)
{
    s.Label48 = MakeLabel(parent, "Label48");
    s.ComboBox_Standardna_neisota_sa_rovna = MakeList(parent, "ComboBox_Standardna_neisota_sa_rovna");
    s.SpeedButton_X_Diagram = MakeButton(parent, "SpeedButton_X_Diagram", QStringLiteral("X"), true);
    s.SpeedButton_R_Diagram = MakeButton(parent, "SpeedButton_R_Diagram", QStringLiteral("R"), true);
    s.SpeedButton_DataToWindow = MakeButton(parent, "SpeedButton_DataToWindow", QStringLiteral("\u2197"));
    s.SpeedButton_Hide_Show = MakeButton(parent, "SpeedButton_Hide_Show", QStringLiteral("\u2194"), true);
    s.SpeedButton_CopyFromTable = MakeCopyButton(parent, "SpeedButton_CopyFromTable");
    s.SpeedButton_PasteToTable = MakePasteButton(parent, "SpeedButton_PasteToTable");
    s.SpeedButton_CopyStatistika = MakeCopyButton(parent, "SpeedButton_CopyStatistika");
    s.SpeedButton_CopyGraph = MakeCopyButton(parent, "SpeedButton_CopyGraph");
}

} // namespace orvek

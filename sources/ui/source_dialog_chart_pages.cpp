// The control-chart pages' handlers: the point tables' edits, keys and paste, the page
// settings (what u equals, the N of the mean, given or computed parameters, the s
// estimate, the limit method, the date options), the X and R buttons, the copies to
// the clipboard and the exchange with the chart detail windows.

#include "sources/ui/source_dialog.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "sources/chart_data.h"
#include "sources/chart_plot.h"
#include "sources/chart_rules.h"
#include "sources/chart_tables.h"
#include "sources/ui/chart_detail_window.h"
#include "sources/ui/source_dialog_chart_detail.h"
#include "sources/ui/source_dialog_chart_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

namespace orvek {

namespace {

constexpr int kNotAllDatedText = 997;
constexpr int kValueHeadingText = 952;
constexpr int kDateHeadingText = 953;
constexpr int kOperatorHeadingText = 954;

// Formats every value cell of the loaded points with the mask: rows 1..Count, and in
// each row the columns of its values.
void FormatLoadedValues(TF1Book& table, int count, bool subgroups, const QString& mask)
{
    for (int i = 1; i <= count && i <= table.MaxRow(); ++i) {
        const int values = subgroups ? std::max(1, ChartData.ChartSubgroupSizes[size_t(i)]) : 1;
        table.SetNumberFormatRange(i, 3, i, values + 2, mask);
    }
}

// After a detail window was cancelled the shared chart state holds the window's
// points and results: it is computed again from the dialog's own record and page
// settings, quietly, on a copy of the record so that the record stays as it was.
void ReloadChartAfterDetail(TfOrvek6& d, int page)
{
    const bool individuals = page == 7;
    TVstupStandardnejNeistoty scratch = d.FInput;
    QString reason;
    ChartData.ChartRuleMessage.clear();
    if (!LoadChartDataFromInput(ChartData, scratch, reason))
        return;
    const QString sText
        = (individuals ? d.Page7.EditStandardnaOdchylka_7 : d.Page8.EditStandardnaOdchylka_8)->text().trimmed();
    const QString clText
        = (individuals ? d.Page7.Edit_CentralnaLinia_7 : d.Page8.Edit_CentralnaLinia_8)->text().trimmed();
    const bool computed = individuals ? ComputeIndividualsChart(ChartData, sText, clText, scratch, reason)
                                      : ComputeSubgroupChart(ChartData, sText, clText, scratch, reason);
    if (!computed)
        return;
    CheckChartRules(ChartData, individuals ? scratch.OV_7 : scratch.OV_8, individuals ? 11 : 12);
    if (ChartData.ChartOutOfControl)
        BuildRuleTestMessage(ChartData, ChartData.ChartRuleMessage);
}

} // namespace

int TfOrvek6::ActiveChartPage() const
{
    if (PageControl1->currentWidget() == Page7.TabSheet_7)
        return 7;
    if (PageControl1->currentWidget() == Page8.TabSheet_8)
        return 8;
    return 0;
}

TF1Book* TfOrvek6::ActiveChartTable() const
{
    switch (ActiveChartPage()) {
    case 7:
        return Page7.Table_7;
    case 8:
        return Page8.Table_8;
    default:
        return nullptr;
    }
}

void TfOrvek6::ConnectChartPages()
{
    TF1Book::SetRefusalHandler(&ShowTableRefusal);
    const auto loaded = [this](auto handler) {
        return [this, handler] {
            if (FLoaded)
                (this->*handler)();
        };
    };
    for (TF1Book* table : { Page7.Table_7, Page8.Table_8 }) {
        const bool individuals = table == Page7.Table_7;
        table->OnEndEdit = [this, individuals](QString& text, bool& cancel) {
            individuals ? Table_7EndEdit(text, cancel) : Table_8EndEdit(text, cancel);
        };
        table->OnKeyDown = [this, individuals](int key, Qt::KeyboardModifiers) {
            individuals ? Table_7KeyDown(key) : Table_8KeyDown(key);
        };
        table->OnStartEdit = [this, individuals](bool&) { individuals ? Table_7StartEdit() : Table_8StartEdit(); };
        table->OnModified = [this, individuals] {
            if (FLoaded)
                individuals ? Table_7Modified() : Table_8Modified();
        };
        table->OnPasteCell = &AcceptPastedPointCell;
    }
    connect(ChartShared.ComboBox_Standardna_neisota_sa_rovna, &QComboBox::currentIndexChanged, this,
        loaded(&TfOrvek6::ComboBox_Standardna_neisota_sa_rovnaChange));
    connect(Page7.Edit_N_pre_priemer_7, &QLineEdit::textChanged, this, loaded(&TfOrvek6::Edit_N_pre_priemer_7Change));
    connect(Page8.Edit_N_pre_priemer_8, &QLineEdit::textChanged, this, loaded(&TfOrvek6::Edit_N_pre_priemer_8Change));
    for (QLineEdit* edit : { Page7.Edit_CentralnaLinia_7, Page7.EditStandardnaOdchylka_7, Page8.Edit_CentralnaLinia_8,
             Page8.EditStandardnaOdchylka_8 })
        connect(edit, &QLineEdit::textChanged, this, loaded(&TfOrvek6::ChartParameterEditChange));
    connect(ChartShared.SpeedButton_X_Diagram, &QToolButton::clicked, this, [this] { SpeedButton_X_DiagramClick(); });
    connect(ChartShared.SpeedButton_R_Diagram, &QToolButton::clicked, this, [this] { SpeedButton_R_DiagramClick(); });
    connect(ChartShared.SpeedButton_DataToWindow, &QToolButton::clicked, this, [this] { OpenChartDetail(); });
    connect(ChartShared.SpeedButton_Hide_Show, &QToolButton::clicked, this, [this] { SpeedButton_Hide_ShowClick(); });
    connect(ChartShared.SpeedButton_CopyFromTable, &QToolButton::clicked, this,
        [this] { SpeedButton_CopyFromTableClick(); });
    connect(
        ChartShared.SpeedButton_PasteToTable, &QToolButton::clicked, this, [this] { SpeedButton_PasteToTableClick(); });
    connect(ChartShared.SpeedButton_CopyStatistika, &QToolButton::clicked, this,
        [this] { SpeedButton_CopyStatistikaClick(); });
    connect(ChartShared.SpeedButton_CopyGraph, &QToolButton::clicked, this, [this] { SpeedButton_CopyGraphClick(); });
    connect(Page7.RadioButton_RegulacneParametre_Pocitane_7, &QRadioButton::clicked, this,
        [this] { ChartParametersClick(7, false); });
    connect(Page7.RadioButton_RegulacneParametre_Zadane_7, &QRadioButton::clicked, this,
        [this] { ChartParametersClick(7, true); });
    connect(Page8.RadioButton_RegulacneParametre_Pocitane_8, &QRadioButton::clicked, this,
        [this] { ChartParametersClick(8, false); });
    connect(Page8.RadioButton_RegulacneParametre_Zadane_8, &QRadioButton::clicked, this,
        [this] { ChartParametersClick(8, true); });
    const QRadioButton* estimates[]
        = { Page7.RadioButton_s_0_8869xMR, Page7.RadioButton_s_svyp_div_C4, Page7.RadioButton_s_svyp };
    for (int i = 0; i < 3; ++i)
        connect(estimates[i], &QRadioButton::clicked, this, [this, i] { ChartEstimateClick(i); });
    const QToolButton* limits[] = { Page8.SpeedButton_A2xR, Page8.SpeedButton_A3xs, Page8.SpeedButton_3xs };
    for (int i = 0; i < 3; ++i)
        connect(limits[i], &QToolButton::clicked, this, [this, i] { ChartLimitMethodClick(i); });
    connect(Page7.CheckBox_ShowDateMeasurement_7, &QCheckBox::clicked, this,
        [this] { CheckBox_ShowDateMeasurementClick(7); });
    connect(Page8.CheckBox_ShowDateMeasurement_8, &QCheckBox::clicked, this,
        [this] { CheckBox_ShowDateMeasurementClick(8); });
    connect(Page7.CheckBox_DeleniePodlaDatumu_7, &QCheckBox::clicked, this,
        [this] { CheckBox_DeleniePodlaDatumuClick(7); });
    connect(Page8.CheckBox_DeleniePodlaDatumu_8, &QCheckBox::clicked, this,
        [this] { CheckBox_DeleniePodlaDatumuClick(8); });
}

// --- point tables ---

int TfOrvek6::ReadIndividualsTable()
{
    Page7.Table_7->EndEdit();
    const QString format = FInput.FD_7.isEmpty() ? ShortDateFormatText() : FInput.FD_7;
    return orvek::ReadIndividualsTable(TF1BookCells(*Page7.Table_7), format, FInput, ChartData);
}

int TfOrvek6::ReadSubgroupTable()
{
    Page8.Table_8->EndEdit();
    const QString format = FInput.FD_8.isEmpty() ? ShortDateFormatText() : FInput.FD_8;
    return orvek::ReadSubgroupTable(TF1BookCells(*Page8.Table_8), format, FInput, ChartData);
}

void TfOrvek6::ApplyNumberFormatMask(TF1Book& Table)
{
    const QString mask = LongestValueMask(TF1BookCells(Table));
    if (mask.size() == ChartData.ChartNumberMask.size())
        return;
    ChartData.ChartNumberMask = mask;
    Table.SetNumberFormatRange(1, 3, Table.MaxRow(), Table.MaxCol(), mask);
}

void TfOrvek6::ReadChartTableForCheck()
{
    if (FInput.TSN == 11) {
        ApplyNumberFormatMask(*Page7.Table_7);
        ReadIndividualsTable();
    } else if (FInput.TSN == 12) {
        ApplyNumberFormatMask(*Page8.Table_8);
        ReadSubgroupTable();
    }
}

void TfOrvek6::Table_7EndEdit(QString& Text, bool& Cancel)
{
    TF1Book& table = *Page7.Table_7;
    if (!TakeEditedPointCell(table, Text, Cancel))
        return;
    if (ChartData.ChartLastEditMask.size() > ChartData.ChartNumberMask.size()) {
        ChartData.ChartNumberMask = ChartData.ChartLastEditMask;
        FormatLoadedValues(table, ChartData.ChartPointCount, false, ChartData.ChartNumberMask);
    }
    table.SetNumberFormat(ChartData.ChartNumberMask);
}

void TfOrvek6::Table_8EndEdit(QString& Text, bool& Cancel)
{
    TF1Book& table = *Page8.Table_8;
    if (!TakeEditedPointCell(table, Text, Cancel))
        return;
    if (ChartData.ChartLastEditMask.size() > ChartData.ChartNumberMask.size()) {
        ChartData.ChartNumberMask = ChartData.ChartLastEditMask;
        FormatLoadedValues(table, ChartData.ChartPointCount, true, ChartData.ChartNumberMask);
        table.SetNumberFormat(ChartData.ChartNumberMask);
    } else if (ChartData.ChartLastEditMask.size() < ChartData.ChartNumberMask.size()) {
        table.SetNumberFormat(ChartData.ChartNumberMask);
    }
}

void TfOrvek6::Table_7KeyDown(int Key)
{
    Table_8KeyDown(Key);
}

void TfOrvek6::Table_8KeyDown(int Key)
{
    if (Key != Qt::Key_Delete)
        return;
    Button_Recalculate->setEnabled(true);
    FOKAllowed = true;
    FChartDataValid = false;
    FChartNeedsRecalc = true;
}

void TfOrvek6::Table_7Modified()
{
    FChartDataValid = false;
    FOKAllowed = true;
}

void TfOrvek6::Table_8Modified()
{
    FChartDataValid = false;
    FChartNeedsRecalc = true;
    FOKAllowed = true;
}

void TfOrvek6::Table_7StartEdit()
{
    Button_Recalculate->setEnabled(true);
    FOKAllowed = true;
    FChartNeedsRecalc = true;
    FChartTableEdited = true;
    FChartDataValid = false;
}

void TfOrvek6::Table_8StartEdit()
{
    Table_7StartEdit();
}

// --- page settings ---

void TfOrvek6::ComboBox_Standardna_neisota_sa_rovnaChange()
{
    const int page = ActiveChartPage();
    const int index = ChartShared.ComboBox_Standardna_neisota_sa_rovna->currentIndex();
    if (page == 0 || index < 0)
        return;
    (page == 7 ? FInput.OV_7 : FInput.OV_8) = index;
    QLineEdit* count = page == 7 ? Page7.Edit_N_pre_priemer_7 : Page8.Edit_N_pre_priemer_8;
    if (index == 2 || index == 3) {
        count->setEnabled(true);
        count->setFocus();
    } else {
        if (count->text() != QLatin1String("1"))
            count->setText(QStringLiteral("1"));
        count->setEnabled(false);
    }
    FOKAllowed = true;
    FChartNeedsRecalc = true;
    Button_Recalculate->setEnabled(true);
}

void TfOrvek6::Edit_N_pre_priemer_7Change()
{
    TakeMeanCount(Page7.Edit_N_pre_priemer_7, FInput.NPP_7, [this] { ShowIndividualsParameters(); });
}

void TfOrvek6::Edit_N_pre_priemer_8Change()
{
    TakeMeanCount(Page8.Edit_N_pre_priemer_8, FInput.NPP_8, [this] { ShowSubgroupParameters(); });
}

void TfOrvek6::ChartParametersClick(int Page, bool Given)
{
    if (Page == 7) {
        FInput.RPSS_7 = Given ? 1 : 0;
        ShowIndividualsParameters();
    } else {
        FInput.RPSS_8 = Given ? 1 : 0;
        ShowSubgroupParameters();
    }
}

void TfOrvek6::ChartEstimateClick(int Choice)
{
    FInput.OSO_7 = Choice;
    FOKAllowed = true;
    FChartNeedsRecalc = true;
    Button_Recalculate->setEnabled(true);
}

void TfOrvek6::ChartLimitMethodClick(int Choice)
{
    FInput.SV_UCL_LCL_8 = Choice;
    QToolButton* buttons[] = { Page8.SpeedButton_A2xR, Page8.SpeedButton_A3xs, Page8.SpeedButton_3xs };
    PlaceUclLclMarker(buttons[std::clamp(Choice, 0, 2)]);
    FOKAllowed = true;
    FChartNeedsRecalc = true;
}

void TfOrvek6::ChartParameterEditChange()
{
    FOKAllowed = true;
    FChartNeedsRecalc = true;
}

void TfOrvek6::SpeedButton_X_DiagramClick()
{
    const int page = ActiveChartPage();
    ChartType = 0;
    ChartData.ChartType = 0;
    ChartShared.SpeedButton_X_Diagram->setChecked(true);
    ChartShared.SpeedButton_R_Diagram->setChecked(false);
    if (page == 7) {
        FInput.DD_7 = 0;
        Page7.GroupBox_OdhadStandardnejOdchylky_7->setVisible(FInput.RPSS_7 == 0);
    } else if (page == 8) {
        FInput.DD_8 = 0;
        Page8.GroupBox_Vypocet_UCL_LCL->setVisible(FInput.RPSS_8 == 0);
    }
    Button_RecalculateClick();
}

void TfOrvek6::SpeedButton_R_DiagramClick()
{
    const int page = ActiveChartPage();
    ChartType = 1;
    ChartData.ChartType = 1;
    ChartShared.SpeedButton_X_Diagram->setChecked(false);
    ChartShared.SpeedButton_R_Diagram->setChecked(true);
    if (page == 7) {
        FInput.DD_7 = 1;
        Page7.GroupBox_OdhadStandardnejOdchylky_7->hide();
    } else if (page == 8) {
        FInput.DD_8 = 1;
        Page8.GroupBox_Vypocet_UCL_LCL->hide();
    }
    Button_RecalculateClick();
}

void TfOrvek6::CheckBox_ShowDateMeasurementClick(int Page)
{
    QCheckBox* box = Page == 7 ? Page7.CheckBox_ShowDateMeasurement_7 : Page8.CheckBox_ShowDateMeasurement_8;
    (Page == 7 ? Page7.Table_7 : Page8.Table_8)->EndEdit();
    if (FChartTableEdited)
        Button_RecalculateClick();
    (Page == 7 ? FInput.ZDM_7 : FInput.ZDM_8) = box->isChecked() ? 1 : 0;
    if (box->isChecked()) {
        if (ChartData.ChartAllDated) {
            ChartData.ChartDateLabels = true;
        } else {
            MessageDlg(GetString(kNotAllDatedText), TMsgDlgType::mtError, mbRetry);
            box->setChecked(false);
            (Page == 7 ? FInput.ZDM_7 : FInput.ZDM_8) = 0;
            ChartData.ChartDateLabels = false;
        }
    } else {
        ChartData.ChartDateLabels = false;
    }
    FOKAllowed = true;
    DrawChart();
}

void TfOrvek6::CheckBox_DeleniePodlaDatumuClick(int Page)
{
    QCheckBox* box = Page == 7 ? Page7.CheckBox_DeleniePodlaDatumu_7 : Page8.CheckBox_DeleniePodlaDatumu_8;
    FOKAllowed = true;
    (Page == 7 ? Page7.Table_7 : Page8.Table_8)->EndEdit();
    if (FChartTableEdited)
        Button_RecalculateClick();
    (Page == 7 ? FInput.DPD_7 : FInput.DPD_8) = box->isChecked() ? 1 : 0;
    if (ChartData.ChartAllDated) {
        ChartData.ChartDivideByDate = box->isChecked();
        DrawChart();
        ChartData.ChartDateLabels = true;
    } else {
        MessageDlg(GetString(kNotAllDatedText), TMsgDlgType::mtError, mbRetry);
        box->setChecked(false);
        (Page == 7 ? FInput.DPD_7 : FInput.DPD_8) = 0;
        ChartData.ChartDateLabels = false;
    }
}

// --- points sheet, copies ---

void TfOrvek6::SpeedButton_Hide_ShowClick()
{
    TF1Book* table = ActiveChartTable();
    if (!table)
        return;
    const bool hidden = ChartShared.SpeedButton_Hide_Show->isChecked();
    table->SetColHidden(1, hidden);
    table->SetColHidden(2, hidden);
}

void TfOrvek6::SpeedButton_CopyFromTableClick()
{
    if (TF1Book* table = ActiveChartTable())
        table->EditCopy();
}

void TfOrvek6::SpeedButton_PasteToTableClick()
{
    TF1Book* table = ActiveChartTable();
    if (!table || !table->EditPaste())
        return;
    ApplyNumberFormatMask(*table);
    FChartDataValid = false;
    FChartNeedsRecalc = true;
    FOKAllowed = true;
    Button_Recalculate->setEnabled(true);
}

void TfOrvek6::SpeedButton_CopyStatistikaClick()
{
    TRichEdit98* box = ActiveChartPage() == 8 ? Page8.RichEdit_RD_Statistika_8 : Page7.RichEdit_RD_Statistika_7;
    if (box->textCursor().hasSelection()) {
        box->copy();
        return;
    }
    box->selectAll();
    box->copy();
    QTextCursor start = box->textCursor();
    start.movePosition(QTextCursor::Start);
    box->setTextCursor(start);
}

void TfOrvek6::SpeedButton_CopyGraphClick()
{
    (ActiveChartPage() == 8 ? Page8.RegulacnyDiagram_8 : Page7.RegulacnyDiagram_7)->CopyToClipboard();
}

// --- detail window ---

void TfOrvek6::OpenChartDetail()
{
    const int page = ActiveChartPage();
    if (page == 0 || !ChartDetailFactory)
        return;
    Timer1->stop();
    if (FOKAllowed || FChartDataValid || FChartNeedsRecalc) {
        bool failed = false, dofFailed = false;
        const bool computed = ComputeUncertainty(failed);
        const bool collected = CollectDegreesOfFreedom(dofFailed);
        DrawChart();
        Button_Recalculate->setEnabled(!(computed && collected));
    }
    FSavedNumberMask = ChartData.ChartNumberMask;
    std::unique_ptr<TChartDetailWindow> window = ChartDetailFactory(page == 7 ? 11 : 12, this);
    if (auto* form = dynamic_cast<TChartDetailForm*>(window.get()))
        form->SetMethodText(ComboBox_VstupStandardnejNeistoty->currentText());
    TChartDetailSettings settings;
    QString comment;
    RichEdit_PopisBunky->GetRTFText(comment);
    {
        // The whole comment, not only a selection.
        const QTextCursor caret = RichEdit_PopisBunky->textCursor();
        RichEdit_PopisBunky->selectAll();
        RichEdit_PopisBunky->GetRTFText(comment);
        RichEdit_PopisBunky->setTextCursor(caret);
    }
    settings.CommentRtf = comment;
    settings.GivenParameters = (page == 7 ? FInput.RPSS_7 : FInput.RPSS_8) == 1;
    settings.Estimate = FInput.OSO_7;
    settings.CenterLineText = (page == 7 ? Page7.Edit_CentralnaLinia_7 : Page8.Edit_CentralnaLinia_8)->text();
    settings.SText = (page == 7 ? Page7.EditStandardnaOdchylka_7 : Page8.EditStandardnaOdchylka_8)->text();
    settings.DivideByDate
        = (page == 7 ? Page7.CheckBox_DeleniePodlaDatumu_7 : Page8.CheckBox_DeleniePodlaDatumu_8)->isChecked();
    settings.ShowDates
        = (page == 7 ? Page7.CheckBox_ShowDateMeasurement_7 : Page8.CheckBox_ShowDateMeasurement_8)->isChecked();
    settings.AutoShowErrors = ChartData.ChartAutoShowErrors;
    settings.EditLevel = EditMode;
    settings.ValuesLocked = (page == 7 ? FInput.VM_7.Lock : FInput.VM_8.Lock) != 0;
    // What the window may change in the shared chart state and Cancel gives back.
    const quint8 savedType = ChartType;
    const bool savedDivide = ChartData.ChartDivideByDate;
    const bool savedDateLabels = ChartData.ChartDateLabels;
    window->Prepare(FInput, settings, *ActiveChartTable());
    window->Compute();
    if (window->Execute()) {
        FOKAllowed = true;
        const TChartDetailSettings back = window->Settings();
        if (back.CommentRtf != comment) {
            RichEdit_PopisBunky->clear();
            RichEdit_PopisBunky->SetRTFText(back.CommentRtf);
            RichEdit_PopisBunky->moveCursor(QTextCursor::Start);
        }
        if (page == 7) {
            FInput = window->Input();
            (back.GivenParameters ? Page7.RadioButton_RegulacneParametre_Zadane_7
                                  : Page7.RadioButton_RegulacneParametre_Pocitane_7)
                ->setChecked(true);
            QRadioButton* estimates[]
                = { Page7.RadioButton_s_0_8869xMR, Page7.RadioButton_s_svyp_div_C4, Page7.RadioButton_s_svyp };
            estimates[std::clamp(back.Estimate, 0, 2)]->setChecked(true);
        } else {
            FInput = window->Input();
            (back.GivenParameters ? Page8.RadioButton_RegulacneParametre_Zadane_8
                                  : Page8.RadioButton_RegulacneParametre_Pocitane_8)
                ->setChecked(true);
        }
        {
            const QSignalBlocker b1(page == 7 ? Page7.Edit_CentralnaLinia_7 : Page8.Edit_CentralnaLinia_8);
            const QSignalBlocker b2(page == 7 ? Page7.EditStandardnaOdchylka_7 : Page8.EditStandardnaOdchylka_8);
            (page == 7 ? Page7.Edit_CentralnaLinia_7 : Page8.Edit_CentralnaLinia_8)->setText(back.CenterLineText);
            (page == 7 ? Page7.EditStandardnaOdchylka_7 : Page8.EditStandardnaOdchylka_8)->setText(back.SText);
        }
        (page == 7 ? Page7.CheckBox_DeleniePodlaDatumu_7 : Page8.CheckBox_DeleniePodlaDatumu_8)
            ->setChecked(back.DivideByDate);
        (page == 7 ? Page7.CheckBox_ShowDateMeasurement_7 : Page8.CheckBox_ShowDateMeasurement_8)
            ->setChecked(back.ShowDates);
        TakeChartTable(window->Table());
        if (CheckRequiredInputs(false) && CheckInputValues()) {
            bool failed = false, dofFailed = false;
            const bool computed = ComputeUncertainty(failed);
            const bool collected = CollectDegreesOfFreedom(dofFailed);
            Button_Recalculate->setEnabled(!(computed && collected));
        }
        DrawChart();
        (page == 7 ? Page7.PageControl_7 : Page8.PageControl_8)
            ->setCurrentWidget(page == 7 ? Page7.TabSheet_7_3 : Page8.TabSheet_8_3);
        ArrangeChartPage();
    } else {
        ChartData.ChartNumberMask = FSavedNumberMask;
        ChartType = savedType;
        ChartData.ChartType = savedType;
        ReloadChartAfterDetail(*this, page);
        ChartData.ChartDivideByDate = savedDivide;
        ChartData.ChartDateLabels = savedDateLabels;
        DrawChart();
    }
    window.reset();
    Timer1->start();
}

void TfOrvek6::TakeChartTable(TF1Book& Book)
{
    const bool individuals = ActiveChartPage() != 8;
    TF1Book& table = individuals ? *Page7.Table_7 : *Page8.Table_8;
    const int option = individuals ? FInput.OV_7 : FInput.OV_8;
    {
        const QSignalBlocker block(ChartShared.ComboBox_Standardna_neisota_sa_rovna);
        ChartShared.ComboBox_Standardna_neisota_sa_rovna->setCurrentIndex(std::clamp(option, 0, 3));
    }
    QLineEdit* count = individuals ? Page7.Edit_N_pre_priemer_7 : Page8.Edit_N_pre_priemer_8;
    {
        const QSignalBlocker block(count);
        count->setText(QString::number(individuals ? FInput.NPP_7 : FInput.NPP_8));
    }
    count->setEnabled(option == 2 || option == 3);

    table.SetMaxCol(Book.MaxCol());
    table.SetMaxRow(Book.MaxRow());
    table.SetColText(1, GetString(kDateHeadingText));
    table.SetColText(2, GetString(kOperatorHeadingText));
    for (int c = 3; c <= Book.MaxCol(); ++c)
        table.SetColText(c, GetString(kValueHeadingText, { QString::number(c - 2) }));
    for (int c = 2; c <= Book.MaxCol(); ++c)
        table.SetColWidth(c, Book.ColWidth(c));
    table.SetColHidden(1, Book.ColHidden(1));
    table.SetColHidden(2, Book.ColHidden(2));
    ChartShared.SpeedButton_Hide_Show->setChecked(Book.ColHidden(2));
    {
        QCheckBox* divide = individuals ? Page7.CheckBox_DeleniePodlaDatumu_7 : Page8.CheckBox_DeleniePodlaDatumu_8;
        QCheckBox* show = individuals ? Page7.CheckBox_ShowDateMeasurement_7 : Page8.CheckBox_ShowDateMeasurement_8;
        divide->setChecked(ChartData.ChartDivideByDate);
        show->setChecked(ChartData.ChartDateLabels);
    }

    // Every row up to the book's last used one, so that rows after a gap are kept.
    int lastUsed = 0;
    for (int r = Book.MaxRow(); r >= 1 && lastUsed == 0; --r)
        for (int c = 1; c <= Book.MaxCol(); ++c)
            if (!Book.TextRC(r, c).isEmpty()) {
                lastUsed = r;
                break;
            }
    for (int r = 1; r <= table.MaxRow(); ++r)
        for (int c = 1; c <= table.MaxCol(); ++c) {
            const QString text = r <= lastUsed ? Book.TextRC(r, c) : QString();
            if (table.TextRC(r, c) != text)
                table.SetTextRC(r, c, text);
        }

    table.SetSelection(1, 1, table.MaxRow(), table.MaxCol());
    table.SetPattern(0);
    const int evaluated = individuals ? FInput.UR_7 : FInput.UR_8;
    if (evaluated == 1) {
        // The stored range may reach past the points (a whole range stores 99999).
        const int first = std::max(1, individuals ? FInput.R_OD_7 : FInput.R_OD_8);
        const int last = std::min(individuals ? FInput.R_DO_7 : FInput.R_DO_8, ChartData.ChartPointCount);
        if (first <= last) {
            table.SetSelection(first, 1, last, table.MaxCol());
            table.SetPattern(1, Qt::cyan);
        }
    }
    table.SetSelection(1, 1, 1, 1);
    if (FSavedNumberMask != ChartData.ChartNumberMask) {
        ChartData.ChartNumberMask = FSavedNumberMask;
        ApplyNumberFormatMask(table);
    }
    if (individuals) {
        ShowIndividualsParameters();
        return;
    }
    ChartShared.SpeedButton_X_Diagram->setChecked(ChartData.ChartType == 0);
    ChartShared.SpeedButton_R_Diagram->setChecked(ChartData.ChartType == 1);
    (FInput.RPSS_8 == 1 ? Page8.RadioButton_RegulacneParametre_Zadane_8
                        : Page8.RadioButton_RegulacneParametre_Pocitane_8)
        ->setChecked(true);
    {
        const QSignalBlocker b1(Page8.Edit_CentralnaLinia_8);
        const QSignalBlocker b2(Page8.EditStandardnaOdchylka_8);
        Page8.Edit_CentralnaLinia_8->clear();
        Page8.EditStandardnaOdchylka_8->clear();
    }
    ShowSubgroupParameters();
    QToolButton* limits[] = { Page8.SpeedButton_A2xR, Page8.SpeedButton_A3xs, Page8.SpeedButton_3xs };
    PlaceUclLclMarker(limits[std::clamp(FInput.SV_UCL_LCL_8, 0, 2)]);
}

} // namespace orvek

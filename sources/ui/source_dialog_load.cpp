// The load of a source record into the dialog: the owner quantity, the presets, the
// comment and caption, the validity, u, the page of the method with every field of
// its record, and the states the edit level gives.

#include "sources/ui/source_dialog.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/ui/chart.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/markup_read.h"
#include "richtext/ui/edit_text98.h"
#include "richtext/ui/markup_rich_edit.h"
#include "sources/source_owner.h"
#include "sources/source_record.h"
#include "sources/ui/reading_grid.h"

#include "sources/chart_data.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

namespace orvek {

namespace {

// Text of ours: a stored list longer than the grid.
constexpr int kReadingsCutText = 22201;

void SetIndex(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

void TfOrvek6::LoadUncertaintyInput()
{
    // 1. Flags and chart axes.
    FLoaded = false;
    FChartDataValid = false;
    FChartNeedsRecalc = false;
    FHandsMean = false;
    FMeanText.clear();
    FParentIsEquation = false;
    FComputed = false;
    Page7.RegulacnyDiagram_7->SetValueFormat(QStringLiteral("#,##0.0000"));
    Page8.RegulacnyDiagram_8->SetValueFormat(QStringLiteral("#,##0.0000"));

    // 2. The owner quantity's value, unit and symbol for the computations.
    FParentCell = FOwnerCell;
    FParentValue = 0;
    if (FOwnerCell && FOwnerCell->FCellType != kUncertaintyCell) {
        SourceQuantityValue = FOwnerCell->FValue.Text;
        SourceQuantitySymbol = FOwnerCell->FSymbol.Text;
        long double value = 0;
        if (TryStrToExtendedNeutral(SourceQuantityValue.trimmed(), value))
            FParentValue = value;
    } else {
        SourceQuantityValue.clear();
        SourceQuantitySymbol.clear();
    }
    FParentIsEquation = FOwnerCell && FOwnerCell->FCellType == kEquationCell;

    // 3. Presets.
    SetIndex(Page1.ComboBox_Moznosti_1, 1);
    SetIndex(Page2.ComboBox_Moznosti_2_1, 0);
    SetIndex(Page2.ComboBox_Moznosti_2_2, 0);
    SetIndex(Page2.ComboBox_Moznosti_2_3, 1);
    SetIndex(Page2.ComboBox_Moznosti_2_4, 1);
    SetIndex(Page2.ComboBox_Moznosti_2_5, 0);
    SetIndex(Page2.ComboBox_Moznosti_2_6, 0);
    SetIndex(Page1.ComboBox_Rozdelenie_1, 3);
    SetIndex(Page2.ComboBox_KonfidencnaPravdepodobnost, 2);
    SetIndex(ChartShared.ComboBox_Standardna_neisota_sa_rovna, 1);
    Page7.Edit_N_pre_priemer_7->setText(QStringLiteral("1"));
    Page8.Edit_N_pre_priemer_8->setText(QStringLiteral("1"));
    for (QCheckBox* box : { Page7.CheckBox_DeleniePodlaDatumu_7, Page7.CheckBox_ShowDateMeasurement_7,
             Page8.CheckBox_DeleniePodlaDatumu_8, Page8.CheckBox_ShowDateMeasurement_8 })
        box->setChecked(false);

    // 4. The caller decides whether the active flag may change (the last active source
    // of a quantity may not be switched off); the load keeps that decision.
    FEditable = EditMode == 1 || EditMode == 2;
    const bool activeMayChange = CheckBox_Aktivita->isEnabled();

    // 5. Comment and caption.
    RichEdit_PopisBunky->Clear();
    if (FIsNewSource == 0) {
        QString comment = FComment;
        if (IsRtfComment(comment))
            RichEdit_PopisBunky->SetRTFText(comment);
        else
            RenderMarkupToRichEdit(CellFontSize, CellFontName, false, *RichEdit_PopisBunky, comment);
        setWindowTitle(GetString(165));
    } else {
        setWindowTitle(GetString(164));
        QFont font(CellFontName);
        font.setPointSize(CellFontSize);
        RichEdit_PopisBunky->setFont(font);
        RichEdit_PopisBunky->document()->setDefaultFont(font);
    }

    // The record as stored may need mending before it is shown (steps 9 to 11).
    TSourceLoadNotes notes;
    NormalizeSourceRecord(FInput, !SourceQuantityValue.isEmpty(), notes);

    // 6, 7, 8.
    UnlockInputs();
    Edit_NazovBunky->setText(FCellName);
    FUnitBox->SetMarkupText(FUnit);
    SourceQuantityUnit = FUnit;
    ChartData.ChartNumberMask.clear();
    FInputKind = FInput.USType;

    // 9. Validity.
    const bool limited = !FInput.EDate.isEmpty();
    Label_PlatnostDo->setChecked(limited);
    if (limited)
        Edit_ExpirationDate->setDate(DMYTextToDate(FInput.EDate));
    ShowValidity(limited);

    // 10. u.
    Edit_HodnotaNeistoty->setText(
        FInput.HSN.isEmpty() ? QString() : FormatSignificantText(SignificantDigits, FInput.HSN));

    // 11. The page of the method and its fields.
    const int method = FInput.TSN;
    FMethodOnLoad = quint8(method);
    PageControl1->setCurrentWidget(PageOfMethod(method));
    SetIndex(ComboBox_VstupStandardnejNeistoty, MethodListItem(method));
    switch (method) {
    case 0:
        Page1.Edit_KvalifikovanyOdhad->setText(FInput.KO.Text);
        Page1.Edit_PocetStupnovVolnosti_1->setText(ShownDegreesOfFreedom(FInput.PSV_1.Text));
        Page1.Edit_RelNeistota_1->setText(FInput.RN_1.Text);
        SetIndex(Page1.ComboBox_Rozdelenie_1, std::clamp(int(FInput.TR_1) - 1, 0, 5));
        break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 10:
        ApplyLimitOption(method);
        break;
    case 6:
        LoadReadings(*Page3.StringGrid_VlastneMeranie_3, FInput.VM_3.Text, FInput.PM_3);
        ShowSeriesResults();
        break;
    case 7:
        LoadReadings(*Page4.StringGrid_VlastneMeranie_4, FInput.VM_4.Text, FInput.PM_4);
        Page4.Edit_StandardnaOdchylkaPopulacie->setText(FInput.SOP.Text);
        Page4.Edit_PocetstupnovVolnosti_4->setText(ShownDegreesOfFreedom(FInput.PSV_4.Text));
        ShowSeriesResults();
        break;
    case 8:
        Page5.Edit_StandardnaOdchylka_5->setText(FInput.SO_5.Text);
        Page5.Edit_PocetStupnovVolnosti_5->setText(ShownDegreesOfFreedom(FInput.PSV_5.Text));
        break;
    case 9:
        LoadReadings(*Page6.StringGrid_VlastneMeranie_6, FInput.VM_6.Text, FInput.PM_6);
        Page6.Edit_PocetstupnovVolnosti_6->setText(ShownDegreesOfFreedom(FInput.PSV_6.Text));
        (FInput.OV_6 == 1 ? Page6.RadioButton_Export_RelSD_6 : Page6.RadioButton_Export_SD_6)->setChecked(true);
        ShowSeriesResults();
        break;
    case 13:
        LoadReadings(*Page9.StringGrid_VlastneMeranie_9, FInput.VM_9.Text, FInput.PM_9);
        Page9.Edit_PocetstupnovVolnosti_9->setText(ShownDegreesOfFreedom(FInput.PSV_9.Text));
        (FInput.OV_9 == 1 ? Page9.RadioButton_Export_RelSD_9 : Page9.RadioButton_Export_SD_9)->setChecked(true);
        ShowSeriesResults();
        break;
    case 14:
        LoadPairs();
        ShowSeriesResults();
        break;
    case 11:
    case 12:
        LoadChartPage(method);
        break;
    default:
        break;
    }

    // 12. The chart type of a chart that is neither X nor R is the X chart.
    if (ChartType >= 2) {
        ChartType = 0;
        ChartData.ChartType = 0;
        ChartShared.SpeedButton_X_Diagram->setChecked(true);
        ChartShared.SpeedButton_R_Diagram->setChecked(false);
    }

    // The date options belong to the chart shown: a source without one starts with
    // them off, whatever the chart last shown had.
    if (method != 11 && method != 12) {
        ChartData.ChartDivideByDate = false;
        ChartData.ChartDateLabels = false;
    }

    // 13. The chart pages of other methods start on their settings.
    if (FMethodOnLoad != 11) {
        Page7.PageControl_7->setCurrentWidget(Page7.TabSheet_7_0);
        ChartShared.SpeedButton_Hide_Show->setChecked(true);
        FInput.RPSS_7 = 0;
        Page7.RadioButton_RegulacneParametre_Pocitane_7->setChecked(true);
        FInput.OSO_7 = 0;
        FChartSheet7 = Page7.TabSheet_7_0;
    }
    if (FMethodOnLoad != 12) {
        Page8.PageControl_8->setCurrentWidget(Page8.TabSheet_8_0);
        FInput.RPSS_8 = 0;
        Page8.RadioButton_RegulacneParametre_Pocitane_8->setChecked(true);
        FInput.SV_UCL_LCL_8 = 0;
        Page8.SpeedButton_A2xR->setChecked(true);
        PlaceUclLclMarker(Page8.SpeedButton_A2xR);
        FChartSheet8 = Page8.TabSheet_8_0;
    }

    // 14. Dates and operators of both point tables.
    const bool hide = ChartShared.SpeedButton_Hide_Show->isChecked();
    for (TF1Book* table : { Page7.Table_7, Page8.Table_8 }) {
        table->SetColHidden(1, hide);
        table->SetColHidden(2, hide);
    }

    // 15.
    SetIndex(Page2.ComboBox_KonfidencnaPravdepodobnost, FInput.HS);

    // 16. Comment panel, degrees-of-freedom option, edit level.
    ArrangeCommentPanel();
    switch (method) {
    case 0:
        ApplyDofOption1();
        break;
    case 1:
        ApplyDofOption2_1();
        break;
    case 2:
        ApplyDofOption2_2();
        break;
    case 3:
        ApplyDofOption2_3();
        break;
    case 4:
        ApplyDofOption2_4();
        break;
    case 5:
        ApplyDofOption2_5();
        break;
    case 10:
        ApplyDofOption2_6();
        break;
    default:
        break;
    }
    ApplyEditLevel();
    CheckBox_Aktivita->setEnabled(activeMayChange && CheckBox_Aktivita->isEnabled());
    ColourInputs();

    // 17.
    WordWrap1->setChecked(RichEdit_PopisBunky->lineWrapMode() != QTextEdit::NoWrap);
    RichEdit_PopisBunky->SetModified(false);
    Button_OK->setEnabled(false);
    Button_Recalculate->setEnabled(false);
    FLoaded = true;
    FOKAllowed = FIsNewSource != 0;
    FCommentChanged = false;
    FChartTableEdited = false;
    Timer1->start();

    if (notes.ReadingsCut > 0)
        ShowMessageOnce(GetString(kReadingsCutText, { MaxSourceReadings, notes.ReadingsCut }));
}

void TfOrvek6::ShowMessageOnce(const QString& text)
{
    MessageDlg(text, TMsgDlgType::mtWarning, mbOK);
}

void TfOrvek6::ApplyLimitOption(int method)
{
    // The sub-page and the distribution list, then the method's fields.
    static const int kSubPage[11] = { -1, 0, 1, 2, 3, 4, -1, -1, -1, -1, 5 };
    const int sub = kSubPage[method];
    Page2.PageControl2->setCurrentIndex(sub);
    SetIndex(Page2.ComboBox_Rozdelenie, sub);
    switch (method) {
    case 1:
        Page2.Edit_IntervalSpolahlivosti_2_1->setText(FInput.IS_2_1.Text);
        Page2.Edit_PocetStupnovVolnosti_2_1->setText(ShownDegreesOfFreedom(FInput.PSV_2_1.Text));
        SetIndex(Page2.ComboBox_Moznosti_2_1, 0);
        break;
    case 2:
        Page2.Edit_IntervalSpolahlivosti_2_2->setText(FInput.IS_2_2.Text);
        Page2.Edit_PocetStupnovVolnosti_2_2->setText(ShownDegreesOfFreedom(FInput.PSV_2_2.Text));
        SetIndex(Page2.ComboBox_Moznosti_2_2, 0);
        break;
    case 3:
        Page2.Edit_StandardnaNeistota_2_3->setText(FInput.SO_2_3.Text);
        Page2.Edit_PocetStupnovVolnosti_2_3->setText(ShownDegreesOfFreedom(FInput.PSV_2_3.Text));
        SetIndex(Page2.ComboBox_Moznosti_2_3, FInput.ZPSV_2_3 == 0 ? 0 : 1);
        break;
    case 4:
        Page2.Edit_RozsirenaNeistota_2_4->setText(FInput.IS_2_4.Text);
        Page2.Edit_PocetStupnovVolnosti_2_4->setText(ShownDegreesOfFreedom(FInput.PSV_2_4.Text));
        SetIndex(Page2.ComboBox_Moznosti_2_4, FInput.ZPSV_2_4 == 0 ? 0 : 1);
        break;
    case 5:
        Page2.Edit_IntervalSpolahlivosti_2_5->setText(FInput.IS_2_5.Text);
        Page2.Edit_PocetStupnovVolnosti_2_5->setText(ShownDegreesOfFreedom(FInput.PSV_2_5.Text));
        SetIndex(Page2.ComboBox_Moznosti_2_5, 0);
        break;
    case 10:
        Page2.Edit_TvarovyFaktor->setText(FInput.TFa_2_6.Text);
        Page2.Edit_PolosirkaDistribucie->setText(FInput.PD_2_6.Text);
        Page2.Edit_PocetStupnovVolnosti_2_6->setText(ShownDegreesOfFreedom(FInput.PSV_2_6.Text));
        SetIndex(Page2.ComboBox_Moznosti_2_6, 0);
        break;
    default:
        break;
    }
}

void TfOrvek6::LoadReadings(QTableWidget& grid, const QString& list, int count)
{
    const QStringList items = SourceListItems(list, std::min(count, MaxSourceReadings));
    for (int i = 0; i < items.size(); ++i)
        SetGridCell(grid, 1, i + 1, items[i]);
}

void TfOrvek6::LoadPairs()
{
    QTableWidget& grid = *Page10.StringGrid_VlastneMeranie_10;
    const QStringList items = SourceListItems(FInput.VM_10.Text, std::min(FInput.PM_10, MaxSourceReadings));
    for (int i = 0; i < items.size(); ++i) {
        QString value, u;
        SplitSourcePair(items[i], value, u);
        SetGridCell(grid, 1, i + 1, value);
        SetGridCell(grid, 2, i + 1, u);
    }
}

void TfOrvek6::ShowSeriesResults()
{
    const TSourceResultTexts t = SourceResultTexts(FInput, SignificantDigits);
    switch (FInput.TSN) {
    case 6:
        Page3.Edit_AritmetickyPriemer_3->setText(t.Mean);
        Page3.Edit_StandardnaOdchylkaPriemeru_3->setText(t.MeanUncertainty);
        Page3.Edit_StandardnaOdchylka_3->setText(t.StandardDeviation);
        Page3.Edit_RelStandardnaOdchylkaPriemeru_3->setText(t.Relative);
        Page3.Edit_PocetstupnovVolnosti_3->setText(t.DegreesOfFreedom);
        break;
    case 7:
        Page4.Edit_AritmetickyPriemer_4->setText(t.Mean);
        Page4.Edit_StandardnaOdchylkaPriemeru_4->setText(t.MeanUncertainty);
        break;
    case 9:
        Page6.Edit_AritmetickyPriemer_6->setText(t.Mean);
        Page6.Edit_StandardnaOdchylka_6->setText(t.StandardDeviation);
        Page6.Edit_RelStandardnaOdchylka_6->setText(t.Relative);
        break;
    case 13:
        Page9.Edit_AritmetickyPriemer_9->setText(t.Mean);
        Page9.Edit_StandardnaOdchylka_9->setText(t.StandardDeviation);
        Page9.Edit_RelStandardnaOdchylka_9->setText(t.Relative);
        break;
    case 14:
        Page10.Edit_AritmetickyPriemer_10->setText(t.Mean);
        Page10.Edit_StandardnaOdchylka_10->setText(t.MeanUncertainty);
        Page10.Edit_PocetstupnovVolnosti_10->setText(t.DegreesOfFreedom);
        break;
    default:
        break;
    }
}

} // namespace orvek

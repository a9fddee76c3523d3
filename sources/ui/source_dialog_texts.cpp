// What the source dialog does the same way for every method: its numbered texts, the
// help page of the method, the comment box and its full editor, the validity date,
// the change marks that enable OK and the question when closing without OK.

#include "sources/ui/source_dialog.h"

#include "core/clipboard_text.h"
#include "core/clock.h"
#include "core/dates.h"
#include "core/string_table.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/chart.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/rich_edit98_editor.h"
#include "sources/source_help.h"

#include "platform/ui/f1_book.h"
#include "platform/ui/window_placement.h"
#include "sources/ui/reading_grid.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace orvek {

namespace {

// Refills a list with numbered texts, keeping the entry it shows.
void FillList(QComboBox* list, std::initializer_list<int> texts)
{
    const int index = list->currentIndex();
    const QSignalBlocker block(list);
    list->clear();
    for (int id : texts)
        list->addItem(GetString(id));
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

// A heading of a reading grid: the text is fetched with a line break as its argument,
// so that it may take two lines.
void SetGridHeading(QTableWidget* grid, int col, int text)
{
    if (QTableWidgetItem* item = grid->item(0, col))
        item->setText(GetString(text, { QStringLiteral("\r") }).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

QString Padded(int text)
{
    return QLatin1Char(' ') + GetString(text) + QLatin1Char(' ');
}

} // namespace

void TfOrvek6::ApplyTextsOrvek6()
{
    Button_Cancel->setText(GetString(4));
    Button_Recalculate->setText(GetString(266));
    Fullwindow->setText(GetString(730));

    const std::pair<QLabel*, int> labels[] = { { Label1, 157 }, { Page2.Label2, 270 }, { Label3, 158 }, { Label4, 265 },
        { Page2.Label5, 270 }, { Page2.Label6, 271 }, { Page4.Label7, 268 }, { Label8, 156 }, { Page2.Label9, 687 },
        { Page3.Label10, 269 }, { Page2.Label11, 272 }, { Page1.Label12, 288 }, { Page1.Label13, 356 },
        { Page3.Label14, 315 }, { Page1.Label15, 289 }, { Page2.Label16, 289 }, { Page3.Label17, 357 },
        { Page2.Label18, 289 }, { Page2.Label19, 289 }, { Page4.Label20, 315 }, { Page2.Label22, 949 },
        { Page2.Label23, 948 }, { Page2.Label24, 289 }, { Page1.Label25, 299 }, { Page3.Label26, 289 },
        { Page4.Label28, 289 }, { Page6.Label29, 1008 }, { Page2.Label30, 289 }, { Page7.Label33, 1036 },
        { Page4.Label34, 269 }, { Page5.Label35, 737 }, { Page5.Label36, 738 }, { Page2.Label37, 270 },
        { Page2.Label38, 289 }, { Page7.Label39, 1044 }, { Page6.Label40, 1002 }, { Page6.Label41, 757 },
        { Page6.Label42, 759 }, { Page6.Label43, 758 }, { Page8.Label46, 1036 }, { Page8.Label47, 1044 },
        { ChartShared.Label48, 1016 }, { Page9.Label49, 757 }, { Page9.Label50, 759 }, { Page9.Label51, 758 },
        { Page9.Label52, 1002 }, { Page2.Label53, 356 },
        // Labels of our own layout that carry the same meanings.
        { Page3.LabelRelative3, 22200 }, { Page9.LabelExport9, 1008 }, { Page10.LabelMean10, 1133 },
        { Page10.LabelUncertainty10, 157 }, { Page10.LabelDof10, 289 } };
    for (const auto& [label, text] : labels)
        label->setText(GetString(text));
    Label_PlatnostDo->setText(GetString(400));
    Edit_BezObmedzenia->setText(GetString(401));
    CheckBox_Aktivita->setText(GetString(161));

    const std::pair<QWidget*, int> hints[] = { { SpeedButton_Editor, 730 }, { RichEdit_PopisBunky, 160 },
        { SpeedButton_CopyComment, 858 }, { SpeedButton_PasteComment, 859 }, { Page1.SpeedButton_EditConditions, 1070 },
        { Page3.SpeedButton_Copy_VlastneMeranie_3, 944 }, { Page4.SpeedButton_Copy_VlastneMeranie_4, 944 },
        { Page6.SpeedButton_Copy_VlastneMeranie_6, 944 }, { Page9.SpeedButton_Copy_VlastneMeranie_9, 944 },
        { Page3.SpeedButton_Paste_VlastneMeranie_3, 659 }, { Page4.SpeedButton_Paste_VlastneMeranie_4, 659 },
        { Page6.SpeedButton_Paste_VlastneMeranie_6, 659 }, { Page9.SpeedButton_Paste_VlastneMeranie_9, 659 },
        { Page6.RadioButton_Export_SD_6, 1009 }, { Page9.RadioButton_Export_SD_9, 1009 },
        { Page6.RadioButton_Export_RelSD_6, 1010 }, { Page9.RadioButton_Export_RelSD_9, 1010 },
        { ChartShared.SpeedButton_DataToWindow, 980 }, { ChartShared.SpeedButton_Hide_Show, 981 },
        { ChartShared.SpeedButton_CopyStatistika, 1039 }, { ChartShared.SpeedButton_X_Diagram, 1040 },
        { ChartShared.SpeedButton_R_Diagram, 1041 }, { ChartShared.SpeedButton_CopyGraph, 1042 },
        { ChartShared.SpeedButton_CopyFromTable, 1056 }, { ChartShared.SpeedButton_PasteToTable, 1055 } };
    for (const auto& [control, text] : hints)
        control->setToolTip(GetString(text));

    FillList(ComboBox_VstupStandardnejNeistoty, { 254, 255, 256, 736, 756, 951, 989, 1014, 253, 1133 });
    FillList(Page2.ComboBox_Rozdelenie, { 277, 278, 279, 280, 739, 947 });
    FillList(Page1.ComboBox_Rozdelenie_1, { 277, 278, 279, 280, 739, 947 });
    for (QComboBox* list : { Page1.ComboBox_Moznosti_1, Page2.ComboBox_Moznosti_2_3, Page2.ComboBox_Moznosti_2_4 })
        FillList(list, { 300, 302 });
    for (QComboBox* list : { Page2.ComboBox_Moznosti_2_1, Page2.ComboBox_Moznosti_2_2, Page2.ComboBox_Moznosti_2_5,
             Page2.ComboBox_Moznosti_2_6 })
        FillList(list, { 302 });
    FillList(ChartShared.ComboBox_Standardna_neisota_sa_rovna, { 1011, 1012, 1090, 1091 });

    for (QTableWidget* grid :
        { Page3.StringGrid_VlastneMeranie_3, Page4.StringGrid_VlastneMeranie_4, Page6.StringGrid_VlastneMeranie_6,
            Page9.StringGrid_VlastneMeranie_9, Page10.StringGrid_VlastneMeranie_10 }) {
        SetGridHeading(grid, 0, 281);
        SetGridHeading(grid, 1, 282);
    }
    SetGridHeading(Page10.StringGrid_VlastneMeranie_10, 2, 1134);
    for (QTableWidget* grid :
        { Page3.StringGrid_VlastneMeranie_3, Page4.StringGrid_VlastneMeranie_4, Page6.StringGrid_VlastneMeranie_6,
            Page9.StringGrid_VlastneMeranie_9, Page10.StringGrid_VlastneMeranie_10 })
        FitReadingGridWidth(*grid);

    for (QTabWidget* pages : { Page7.PageControl_7, Page8.PageControl_8 }) {
        pages->setTabText(0, GetString(1037));
        pages->setTabText(1, GetString(1038));
        pages->setTabText(2, GetString(958));
        pages->setTabText(3, GetString(976));
    }
    for (TChart* chart : { Page7.RegulacnyDiagram_7, Page8.RegulacnyDiagram_8 }) {
        chart->SetLeftAxisTitle(GetString(960));
        chart->SetBottomAxisTitle(GetString(959));
    }
    const std::pair<QGroupBox*, int> groups[] = { { Page7.GroupBox2, 1018 }, { Page8.GroupBox1, 1018 },
        { Page7.GroupBox4, 1057 }, { Page8.GroupBox3, 1057 }, { Page7.GroupBox_OdhadStandardnejOdchylky_7, 1021 },
        { Page7.GroupBox_Parametre_Zadane_7, 1043 }, { Page8.GroupBox_Parametre_Zadane_8, 1043 } };
    for (const auto& [group, text] : groups)
        group->setTitle(GetString(text));
    Page7.GroupBox_Priemer_N_7->setTitle(Padded(1089));
    Page8.GroupBox_Priemer_N_8->setTitle(Padded(1089));
    Page8.GroupBox_Vypocet_UCL_LCL->setTitle(Padded(1094));
    const std::pair<QAbstractButton*, int> choices[] = { { Page7.RadioButton_RegulacneParametre_Zadane_7, 1019 },
        { Page8.RadioButton_RegulacneParametre_Zadane_8, 1019 },
        { Page7.RadioButton_RegulacneParametre_Pocitane_7, 1020 },
        { Page8.RadioButton_RegulacneParametre_Pocitane_8, 1020 }, { Page7.CheckBox_ShowDateMeasurement_7, 1025 },
        { Page8.CheckBox_ShowDateMeasurement_8, 1025 }, { Page7.CheckBox_DeleniePodlaDatumu_7, 1026 },
        { Page8.CheckBox_DeleniePodlaDatumu_8, 1026 }, { Page7.RadioButton_s_0_8869xMR, 1022 },
        { Page7.RadioButton_s_svyp_div_C4, 1023 }, { Page7.RadioButton_s_svyp, 1024 } };
    for (const auto& [button, text] : choices)
        button->setText(GetString(text));
}

void TfOrvek6::ArrangeCommentPanel()
{
    // Short pages take only the height of their inputs, so that the comment panel
    // follows right under them; pages with a grid or a chart keep their full height.
    QWidget* page = PageControl1->currentWidget();
    const bool compact = page == Page1.TabSheet_1 || page == Page2.TabSheet_2 || page == Page5.TabSheet_5;
    if (compact) {
        QWidget* sub = Page2.PageControl2->currentWidget();
        Page2.PageControl2->setFixedHeight(sub->sizeHint().height());
        PageControl1->setFixedHeight(page->sizeHint().height() + 2 * PageControl1->frameWidth());
        mainLayout_->setStretchFactor(Panel_Popis, 1);
    } else {
        PageControl1->setMinimumHeight(page == Page7.TabSheet_7 || page == Page8.TabSheet_8 ? 330 : 260);
        PageControl1->setMaximumHeight(QWIDGETSIZE_MAX);
        mainLayout_->setStretchFactor(PageControl1, 3);
        mainLayout_->setStretchFactor(Panel_Popis, 1);
    }
    if (compact)
        mainLayout_->setStretchFactor(PageControl1, 0);
}

void TfOrvek6::Button_HelpClick()
{
    ShowSourceHelp(FInput.TSN);
}

void TfOrvek6::SpeedButton_EditorClick()
{
    Timer1->stop();
    QTextCursor saved = RichEdit_PopisBunky->textCursor();
    RichEdit_PopisBunky->selectAll();
    QString rtf;
    RichEdit_PopisBunky->GetRTFText(rtf);
    RichEdit_PopisBunky->setTextCursor(saved);

    std::unique_ptr<TfRichEdit98Editor> own;
    TfRichEdit98Editor* editor = fRichEdit98Editor;
    if (!editor) {
        own = std::make_unique<TfRichEdit98Editor>(this);
        editor = own.get();
    }
    editor->setWindowTitle(WithoutAccessKey(Label8->text()) + QLatin1Char(' ') + GetString(303) + QLatin1Char(' ')
        + Edit_NazovBunky->text());
    editor->Editor->Clear();
    editor->Editor->SetRTFText(rtf);
    editor->Editor->moveCursor(QTextCursor::Start);
    editor->Editor->SetModified(false);
    editor->UndoCount = 0;
    editor->SetReadOnly(RichEdit_PopisBunky->isReadOnly());
    const OpenedFrom opened(editor, this);
    if (editor->exec() == QDialog::Accepted && !RichEdit_PopisBunky->isReadOnly()) {
        RichEdit_PopisBunky->Clear();
        RichEdit_PopisBunky->SetRTFText(editor->ResultRtf);
        RichEdit_PopisBunky->moveCursor(QTextCursor::Start);
        FOKAllowed = true;
        FCommentChanged = true;
    }
    editor->ResultRtf.clear();
    Timer1->start();
}

void TfOrvek6::SpeedButton_CopyCommentClick()
{
    RichEdit_PopisBunky->setFocus();
    if (!RichEdit_PopisBunky->textCursor().hasSelection())
        RichEdit_PopisBunky->selectAll();
    RichEdit_PopisBunky->copy();
}

void TfOrvek6::SpeedButton_PasteCommentClick()
{
    RichEdit_PopisBunky->setFocus();
    RichEdit_PopisBunky->paste();
}

void TfOrvek6::WordWrap1Click()
{
    const bool wrap = RichEdit_PopisBunky->lineWrapMode() == QTextEdit::NoWrap;
    WordWrap1->setChecked(wrap);
    RichEdit_PopisBunky->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    RichEdit_PopisBunky->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    RichEdit_PopisBunky->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit_PopisBunky->viewport()->update();
}

void TfOrvek6::ShowValidity(bool limited)
{
    Edit_ExpirationDate->setVisible(limited);
    Edit_BezObmedzenia->setVisible(!limited);
}

void TfOrvek6::Label_PlatnostDoClick()
{
    const bool limited = Label_PlatnostDo->isChecked();
    if (limited) {
        QDate date = Today();
        if (!FInput.EDate.isEmpty()) {
            try {
                date = DMYTextToDate(FInput.EDate);
            } catch (const EDateConversion&) {
                date = Today();
            }
        }
        Edit_ExpirationDate->setDate(date);
    }
    ShowValidity(limited);
    if (FLoaded)
        FOKAllowed = true;
}

void TfOrvek6::Edit_NazovBunkyChange()
{
    // The name is taken while the user types, not while the load fills it.
    if (FLoaded) {
        FCellName = Edit_NazovBunky->text().trimmed();
        FOKAllowed = true;
    }
}

void TfOrvek6::RichEdit_PopisBunkyChange()
{
    if (!FLoaded)
        return;
    FOKAllowed = true;
    FCommentChanged = true;
}

void TfOrvek6::Edit_BezObmedzeniaChange()
{
    if (FLoaded)
        FOKAllowed = true;
}

void TfOrvek6::Edit_ExpirationDateChange()
{
    if (FLoaded)
        FOKAllowed = true;
}

void TfOrvek6::CheckBox_AktivitaClick()
{
    if (FLoaded)
        FOKAllowed = true;
}

void TfOrvek6::Timer1Timer()
{
    const bool pasteMayWork = GridEditing(*Page3.StringGrid_VlastneMeranie_3)
        || GridEditing(*Page4.StringGrid_VlastneMeranie_4) || GridEditing(*Page6.StringGrid_VlastneMeranie_6)
        || !Page7.Table_7->EnableProtection();
    if (pasteMayWork) {
        const bool text = ClipboardHasText();
        for (QToolButton* paste : { Page3.SpeedButton_Paste_VlastneMeranie_3, Page4.SpeedButton_Paste_VlastneMeranie_4,
                 Page6.SpeedButton_Paste_VlastneMeranie_6, ChartShared.SpeedButton_PasteToTable })
            paste->setEnabled(paste->isVisible() && text);
    }
    if (Button_Recalculate->isEnabled())
        FOKAllowed = true;
    Button_OK->setEnabled(FOKAllowed);
}

void TfOrvek6::FormActivate()
{
    // The caller shows the hourglass while it loads the dialog.
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

bool TfOrvek6::FormClose(int result)
{
    if (result != 1 && FOKAllowed) {
        if (MessageDlg(GetString(773), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes)
            return false;
    }
    FLoaded = false;
    Timer1->stop();
    return true;
}

} // namespace orvek

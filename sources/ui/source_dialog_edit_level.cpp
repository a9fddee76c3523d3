// What the user may change in the source dialog: the edit level (0 view, 1 template
// locks, 2 full) and, at level 1, the lock flag of each input decide which controls are
// read-only or disabled; colours show the result, a control a template lock fixes says
// so in its tooltip, and the dialog's status bar names the way to an editable copy. The
// condition editor of the estimate page opens from here too, since its button follows
// the estimate's lock.

#include "sources/ui/source_dialog.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/string_table.h"
#include "engine/source_uncertainty.h"
#include "platform/ui/f1_book.h"
#include "platform/ui/rich_edit98.h"
#include "platform/ui/window_placement.h"
#include "sources/source_owner.h"
#include "sources/ui/edit_uncertainty_condition.h"
#include "sources/ui/reading_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <memory>

namespace orvek {

namespace {

void SetListColour(QWidget* control)
{
    QPalette p = control->palette();
    p.setColor(QPalette::Base, EnabledColor(control->isEnabled()));
    p.setColor(QPalette::Button, EnabledColor(control->isEnabled()));
    control->setPalette(p);
}

constexpr int kFixedByTemplateHintText = 23751;
constexpr int kFixedByTemplateStatusText = 23752;
constexpr int kShowSourceTemplateText = 392;
constexpr int kTemplateMenuText = 711;
constexpr int kCopyAsNewTemplateText = 709;

QString MenuText(int text)
{
    return GetString(text).remove(QLatin1Char('&'));
}

} // namespace

void TfOrvek6::ExplainTemplateLock(QWidget* control)
{
    const QString own = control->toolTip();
    templateLocked_.emplace_back(control, own);
    const QString why = GetString(kFixedByTemplateHintText);
    control->setToolTip(own.isEmpty() ? why : own + QLatin1Char('\n') + why);
}

void TfOrvek6::ForgetTemplateLocks()
{
    for (const auto& [control, own] : templateLocked_)
        if (control)
            control->setToolTip(own);
    templateLocked_.clear();
    TemplateLockText->clear();
    TemplateLockStatus->hide();
}

void TfOrvek6::ApplyEditLevel()
{
    const bool edit = EditMode != 0;
    const bool level1 = EditMode == 1;
    ForgetTemplateLocks();

    // Levels 0 and 2 (level 1 starts from level 2's states).
    for (QWidget* control : std::initializer_list<QWidget*> { Edit_ExpirationDate, Label_PlatnostDo, CheckBox_Aktivita,
             SpeedButton_Editor, SpeedButton_CopyComment, SpeedButton_PasteComment, ComboBox_VstupStandardnejNeistoty,
             Page2.ComboBox_Rozdelenie, Page1.ComboBox_Moznosti_1, Page2.ComboBox_Moznosti_2_3,
             Page2.ComboBox_Moznosti_2_4, Page2.ComboBox_KonfidencnaPravdepodobnost })
        control->setEnabled(edit);
    Edit_NazovBunky->setReadOnly(!edit);
    RichEdit_PopisBunky->setReadOnly(!edit);
    for (QLineEdit* input :
        { Page1.Edit_KvalifikovanyOdhad, Page1.Edit_RelNeistota_1, Page1.Edit_PocetStupnovVolnosti_1,
            Page2.Edit_IntervalSpolahlivosti_2_1, Page2.Edit_PocetStupnovVolnosti_2_1,
            Page2.Edit_IntervalSpolahlivosti_2_2, Page2.Edit_PocetStupnovVolnosti_2_2,
            Page2.Edit_StandardnaNeistota_2_3, Page2.Edit_PocetStupnovVolnosti_2_3, Page2.Edit_RozsirenaNeistota_2_4,
            Page2.Edit_PocetStupnovVolnosti_2_4, Page2.Edit_IntervalSpolahlivosti_2_5,
            Page2.Edit_PocetStupnovVolnosti_2_5, Page2.Edit_TvarovyFaktor, Page2.Edit_PolosirkaDistribucie,
            Page4.Edit_StandardnaOdchylkaPopulacie, Page4.Edit_PocetstupnovVolnosti_4, Page5.Edit_StandardnaOdchylka_5,
            Page5.Edit_PocetStupnovVolnosti_5, Page6.Edit_PocetstupnovVolnosti_6, Page9.Edit_PocetstupnovVolnosti_9 })
        input->setReadOnly(!edit);
    for (QComboBox* fixed : { Page2.ComboBox_Moznosti_2_1, Page2.ComboBox_Moznosti_2_2, Page2.ComboBox_Moznosti_2_5,
             Page2.ComboBox_Moznosti_2_6 })
        fixed->setEnabled(false);
    for (int page : { 3, 4, 6, 9, 10 })
        SetGridEditing(*ReadingGrid(page), edit);
    Page7.Table_7->SetEnableProtection(!edit);
    Page8.Table_8->SetEnableProtection(!edit);
    for (QWidget* setting : std::initializer_list<QWidget*> { ChartShared.ComboBox_Standardna_neisota_sa_rovna,
             Page7.RadioButton_RegulacneParametre_Zadane_7, Page7.RadioButton_RegulacneParametre_Pocitane_7,
             Page8.RadioButton_RegulacneParametre_Zadane_8, Page8.RadioButton_RegulacneParametre_Pocitane_8,
             Page7.RadioButton_s_0_8869xMR, Page7.RadioButton_s_svyp_div_C4, Page7.RadioButton_s_svyp,
             Page7.Edit_N_pre_priemer_7, Page8.Edit_N_pre_priemer_8, Page7.Edit_CentralnaLinia_7,
             Page8.Edit_CentralnaLinia_8, Page7.EditStandardnaOdchylka_7, Page8.EditStandardnaOdchylka_8 })
        setting->setEnabled(edit);
    for (QCheckBox* box : { Page7.CheckBox_ShowDateMeasurement_7, Page8.CheckBox_ShowDateMeasurement_8,
             Page7.CheckBox_DeleniePodlaDatumu_7, Page8.CheckBox_DeleniePodlaDatumu_8 })
        box->setEnabled(true);
    // The condition editor writes the estimate: it follows the estimate edit.
    Page1.SpeedButton_EditConditions->setEnabled(edit);
    if (!level1)
        return;

    // Level 1: the template's locks. Every control a lock fixes says so in its tooltip,
    // and the status bar names the way to an editable copy.
    auto explain = [this](QWidget* control, quint8 lock) {
        if (lock != 0)
            ExplainTemplateLock(control);
    };
    Edit_ExpirationDate->setEnabled(false);
    Label_PlatnostDo->setEnabled(false);
    Edit_NazovBunky->setReadOnly(FCellNameLock != 0);
    explain(Edit_NazovBunky, FCellNameLock);
    const bool methodFree = FInput.TSNLock == 0;
    ComboBox_VstupStandardnejNeistoty->setEnabled(methodFree);
    Page2.ComboBox_Rozdelenie->setEnabled(methodFree);
    explain(ComboBox_VstupStandardnejNeistoty, FInput.TSNLock);
    explain(Page2.ComboBox_Rozdelenie, FInput.TSNLock);
    const bool commentFree = FCommentLock == 0;
    RichEdit_PopisBunky->setReadOnly(!commentFree);
    explain(RichEdit_PopisBunky, FCommentLock);
    for (QToolButton* button : { SpeedButton_Editor, SpeedButton_PasteComment, SpeedButton_CopyComment })
        button->setEnabled(commentFree);

    auto byEdit = [&explain](QLineEdit* e, quint8 lock) {
        e->setReadOnly(lock != 0);
        explain(e, lock);
    };
    auto byList = [&explain](QComboBox* l, quint8 lock) {
        l->setEnabled(lock == 0);
        explain(l, lock);
    };
    auto byGrid = [&explain](QTableWidget* g, quint8 lock) {
        SetGridEditing(*g, lock == 0);
        explain(g, lock);
    };
    const TVstupStandardnejNeistoty& in = FInput;
    switch (in.TSN) {
    case 0:
        byList(Page1.ComboBox_Moznosti_1, in.ZPSV_1Lock);
        byEdit(Page1.Edit_KvalifikovanyOdhad, in.KO.Lock);
        byEdit(Page1.Edit_PocetStupnovVolnosti_1, in.PSV_1.Lock);
        byEdit(Page1.Edit_RelNeistota_1, in.RN_1.Lock);
        Page1.SpeedButton_EditConditions->setEnabled(in.KO.Lock == 0);
        break;
    case 1:
        Page2.ComboBox_Moznosti_2_1->setEnabled(false);
        byEdit(Page2.Edit_IntervalSpolahlivosti_2_1, in.IS_2_1.Lock);
        Page2.Edit_PocetStupnovVolnosti_2_1->setReadOnly(true);
        break;
    case 2:
        Page2.ComboBox_Moznosti_2_2->setEnabled(false);
        byEdit(Page2.Edit_IntervalSpolahlivosti_2_2, in.IS_2_2.Lock);
        Page2.Edit_PocetStupnovVolnosti_2_2->setReadOnly(true);
        break;
    case 3:
        byList(Page2.ComboBox_Moznosti_2_3, in.ZPSV_2_3Lock);
        byEdit(Page2.Edit_StandardnaNeistota_2_3, in.SO_2_3.Lock);
        byEdit(Page2.Edit_PocetStupnovVolnosti_2_3, in.PSV_2_3.Lock);
        break;
    case 4:
        byList(Page2.ComboBox_KonfidencnaPravdepodobnost, in.HSLock);
        byList(Page2.ComboBox_Moznosti_2_4, in.ZPSV_2_4Lock);
        byEdit(Page2.Edit_RozsirenaNeistota_2_4, in.IS_2_4.Lock);
        byEdit(Page2.Edit_PocetStupnovVolnosti_2_4, in.PSV_2_4.Lock);
        break;
    case 5:
        Page2.ComboBox_Moznosti_2_5->setEnabled(false);
        byEdit(Page2.Edit_IntervalSpolahlivosti_2_5, in.IS_2_5.Lock);
        Page2.Edit_PocetStupnovVolnosti_2_5->setReadOnly(true);
        break;
    case 6:
        byGrid(Page3.StringGrid_VlastneMeranie_3, in.VM_3.Lock);
        break;
    case 7:
        byGrid(Page4.StringGrid_VlastneMeranie_4, in.VM_4.Lock);
        byEdit(Page4.Edit_StandardnaOdchylkaPopulacie, in.SOP.Lock);
        byEdit(Page4.Edit_PocetstupnovVolnosti_4, in.PSV_4.Lock);
        break;
    case 8:
        byEdit(Page5.Edit_StandardnaOdchylka_5, in.SO_5.Lock);
        byEdit(Page5.Edit_PocetStupnovVolnosti_5, in.PSV_5.Lock);
        break;
    case 9:
        byEdit(Page6.Edit_PocetstupnovVolnosti_6, in.PSV_6.Lock);
        byGrid(Page6.StringGrid_VlastneMeranie_6, in.VM_6.Lock);
        break;
    case 10:
        Page2.ComboBox_Moznosti_2_6->setEnabled(false);
        byEdit(Page2.Edit_TvarovyFaktor, in.TFa_2_6.Lock);
        byEdit(Page2.Edit_PolosirkaDistribucie, in.PD_2_6.Lock);
        Page2.Edit_PocetStupnovVolnosti_2_6->setReadOnly(true);
        break;
    case 11:
        Page7.Table_7->SetEnableProtection(in.VM_7.Lock != 0);
        explain(Page7.Table_7, in.VM_7.Lock);
        break;
    case 12:
        // The subgroup table follows its value list as the individuals table does.
        Page8.Table_8->SetEnableProtection(in.VM_8.Lock != 0);
        explain(Page8.Table_8, in.VM_8.Lock);
        break;
    case 13:
        byGrid(Page9.StringGrid_VlastneMeranie_9, in.VM_9.Lock);
        byEdit(Page9.Edit_PocetstupnovVolnosti_9, in.PSV_9.Lock);
        break;
    case 14:
        byGrid(Page10.StringGrid_VlastneMeranie_10, in.VM_10.Lock);
        break;
    default:
        break;
    }
    if (!templateLocked_.empty()) {
        TemplateLockText->setText(GetString(kFixedByTemplateStatusText,
            { MenuText(kShowSourceTemplateText), MenuText(kTemplateMenuText), MenuText(kCopyAsNewTemplateText) }));
        TemplateLockStatus->show();
    }
}

void TfOrvek6::ColourInputs()
{
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (edit == Page6.Edit_PocetstupnovVolnosti_6 || edit->parent() == Edit_ExpirationDate)
            continue;
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, ReadOnlyColor(edit->isReadOnly()));
        edit->setPalette(p);
    }
    QPalette comment = RichEdit_PopisBunky->palette();
    comment.setColor(QPalette::Base, ReadOnlyColor(RichEdit_PopisBunky->isReadOnly()));
    RichEdit_PopisBunky->setPalette(comment);
    for (QWidget* list : std::initializer_list<QWidget*> { Edit_ExpirationDate, ComboBox_VstupStandardnejNeistoty,
             Page2.ComboBox_Rozdelenie, Page1.ComboBox_Moznosti_1, Page2.ComboBox_Moznosti_2_1,
             Page2.ComboBox_Moznosti_2_2, Page2.ComboBox_Moznosti_2_3, Page2.ComboBox_Moznosti_2_4,
             Page2.ComboBox_Moznosti_2_5, Page2.ComboBox_Moznosti_2_6, Page2.ComboBox_KonfidencnaPravdepodobnost })
        SetListColour(list);
    const std::pair<int, QToolButton*> pastes[] = { { 3, Page3.SpeedButton_Paste_VlastneMeranie_3 },
        { 4, Page4.SpeedButton_Paste_VlastneMeranie_4 }, { 6, Page6.SpeedButton_Paste_VlastneMeranie_6 },
        { 9, Page9.SpeedButton_Paste_VlastneMeranie_9 }, { 10, Page10.SpeedButton_Paste_VlastneMeranie_10 } };
    for (const auto& [page, paste] : pastes) {
        QTableWidget* grid = ReadingGrid(page);
        const bool editing = GridEditing(*grid);
        QPalette p = grid->palette();
        p.setColor(QPalette::Base, ReadOnlyColor(!editing));
        grid->setPalette(p);
        paste->setVisible(editing);
    }
    ChartShared.SpeedButton_PasteToTable->setVisible(
        !(Page7.Table_7->EnableProtection() && Page8.Table_8->EnableProtection()));
}

void TfOrvek6::SpeedButton_EditConditionsClick()
{
    QLineEdit* estimate = Page1.Edit_KvalifikovanyOdhad;
    if (!Page1.SpeedButton_EditConditions->isEnabled() || estimate->isReadOnly())
        return;
    std::unique_ptr<TfEditUncertaintyContition> own;
    TfEditUncertaintyContition* editor = fEditUncertaintyContition;
    if (!editor) {
        own = std::make_unique<TfEditUncertaintyContition>(this);
        editor = own.get();
    }
    editor->LoadCondition(estimate->text());
    editor->ApplyTexts();
    const OpenedFrom opened(editor, this);
    if (editor->exec() != 1 || !FLoaded)
        return;
    InvalidateResult();
    if (editor->FConditionText != estimate->text())
        FOKAllowed = true;
    estimate->setText(editor->FConditionText);
    FInput.USType = editor->FConditionText.isEmpty() ? kInputNumber : kInputCondition;
    if (!SourceQuantityValue.isEmpty())
        Button_RecalculateClick();
}

} // namespace orvek

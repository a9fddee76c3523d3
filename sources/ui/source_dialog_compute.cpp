// The computation of the source dialog: the active page's inputs into the record, u
// by the method, the degrees of freedom of the method and the degrees-of-freedom
// options of the estimate and limit pages; OK and Recalculate; the bookkeeping that
// stores every typed input in the record and throws away the u shown.

#include "sources/ui/source_dialog.h"

#include "core/common_vars.h"
#include "core/dates.h"
#include "core/drawing.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/cell.h"
#include "platform/dialogs.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/markup_read.h"
#include "sources/source_computation.h"
#include "sources/source_owner.h"
#include "sources/source_record.h"
#include "sources/ui/reading_grid.h"

#include "engine/source_uncertainty.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

namespace orvek {

namespace {

const QString kInfinite = QStringLiteral("Nekonecno");
constexpr int kMethodNotAllowedText = 1066;
constexpr int kZeroUncertaintyText = 327;

// An hourglass for the life of the object.
class HourGlass {
public:
    HourGlass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourGlass() { QApplication::restoreOverrideCursor(); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};

void SetEditState(QLineEdit* edit, bool readOnly)
{
    edit->setReadOnly(readOnly);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, ReadOnlyColor(readOnly));
    edit->setPalette(p);
}

} // namespace

void TfOrvek6::ConnectInputs()
{
    connect(Edit_NazovBunky, &QLineEdit::textChanged, this, &TfOrvek6::Edit_NazovBunkyChange);
    connect(RichEdit_PopisBunky, &QTextEdit::textChanged, this, &TfOrvek6::RichEdit_PopisBunkyChange);
    connect(Edit_BezObmedzenia, &QLineEdit::textChanged, this, &TfOrvek6::Edit_BezObmedzeniaChange);
    connect(Edit_ExpirationDate, &QDateEdit::dateChanged, this, &TfOrvek6::Edit_ExpirationDateChange);
    connect(CheckBox_Aktivita, &QCheckBox::clicked, this, &TfOrvek6::CheckBox_AktivitaClick);
    connect(Label_PlatnostDo, &QToolButton::clicked, this, &TfOrvek6::Label_PlatnostDoClick);
    connect(Button_OK, &QPushButton::clicked, this, &TfOrvek6::Button_OKClick);
    connect(Button_Recalculate, &QPushButton::clicked, this, &TfOrvek6::Button_RecalculateClick);
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(Button_Help, &QPushButton::clicked, this, &TfOrvek6::Button_HelpClick);
    connect(SpeedButton_Editor, &QToolButton::clicked, this, &TfOrvek6::SpeedButton_EditorClick);
    connect(Fullwindow, &QAction::triggered, this, &TfOrvek6::SpeedButton_EditorClick);
    connect(SpeedButton_CopyComment, &QToolButton::clicked, this, &TfOrvek6::SpeedButton_CopyCommentClick);
    connect(SpeedButton_PasteComment, &QToolButton::clicked, this, &TfOrvek6::SpeedButton_PasteCommentClick);
    connect(WordWrap1, &QAction::triggered, this, &TfOrvek6::WordWrap1Click);
    connect(Timer1, &QTimer::timeout, this, &TfOrvek6::Timer1Timer);

    // Every typed input goes into the record as it changes.
    struct Input {
        QLineEdit* edit;
        TStringRec TVstupStandardnejNeistoty::*field;
        bool kind;
        bool dof = false; // degrees of freedom: an infinity text is stored as the one word
    };
    const Input inputs[] = {
        { Page1.Edit_KvalifikovanyOdhad, &TVstupStandardnejNeistoty::KO, true },
        { Page1.Edit_RelNeistota_1, &TVstupStandardnejNeistoty::RN_1, false },
        { Page1.Edit_PocetStupnovVolnosti_1, &TVstupStandardnejNeistoty::PSV_1, false, true },
        { Page2.Edit_IntervalSpolahlivosti_2_1, &TVstupStandardnejNeistoty::IS_2_1, true },
        { Page2.Edit_IntervalSpolahlivosti_2_2, &TVstupStandardnejNeistoty::IS_2_2, true },
        { Page2.Edit_IntervalSpolahlivosti_2_5, &TVstupStandardnejNeistoty::IS_2_5, true },
        { Page2.Edit_StandardnaNeistota_2_3, &TVstupStandardnejNeistoty::SO_2_3, true },
        { Page2.Edit_RozsirenaNeistota_2_4, &TVstupStandardnejNeistoty::IS_2_4, true },
        { Page2.Edit_PocetStupnovVolnosti_2_1, &TVstupStandardnejNeistoty::PSV_2_1, false, true },
        { Page2.Edit_PocetStupnovVolnosti_2_2, &TVstupStandardnejNeistoty::PSV_2_2, false, true },
        { Page2.Edit_PocetStupnovVolnosti_2_3, &TVstupStandardnejNeistoty::PSV_2_3, false, true },
        { Page2.Edit_PocetStupnovVolnosti_2_4, &TVstupStandardnejNeistoty::PSV_2_4, false, true },
        { Page2.Edit_PocetStupnovVolnosti_2_5, &TVstupStandardnejNeistoty::PSV_2_5, false, true },
        { Page4.Edit_StandardnaOdchylkaPopulacie, &TVstupStandardnejNeistoty::SOP, false },
        { Page4.Edit_PocetstupnovVolnosti_4, &TVstupStandardnejNeistoty::PSV_4, false, true },
        { Page6.Edit_PocetstupnovVolnosti_6, &TVstupStandardnejNeistoty::PSV_6, false, true },
        { Page9.Edit_PocetstupnovVolnosti_9, &TVstupStandardnejNeistoty::PSV_9, false, true },
        { Page5.Edit_StandardnaOdchylka_5, &TVstupStandardnejNeistoty::SO_5, true },
        { Page5.Edit_PocetStupnovVolnosti_5, &TVstupStandardnejNeistoty::PSV_5, false, true },
    };
    for (const Input& input : inputs) {
        QLineEdit* edit = input.edit;
        auto field = input.field;
        const bool kind = input.kind;
        if (!input.dof) {
            connect(edit, &QLineEdit::textChanged, this,
                [this, edit, field, kind] { StoreText(edit, FInput.*field, kind); });
            continue;
        }
        connect(edit, &QLineEdit::textChanged, this, [this, edit, field] {
            StoreText(edit, FInput.*field, false);
            if (FLoaded)
                (FInput.*field).Text = StoredDegreesOfFreedom((FInput.*field).Text);
        });
        // Infinity typed as "inf" or in another language shows as this language's word.
        connect(edit, &QLineEdit::editingFinished, this, [edit] {
            if (!edit->isReadOnly() && IsInfinityText(edit->text()) && edit->text() != InfinityWord())
                edit->setText(InfinityWord());
        });
    }
    // The trapezoid's inputs are plain numbers: their kind is always 1.
    for (auto [edit, field] : { std::pair { Page2.Edit_TvarovyFaktor, &TVstupStandardnejNeistoty::TFa_2_6 },
             std::pair { Page2.Edit_PolosirkaDistribucie, &TVstupStandardnejNeistoty::PD_2_6 } }) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit, field] {
            if (!FLoaded)
                return;
            StoreText(edit, FInput.*field, false);
            FInput.USType = kInputNumber;
        });
    }
    connect(Page2.ComboBox_KonfidencnaPravdepodobnost, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!FLoaded || index < 0)
            return;
        InvalidateResult();
        FInput.HS = quint8(index);
    });
    // An edited reading makes the u shown stale.
    for (QTableWidget* grid :
        { Page3.StringGrid_VlastneMeranie_3, Page4.StringGrid_VlastneMeranie_4, Page6.StringGrid_VlastneMeranie_6,
            Page9.StringGrid_VlastneMeranie_9, Page10.StringGrid_VlastneMeranie_10 })
        connect(grid, &QTableWidget::itemChanged, this, [this] {
            if (FLoaded)
                InvalidateResult();
        });
    connect(Page7.PageControl_7, &QTabWidget::currentChanged, this, [this] {
        if (FLoaded)
            ArrangeChartPage();
    });
    connect(Page8.PageControl_8, &QTabWidget::currentChanged, this, [this] {
        if (FLoaded)
            ArrangeChartPage();
    });
}

void TfOrvek6::StoreText(QLineEdit* edit, TStringRec& field, bool kind)
{
    if (!FLoaded)
        return;
    InvalidateResult();
    field.Text = edit->text().trimmed();
    if (kind && field.Text.isEmpty())
        FInput.USType = kInputNumber;
}

void TfOrvek6::InvalidateResult()
{
    Button_Recalculate->setEnabled(true);
    Edit_HodnotaNeistoty->clear();
    FInput.HSN.clear();
}

bool TfOrvek6::IsPageActive(int Kind, int SubPage) const
{
    if (Kind == 1)
        return PageControl1->currentWidget() == Page1.TabSheet_1;
    if (Kind == 2 && SubPage >= 1 && SubPage <= 6)
        return PageControl1->currentWidget() == Page2.TabSheet_2 && Page2.PageControl2->currentIndex() == SubPage - 1;
    return false;
}

void TfOrvek6::CopyPageToInput()
{
    auto trimmed = [](QLineEdit* edit) { return edit->text().trimmed(); };
    switch (FInput.TSN) {
    case 0:
        FInput.KO.Text = trimmed(Page1.Edit_KvalifikovanyOdhad);
        FInput.TR_1 = quint8(std::max(0, Page1.ComboBox_Rozdelenie_1->currentIndex()) + 1);
        FInput.RN_1.Text = trimmed(Page1.Edit_RelNeistota_1);
        break;
    case 1:
        FInput.IS_2_1.Text = trimmed(Page2.Edit_IntervalSpolahlivosti_2_1);
        break;
    case 2:
        FInput.IS_2_2.Text = trimmed(Page2.Edit_IntervalSpolahlivosti_2_2);
        break;
    case 3:
        FInput.SO_2_3.Text = trimmed(Page2.Edit_StandardnaNeistota_2_3);
        break;
    case 4:
        FInput.IS_2_4.Text = trimmed(Page2.Edit_RozsirenaNeistota_2_4);
        FInput.HS = quint8(std::max(0, Page2.ComboBox_KonfidencnaPravdepodobnost->currentIndex()));
        break;
    case 5:
        FInput.IS_2_5.Text = trimmed(Page2.Edit_IntervalSpolahlivosti_2_5);
        break;
    case 8:
        FInput.SO_5.Text = trimmed(Page5.Edit_StandardnaOdchylka_5);
        FInput.PSV_5.Text = StoredDegreesOfFreedom(Page5.Edit_PocetStupnovVolnosti_5->text());
        break;
    case 10:
        FInput.TFa_2_6.Text = trimmed(Page2.Edit_TvarovyFaktor);
        FInput.PD_2_6.Text = trimmed(Page2.Edit_PolosirkaDistribucie);
        break;
    case 6:
        SourceReadingsList(
            GridColumn(*Page3.StringGrid_VlastneMeranie_3, 1, MaxSourceReadings), FInput.VM_3.Text, FInput.PM_3);
        break;
    case 7:
        SourceReadingsList(
            GridColumn(*Page4.StringGrid_VlastneMeranie_4, 1, MaxSourceReadings), FInput.VM_4.Text, FInput.PM_4);
        FInput.SOP.Text = trimmed(Page4.Edit_StandardnaOdchylkaPopulacie);
        FInput.PSV_4.Text = StoredDegreesOfFreedom(Page4.Edit_PocetstupnovVolnosti_4->text());
        break;
    case 9:
        SourceReadingsList(
            GridColumn(*Page6.StringGrid_VlastneMeranie_6, 1, MaxSourceReadings), FInput.VM_6.Text, FInput.PM_6);
        FInput.PSV_6.Text = StoredDegreesOfFreedom(Page6.Edit_PocetstupnovVolnosti_6->text());
        FInput.OV_6 = Page6.RadioButton_Export_RelSD_6->isChecked() ? 1 : 0;
        break;
    case 13:
        SourceReadingsList(
            GridColumn(*Page9.StringGrid_VlastneMeranie_9, 1, MaxSourceReadings), FInput.VM_9.Text, FInput.PM_9);
        FInput.PSV_9.Text = StoredDegreesOfFreedom(Page9.Edit_PocetstupnovVolnosti_9->text());
        FInput.OV_9 = Page9.RadioButton_Export_RelSD_9->isChecked() ? 1 : 0;
        break;
    case 14:
        SourcePairsList(GridColumn(*Page10.StringGrid_VlastneMeranie_10, 1, MaxSourceReadings),
            GridColumn(*Page10.StringGrid_VlastneMeranie_10, 2, MaxSourceReadings), FInput.VM_10.Text, FInput.PM_10);
        break;
    default:
        break;
    }
}

bool TfOrvek6::ComputeUncertainty(bool& Failed)
{
    FInput.HSN.clear();
    FLoaded = false;
    Edit_HodnotaNeistoty->clear();
    FInputKind = kInputNumber;
    Failed = false;
    CopyPageToInput();
    const int method = FInput.TSN;
    if (method == 11) {
        ComputeIndividualsPage();
    } else if (method == 12) {
        ComputeSubgroupPage();
    } else if (method == 6) {
        EvaluateSeriesMean();
    } else if (method == 7) {
        EvaluateKnownSigma();
    } else if (method == 9) {
        EvaluateRelativeSeries();
    } else if (method == 13) {
        EvaluateVariances();
    } else if (method == 14) {
        EvaluateWeightedPairs();
    } else {
        const bool ownerIsUncertainty = FParentCell && FParentCell->FCellType == kUncertaintyCell;
        const TSourceComputation c = ComputeSourceRecord(FInput, SourceQuantityValue, ownerIsUncertainty);
        if (c.Message != 0)
            MessageDlg(GetString(c.Message, { GetString(c.MessageLabel) }), TMsgDlgType::mtError, mbRetry);
        Failed = c.Failed;
    }
    if (method != 11 && method != 12)
        FInputKind = FInput.USType;
    FInput.USType = FInputKind;
    Edit_HodnotaNeistoty->setText(
        FInput.HSN.isEmpty() ? QString() : FormatSignificantText(SignificantDigits, FInput.HSN));
    FComputed = true;
    FLoaded = true;
    return !FInput.HSN.isEmpty();
}

void TfOrvek6::ComputeTrapezoidUncertainty()
{
    ComputeTrapezoidRecord(FInput);
}

void TfOrvek6::FocusOnPage(QWidget* control)
{
    if (!FEditable)
        (Button_OK->isEnabled() ? static_cast<QWidget*>(Button_OK) : Button_Cancel)->setFocus();
    else if (control)
        control->setFocus();
}

void TfOrvek6::SetInfinitePanel(QLineEdit* dofEdit, QLabel* panel)
{
    dofEdit->setText(InfinityWord());
    dofEdit->hide();
    dofEdit->setEnabled(false);
    panel->show();
    if (FLoaded)
        dofEdit->clear();
}

bool TfOrvek6::ApplyDofOption1()
{
    Page1.ComboBox_Moznosti_1->hide();
    QLineEdit* dof = Page1.Edit_PocetStupnovVolnosti_1;
    SetEditState(dof, true);
    dof->setEnabled(true);
    Page1.Panel_Nekonecno_1->hide();
    Page1.Edit_RelNeistota_1->show();
    Page1.Label21->show();
    if (FLoaded && FInput.PSV_1.Text == kInfinite) {
        FInput.PSV_1.Text.clear();
        dof->clear();
    }
    FInput.ZPSV_1 = 1;
    if (!IsPageActive(1, 0))
        return false;
    FocusOnPage(Page1.Edit_RelNeistota_1);
    bool failed = false;
    return CollectDofEstimate(failed);
}

bool TfOrvek6::ApplyInfiniteDof(
    int subPage, QLineEdit* main, QLineEdit* dof, QLabel* panel, TStringRec& field, quint8& option, QComboBox* list)
{
    list->setEnabled(false);
    SetInfinitePanel(dof, panel);
    if (FLoaded)
        field.Text = kInfinite;
    option = 2;
    if (!IsPageActive(2, subPage))
        return false;
    FocusOnPage(main);
    return CollectInfiniteDof(dof, field);
}

bool TfOrvek6::ApplyGivenOrFixedDof(
    int subPage, QComboBox* list, QLineEdit* main, QLineEdit* dof, TStringRec& field, quint8& option)
{
    if (list->currentIndex() == 0) {
        SetEditState(dof, false);
        option = 0;
    } else {
        SetEditState(dof, true);
        dof->setText(QStringLiteral("50"));
        field.Text = QStringLiteral("50");
        option = 2;
    }
    if (!IsPageActive(2, subPage))
        return false;
    FocusOnPage(list->currentIndex() == 0 ? dof : main);
    bool failed = false;
    return CollectGivenOrFixedDof(list, dof, field, failed);
}

bool TfOrvek6::ApplyDofOption2_1()
{
    return ApplyInfiniteDof(1, Page2.Edit_IntervalSpolahlivosti_2_1, Page2.Edit_PocetStupnovVolnosti_2_1,
        Page2.Panel_Nekonecno_2_1, FInput.PSV_2_1, FInput.ZPSV_2_1, Page2.ComboBox_Moznosti_2_1);
}

bool TfOrvek6::ApplyDofOption2_2()
{
    return ApplyInfiniteDof(2, Page2.Edit_IntervalSpolahlivosti_2_2, Page2.Edit_PocetStupnovVolnosti_2_2,
        Page2.Panel_Nekonecno_2_2, FInput.PSV_2_2, FInput.ZPSV_2_2, Page2.ComboBox_Moznosti_2_2);
}

bool TfOrvek6::ApplyDofOption2_3()
{
    return ApplyGivenOrFixedDof(3, Page2.ComboBox_Moznosti_2_3, Page2.Edit_StandardnaNeistota_2_3,
        Page2.Edit_PocetStupnovVolnosti_2_3, FInput.PSV_2_3, FInput.ZPSV_2_3);
}

bool TfOrvek6::ApplyDofOption2_4()
{
    return ApplyGivenOrFixedDof(4, Page2.ComboBox_Moznosti_2_4, Page2.Edit_RozsirenaNeistota_2_4,
        Page2.Edit_PocetStupnovVolnosti_2_4, FInput.PSV_2_4, FInput.ZPSV_2_4);
}

bool TfOrvek6::ApplyDofOption2_5()
{
    return ApplyInfiniteDof(5, Page2.Edit_IntervalSpolahlivosti_2_5, Page2.Edit_PocetStupnovVolnosti_2_5,
        Page2.Panel_Nekonecno_2_5, FInput.PSV_2_5, FInput.ZPSV_2_5, Page2.ComboBox_Moznosti_2_5);
}

bool TfOrvek6::ApplyDofOption2_6()
{
    return ApplyInfiniteDof(6, Page2.Edit_TvarovyFaktor, Page2.Edit_PocetStupnovVolnosti_2_6, Page2.Panel_Nekonecno_2_6,
        FInput.PSV_2_6, FInput.ZPSV_2_6, Page2.ComboBox_Moznosti_2_6);
}

bool TfOrvek6::CollectInfiniteDof(QLineEdit* dof, TStringRec& field)
{
    dof->setText(InfinityWord());
    field.Text = kInfinite;
    return true;
}

bool TfOrvek6::CollectGivenOrFixedDof(QComboBox* list, QLineEdit* dof, TStringRec& field, bool& Failed)
{
    bool present = false;
    if (list->currentIndex() != 0) {
        dof->setText(QStringLiteral("50"));
        present = true;
    } else {
        present = CheckPositiveDof(dof, field.Text, Failed) && !dof->text().trimmed().isEmpty();
    }
    field.Text = StoredDegreesOfFreedom(dof->text());
    return present;
}

bool TfOrvek6::CheckPositiveDof(QLineEdit* edit, QString& field, bool& Failed)
{
    // A typed number of degrees of freedom is a number of at least 1 or infinity.
    TCheckMessage refusal;
    if (CheckTypedDegreesOfFreedom(edit->text(), refusal))
        return true;
    field.clear();
    if (refusal.Args.isEmpty())
        MessageDlg(GetString(refusal.Text), TMsgDlgType::mtError, mbRetry);
    else
        MessageDlg(GetString(refusal.Text, { refusal.Args[0] }), TMsgDlgType::mtError, mbRetry);
    if (FEditable)
        edit->setFocus();
    Failed = true;
    return false;
}

bool TfOrvek6::CheckTypedDof(QLineEdit* edit, TStringRec& field, bool& Failed)
{
    if (!CheckPositiveDof(edit, field.Text, Failed))
        return false;
    field.Text = StoredDegreesOfFreedom(edit->text());
    return !field.Text.isEmpty();
}

bool TfOrvek6::CollectDofEstimate(bool& Failed)
{
    (void)Failed;
    FInput.PSV_1.Text = StoredDegreesOfFreedom(Page1.Edit_PocetStupnovVolnosti_1->text());
    return false;
}

bool TfOrvek6::CollectDof2_1()
{
    return CollectInfiniteDof(Page2.Edit_PocetStupnovVolnosti_2_1, FInput.PSV_2_1);
}

bool TfOrvek6::CollectDof2_2()
{
    return CollectInfiniteDof(Page2.Edit_PocetStupnovVolnosti_2_2, FInput.PSV_2_2);
}

bool TfOrvek6::CollectDof2_3(bool& Failed)
{
    return CollectGivenOrFixedDof(
        Page2.ComboBox_Moznosti_2_3, Page2.Edit_PocetStupnovVolnosti_2_3, FInput.PSV_2_3, Failed);
}

bool TfOrvek6::CollectDof2_4(bool& Failed)
{
    return CollectGivenOrFixedDof(
        Page2.ComboBox_Moznosti_2_4, Page2.Edit_PocetStupnovVolnosti_2_4, FInput.PSV_2_4, Failed);
}

bool TfOrvek6::CollectDof2_5()
{
    return CollectInfiniteDof(Page2.Edit_PocetStupnovVolnosti_2_5, FInput.PSV_2_5);
}

bool TfOrvek6::CollectDof2_6()
{
    return CollectInfiniteDof(Page2.Edit_PocetStupnovVolnosti_2_6, FInput.PSV_2_6);
}

bool TfOrvek6::CollectDegreesOfFreedom(bool& Failed)
{
    Failed = false;
    FLoaded = false;
    bool present = false;
    switch (ComboBox_VstupStandardnejNeistoty->currentIndex()) {
    case 0:
        switch (Page2.ComboBox_Rozdelenie->currentIndex()) {
        case 0:
            present = CollectDof2_1();
            break;
        case 1:
            present = CollectDof2_2();
            break;
        case 2:
            present = CollectDof2_3(Failed);
            break;
        case 3:
            present = CollectDof2_4(Failed);
            break;
        case 4:
            present = CollectDof2_5();
            break;
        case 5:
            present = CollectDof2_6();
            break;
        default:
            break;
        }
        break;
    case 1:
        FInput.PSV_3 = Page3.Edit_PocetstupnovVolnosti_3->text().trimmed();
        present = !FInput.PSV_3.isEmpty();
        break;
    case 2:
        present = CheckTypedDof(Page4.Edit_PocetstupnovVolnosti_4, FInput.PSV_4, Failed);
        break;
    case 3:
        present = CheckTypedDof(Page5.Edit_PocetStupnovVolnosti_5, FInput.PSV_5, Failed);
        break;
    case 4:
        present = CheckTypedDof(Page6.Edit_PocetstupnovVolnosti_6, FInput.PSV_6, Failed);
        break;
    case 5:
        present = !FInput.PSV_7.isEmpty();
        break;
    case 7:
        present = CheckTypedDof(Page9.Edit_PocetstupnovVolnosti_9, FInput.PSV_9, Failed);
        break;
    case 8:
        present = CheckTypedDof(Page1.Edit_PocetStupnovVolnosti_1, FInput.PSV_1, Failed);
        break;
    default:
        // Methods 12 and 14 report none.
        break;
    }
    FLoaded = true;
    return present;
}

void TfOrvek6::Button_RecalculateClick()
{
    if (!CheckRequiredInputs(true) || !CheckInputValues())
        return;
    bool failed = false, dofFailed = false;
    const bool computed = ComputeUncertainty(failed);
    const bool collected = CollectDegreesOfFreedom(dofFailed);
    if (FInput.TSN == 11 || FInput.TSN == 12)
        DrawChart();
    Button_Recalculate->setEnabled(!(computed && collected));
}

void TfOrvek6::Button_OKClick()
{
    int result = 1;
    {
        HourGlass wait;
        if (FEditable) {
            if (Button_Recalculate->isEnabled()) {
                if (!CheckRequiredInputs(false)) {
                    // Closes without computing, but keeps every reading typed.
                    CopyPageToInput();
                } else if (!CheckInputValues()) {
                    result = 0;
                } else {
                    bool failed = false, dofFailed = false;
                    ComputeUncertainty(failed);
                    if (!failed)
                        CollectDegreesOfFreedom(dofFailed);
                    result = failed || dofFailed ? 0 : 1;
                }
            }
            // A second series source of one quantity is refused while the dialog is open,
            // so that nothing typed is lost.
            if (result == 1 && FAcceptMethod) {
                if (!FAcceptMethod(FInput.TSN))
                    result = 0;
            } else if (result == 1 && !IsSourceMethodAllowed(FOwnerCell, FSourceCell, FInput.TSN)) {
                MessageDlg(GetString(kMethodNotAllowedText, { GetEvaluationMethodName(FInput.TSN) }),
                    TMsgDlgType::mtError, mbCancel);
                result = 0;
            }
            if (result == 1) {
                FInput.EDate = Label_PlatnostDo->isChecked() ? DateToDMYText(Edit_ExpirationDate->date()) : QString();
                if (RichEdit_PopisBunky->Modified() || FCommentChanged) {
                    PrepareRichEditForSave(RichEdit_PopisBunky->document());
                    const QTextCursor saved = RichEdit_PopisBunky->textCursor();
                    RichEdit_PopisBunky->selectAll();
                    RichEdit_PopisBunky->GetRTFText(FComment);
                    RichEdit_PopisBunky->setTextCursor(saved);
                    FCommentChanged = true;
                }
            }
        }
    }
    if (FEditable && result == 1 && IsZeroText(Edit_HodnotaNeistoty->text())
        && MessageDlg(GetString(kZeroUncertaintyText), TMsgDlgType::mtConfirmation, mbYesNo) != mrYes)
        result = 0;
    if (result == 1)
        done(1);
}

} // namespace orvek

#include "mainwindow/ui/quantity_cell_dialog.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/ui/one_line_edit.h"
#include "mainwindow/ui/cell_comment_box.h"
#include "mainwindow/ui/cell_dialog_widgets.h"
#include "mainwindow/ui/sum_formula_grid_delegate.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/ui/edit_text98.h"
#include "sources/ui/source_page_widgets.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

TfOrvek9::TfOrvek9(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvek9"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    BuildControls();
    ResetSumFormulaGrid();
    RefreshTexts();
    ConnectInputs();
}

TfOrvek9::~TfOrvek9()
{
    Timer1->stop();
    delete FQuantityNameBox;
    delete FUnitBox;
}

void TfOrvek9::BuildControls()
{
    Label1 = MakeLabel(this, "Label1");
    Edit_NazovBunky = MakeEdit(this, "Edit_NazovBunky");
    Edit_NazovBunky->setMaxLength(200);
    KeepOneLine(Edit_NazovBunky);
    Label9 = MakeLabel(this, "Label9");
    Edit_SymbolVeliciny = MakeEdit(this, "Edit_SymbolVeliciny", true);
    const int lineHeight = Edit_NazovBunky->sizeHint().height();

    Label5 = MakeLabel(this, "Label5");
    Panel_NazovVeliciny = FormattedPanel(this, "Panel_NazovVeliciny");
    FQuantityNameBox = FormattedBox(this, Panel_NazovVeliciny, "FQuantityNameBox", lineHeight);
    SpeedButton_Velicina = MakeButton(this, "SpeedButton_Velicina", QStringLiteral("\u2026"));
    Label6 = MakeLabel(this, "Label6");
    Panel_JednotkaVeliciny = FormattedPanel(this, "Panel_JednotkaVeliciny");
    FUnitBox = FormattedBox(this, Panel_JednotkaVeliciny, "FUnitBox", lineHeight);
    SpeedButton_Jednotka = MakeButton(this, "SpeedButton_Jednotka", QStringLiteral("\u2026"));
    SpeedButton_EditVelicinaJednotka = MakeButton(this, "SpeedButton_EditVelicinaJednotka", QStringLiteral("\u2630"));

    Label10 = MakeLabel(this, "Label10");
    ComboBox_TypHodnoty = MakeList(this, "ComboBox_TypHodnoty");
    ComboBox_TypHodnoty->addItems({ QString(), QString(), QString() });
    Label2 = MakeLabel(this, "Label2");
    Edit_HodnotaVeliciny = MakeEdit(this, "Edit_HodnotaVeliciny");
    KeepOneLine(Edit_HodnotaVeliciny);

    auto* upper = new QGridLayout;
    upper->addWidget(Label1, 0, 0);
    upper->addWidget(Edit_NazovBunky, 0, 1, 1, 3);
    upper->addWidget(Label9, 1, 0);
    upper->addWidget(Edit_SymbolVeliciny, 1, 1);
    upper->addWidget(Label5, 2, 0);
    upper->addWidget(Panel_NazovVeliciny, 2, 1, 1, 2);
    upper->addWidget(SpeedButton_Velicina, 2, 3);
    upper->addWidget(Label6, 3, 0);
    upper->addWidget(Panel_JednotkaVeliciny, 3, 1, 1, 2);
    upper->addWidget(SpeedButton_Jednotka, 3, 3);
    upper->addWidget(SpeedButton_EditVelicinaJednotka, 2, 4, 2, 1);
    upper->addWidget(Label10, 4, 0);
    upper->addWidget(ComboBox_TypHodnoty, 4, 1, 1, 2);
    upper->addWidget(Label2, 5, 0);
    upper->addWidget(Edit_HodnotaVeliciny, 5, 1, 1, 2);
    upper->setColumnStretch(2, 1);

    // The uncertainties (value types 0 and 2), the degrees of freedom (type 0) and the
    // sum formula with its grid (type 2).
    PageControl1 = new QWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Label3 = MakeLabel(PageControl1, "Label3");
    Edit_HodnotaKombinovanejStandardnejNeistoty
        = MakeEdit(PageControl1, "Edit_HodnotaKombinovanejStandardnejNeistoty", true);
    Label7 = MakeLabel(PageControl1, "Label7");
    Edit_HodnotaRelativnejStandardnejNeistoty
        = MakeEdit(PageControl1, "Edit_HodnotaRelativnejStandardnejNeistoty", true);
    Panel_Dof = new QWidget(PageControl1);
    Label11 = MakeLabel(Panel_Dof, "Label11");
    Edit_PocetStupnovVolnosti = MakeEdit(Panel_Dof, "Edit_PocetStupnovVolnosti", true);
    Panel_Nekonecno = MakeInfinityPanel(Panel_Dof, "Panel_Nekonecno");
    auto* dof = new QGridLayout(Panel_Dof);
    dof->setContentsMargins(0, 0, 0, 0);
    dof->addWidget(Label11, 0, 0);
    dof->addWidget(Edit_PocetStupnovVolnosti, 0, 1);
    dof->addWidget(Panel_Nekonecno, 0, 1);
    dof->setColumnStretch(2, 1);

    Panel_SumFormula = new QWidget(PageControl1);
    Label15 = MakeLabel(Panel_SumFormula, "Label15");
    Edit_SumarnyVzorec = MakeEdit(Panel_SumFormula, "Edit_SumarnyVzorec");
    KeepOneLine(Edit_SumarnyVzorec);
    Button_Vypocet = new QPushButton(Panel_SumFormula);
    Button_Vypocet->setObjectName(QStringLiteral("Button_Vypocet"));
    Button_Vypocet->setAutoDefault(false);
    StringGrid_SumForm = new QTableWidget(Panel_SumFormula);
    StringGrid_SumForm->setObjectName(QStringLiteral("StringGrid_SumForm"));
    StringGrid_SumForm->setItemDelegate(
        new TSumFormulaGridDelegate([this] { return FGridEditable && FEditingAllowed; }, StringGrid_SumForm));
    StringGrid_SumForm->verticalHeader()->hide();
    StringGrid_SumForm->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_SumForm->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    StringGrid_SumForm->setMinimumHeight(120);
    auto* sum = new QGridLayout(Panel_SumFormula);
    sum->setContentsMargins(0, 0, 0, 0);
    sum->addWidget(Label15, 0, 0);
    sum->addWidget(Edit_SumarnyVzorec, 0, 1);
    sum->addWidget(Button_Vypocet, 0, 2);
    sum->addWidget(StringGrid_SumForm, 1, 0, 1, 4);
    sum->setColumnStretch(3, 1);

    auto* page = new QGridLayout(PageControl1);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(Label3, 0, 0);
    page->addWidget(Edit_HodnotaKombinovanejStandardnejNeistoty, 0, 1);
    page->addWidget(Label7, 1, 0);
    page->addWidget(Edit_HodnotaRelativnejStandardnejNeistoty, 1, 1);
    page->addWidget(Panel_Dof, 2, 0, 1, 3);
    page->addWidget(Panel_SumFormula, 3, 0, 1, 3);
    page->setColumnStretch(2, 1);

    // The lower panel: the parent's equation and the comment.
    Label8 = MakeLabel(this, "Label8");
    Edit_CelaRovnica = MakeEdit(this, "Edit_CelaRovnica", true);
    Comment = new TCellCommentBox(this);
    Label4 = Comment->Label;
    Label4->setObjectName(QStringLiteral("Label4"));

    QDialogButtonBox* buttons = OkCancelButtons(this, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    for (QPushButton* button : { Button_OK, Button_Cancel })
        button->setAutoDefault(false);
    Button_OK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(upper);
    layout->addWidget(PageControl1);
    auto* equation = new QHBoxLayout;
    equation->addWidget(Label8);
    equation->addWidget(Edit_CelaRovnica, 1);
    layout->addLayout(equation);
    layout->addWidget(Comment->Panel, 1);
    layout->addWidget(buttons);
    resize(640, 560);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
}

void TfOrvek9::RefreshTexts()
{
    setWindowTitle(GetString(183));
    Button_Cancel->setText(GetString(4));
    Button_Vypocet->setText(GetString(291));
    Comment->Fullwindow->setText(GetString(730));
    Comment->SpeedButton_Editor->setToolTip(GetString(730));
    Comment->SpeedButton_CopyComment->setToolTip(GetString(858));
    Comment->SpeedButton_PasteComment->setToolTip(GetString(859));
    Label2->setText(GetString(82));
    Label8->setText(GetString(177));
    Label1->setText(GetString(167));
    Edit_NazovBunky->setToolTip(GetString(167));
    Label4->setText(GetString(84));
    Label9->setText(GetString(99));
    Label9->setToolTip(GetString(169));
    Edit_SymbolVeliciny->setToolTip(GetString(169));
    Label3->setText(GetString(87));
    Label7->setText(GetString(88));
    Label6->setText(GetString(89));
    Label5->setText(GetString(90));
    Label10->setText(GetString(135));
    Label11->setText(GetString(289));
    Label15->setText(GetString(290));
    SpeedButton_EditVelicinaJednotka->setToolTip(GetString(171));
    SpeedButton_Velicina->setToolTip(GetString(584));
    SpeedButton_Jednotka->setToolTip(GetString(584));
    Edit_CelaRovnica->setToolTip(GetString(86));
    Edit_HodnotaVeliciny->setToolTip(GetString(178));
    Comment->RichEdit_PopisBunky->setToolTip(GetString(95));
    Edit_HodnotaKombinovanejStandardnejNeistoty->setToolTip(GetString(96));
    Edit_HodnotaRelativnejStandardnejNeistoty->setToolTip(GetString(97));
    // Value type 0 has a text of its own: the number the value-type list names for it
    // is the symbol column's header of the report tables.
    ComboBox_TypHodnoty->setItemText(0, GetString(22400));
    ComboBox_TypHodnoty->setItemText(1, GetString(305));
    ComboBox_TypHodnoty->setItemText(2, GetString(306));
    const QString lineBreak(QLatin1Char('\n'));
    QStringList headers { QString(), GetString(292), GetString(293) };
    for (int id : { 294, 295, 296, 297, 351 })
        headers << GetString(id, { lineBreak });
    StringGrid_SumForm->setHorizontalHeaderLabels(headers);
    FitColumnsToTitles(*StringGrid_SumForm);
}

void TfOrvek9::ResetSumFormulaGrid()
{
    FFillingGrid = true;
    StringGrid_SumForm->clearContents();
    StringGrid_SumForm->setColumnCount(kSumColumnCount);
    StringGrid_SumForm->setRowCount(1);
    // Starting widths; the element and count columns are wide enough for their headers.
    const int widths[kSumColumnCount] = { 30, 62, 62, 72, 74, 91, 84, 100 };
    for (int c = 0; c < kSumColumnCount; ++c)
        StringGrid_SumForm->setColumnWidth(c, widths[c]);
    FitColumnsToTitles(*StringGrid_SumForm);
    StringGrid_SumForm->verticalHeader()->setDefaultSectionSize(DefaultRowHeight + 4);
    StringGrid_SumForm->horizontalHeader()->setMinimumHeight(2 * (DefaultRowHeight + 4));
    SetGridRows({ TSumFormulaRow {} });
    FFillingGrid = false;
}

void TfOrvek9::ResetDialog()
{
    for (QLineEdit* edit : { Edit_NazovBunky, Edit_SymbolVeliciny, Edit_HodnotaVeliciny, Edit_SumarnyVzorec,
             Edit_HodnotaKombinovanejStandardnejNeistoty, Edit_HodnotaRelativnejStandardnejNeistoty,
             Edit_PocetStupnovVolnosti })
        edit->clear();
    FQuantityNameBox->SetMarkupText(QString());
    FUnitBox->SetMarkupText(QString());
    ResetSumFormulaGrid();
}

void TfOrvek9::ShowValueAndUncertainty(const QString& value, const QString& u, const QString& relative)
{
    if (!value.isEmpty() && !u.isEmpty()) {
        QString v, w;
        FormatValueAndUncertainty(value, u, v, w);
        Edit_HodnotaVeliciny->setText(v);
        Edit_HodnotaKombinovanejStandardnejNeistoty->setText(w);
        const QString r = FormatSignificantText(SignificantDigits, relative);
        Edit_HodnotaRelativnejStandardnejNeistoty->setText(r.isEmpty() ? relative : r + QStringLiteral(" %"));
    } else if (!value.isEmpty()) {
        Edit_HodnotaVeliciny->setText(value);
    } else if (!u.isEmpty()) {
        Edit_HodnotaVeliciny->clear();
        Edit_HodnotaKombinovanejStandardnejNeistoty->setText(FormatSignificantText(SignificantDigits, u));
    }
}

void TfOrvek9::LoadCellData()
{
    FTracking = false;
    SpeedButton_EditVelicinaJednotka->setVisible(LanguageID == 1);
    PageControl1->setEnabled(FEditingAllowed);
    FFormulaEdited = FGridEdited = FValueEdited = false;
    FLoading = true;

    Edit_NazovBunky->setText(FCellName);
    Edit_SymbolVeliciny->setText(FSymbol);

    Edit_HodnotaKombinovanejStandardnejNeistoty->clear();
    Edit_HodnotaRelativnejStandardnejNeistoty->clear();
    if (FValueType == 1)
        Edit_HodnotaVeliciny->setText(FValue);
    else
        ShowValueAndUncertainty(FValue, FCombinedUncertainty, FRelativeUncertainty);

    Comment->Load(FComment);

    ComboBox_TypHodnoty->blockSignals(true);
    ComboBox_TypHodnoty->setCurrentIndex(FValueType <= 2 ? FValueType : 0);
    ComboBox_TypHodnoty->blockSignals(false);
    FLoadedValueType = FValueType;
    FPreviousValueType = FValueType;
    if (FValueType == 0) {
        FLoadedValue = FValue;
        FLoadedUncertainty = FCombinedUncertainty;
        FLoadedRelativeUncertainty = FRelativeUncertainty;
        FLoadedDegreesOfFreedom = Edit_PocetStupnovVolnosti->text();
    }
    ApplyValueTypeLayout();

    FLoadedQuantityName = FQuantityName;
    FLoadedUnit = FUnit;
    FQuantityNameBox->SetMarkupText(FQuantityName);
    FUnitBox->SetMarkupText(FUnit);

    if (FValueType == 2) {
        Edit_SumarnyVzorec->setText(FSumFormula);
        LoadSumFormulaDetails(FSumFormulaDetails);
    } else {
        Edit_SumarnyVzorec->clear();
        ResetSumFormulaGrid();
        if (FValueType == 0) {
            const bool infinite = Edit_PocetStupnovVolnosti->text() == QLatin1String("Nekonecno");
            Panel_Nekonecno->setVisible(infinite);
            Edit_PocetStupnovVolnosti->setVisible(!infinite);
        }
    }

    ApplyEditLevel();
    ApplyReadOnlyColors();
    Comment->RichEdit_PopisBunky->SetModified(false);
    FCommentChanged = false;

    Button_Cancel->setFocus();
    Button_OK->setEnabled(false);
    FQuantityNameBox->SetModified(false);
    FUnitBox->SetModified(false);
    FFormulaEdited = FGridEdited = FModified = false;
    FTracking = true;
    Timer1->start();
}

void TfOrvek9::ApplyValueTypeLayout()
{
    const int type = ComboBox_TypHodnoty->currentIndex();
    PageControl1->setVisible(type != 1);
    Panel_Dof->setVisible(type == 0);
    Panel_SumFormula->setVisible(type == 2);
    if (type == 2) {
        FQuantityNameBox->SetMarkupText(GetString(306));
        FUnitBox->SetMarkupText(QStringLiteral("g/mol"));
        StringGrid_SumForm->setCurrentCell(0, kSumAtomicWeight);
    }
    if (FEditingAllowed)
        FocusFirstInput();
    ColourByReadOnly(Edit_HodnotaVeliciny, Edit_HodnotaVeliciny->isReadOnly());
}

void TfOrvek9::FocusFirstInput()
{
    QLineEdit* input = ComboBox_TypHodnoty->currentIndex() == 2 ? Edit_SumarnyVzorec : Edit_HodnotaVeliciny;
    if (!input->isReadOnly())
        input->setFocus();
    else if (Button_OK->isEnabled())
        Button_OK->setFocus();
    else
        Button_Cancel->setFocus();
}

void TfOrvek9::ApplyEditLevel()
{
    const int type = ComboBox_TypHodnoty->currentIndex();
    const bool view = EditMode == 0;
    const bool locks = EditMode == 1;
    auto locked = [&](quint8 lock) { return view || (locks && lock != 0); };

    Edit_NazovBunky->setReadOnly(locked(FCellNameLock));
    Comment->SetLocked(locked(FCommentLock));
    // A cell becoming a quantity keeps its value type, quantity name and unit.
    ComboBox_TypHodnoty->setEnabled(!locked(FValueTypeLock) && !FConversionMode);
    const bool nameLocked = locked(FQuantityNameLock) || FConversionMode;
    const bool unitLocked = locked(FUnitLock) || FConversionMode;
    FQuantityNameBox->Edit->setReadOnly(nameLocked);
    SpeedButton_Velicina->setEnabled(!nameLocked);
    FUnitBox->Edit->setReadOnly(unitLocked);
    SpeedButton_Jednotka->setEnabled(!unitLocked);
    // The list of quantities is there only once the program offers it.
    SpeedButton_EditVelicinaJednotka->setEnabled(!nameLocked && !unitLocked && QuantityUnitList() != nullptr);
    Edit_HodnotaVeliciny->setReadOnly(view || type == 2 || FValueTransferred != 0 || (locks && FValueLock != 0));
    Edit_SumarnyVzorec->setReadOnly(locked(FSumFormulaLock));
    FGridEditable = !view && !(locks && FSumFormulaDetailsLock != 0);
    Button_Vypocet->setEnabled(!view);
    SetGridRows(GridRows()); // item flags follow FGridEditable
}

void TfOrvek9::ApplyReadOnlyColors()
{
    ColourByReadOnly(Edit_NazovBunky, Edit_NazovBunky->isReadOnly());
    Comment->ApplyReadOnlyColor();
    ColourByReadOnly(FQuantityNameBox->Edit, FQuantityNameBox->Edit->isReadOnly());
    ColourByReadOnly(FUnitBox->Edit, FUnitBox->Edit->isReadOnly());
    ColourByReadOnly(Edit_HodnotaVeliciny, Edit_HodnotaVeliciny->isReadOnly());
    ColourByReadOnly(Edit_SumarnyVzorec, Edit_SumarnyVzorec->isReadOnly());
    QPalette p = ComboBox_TypHodnoty->palette();
    p.setColor(QPalette::Base, EnabledColor(ComboBox_TypHodnoty->isEnabled()));
    ComboBox_TypHodnoty->setPalette(p);
}

void TfOrvek9::Load(const TQuantityDialogData& data)
{
    ResetDialog();
    FEditingAllowed = data.FEditingAllowed;
    FConversionMode = data.ConversionMode;
    FCellName = data.FCellName;
    FCellNameLock = data.FCellNameLock;
    FComment = data.FComment;
    FCommentLock = data.FCommentLock;
    FValueType = data.FValueType;
    FValueTypeLock = data.FValueTypeLock;
    FSymbol = data.FSymbol;
    FQuantityName = data.FQuantityName;
    FQuantityNameLock = data.FQuantityNameLock;
    FUnit = data.FUnit;
    FUnitLock = data.FUnitLock;
    FValue = data.FValue;
    FValueLock = data.FValueLock;
    FValueTransferred = data.FValueTransferred;
    FCombinedUncertainty = data.FCombinedUncertainty;
    FRelativeUncertainty = data.FRelativeUncertainty;
    FSumFormula = data.FSumFormula;
    FSumFormulaLock = data.FSumFormulaLock;
    FSumFormulaDetails = data.FSumFormulaDetails;
    FSumFormulaDetailsLock = data.FSumFormulaDetailsLock;
    Edit_CelaRovnica->setText(data.WholeEquation);
    Edit_PocetStupnovVolnosti->setText(data.DegreesOfFreedom);
    LoadCellData();
}

int TfOrvek9::ShowModal()
{
    return exec() == 1 ? 1 : 2;
}

void TfOrvek9::ReadBack(TQuantityDialogData& data)
{
    if (!FEditingAllowed)
        return;
    data.FCellName = FCellName;
    data.FComment = FComment;
    data.FCommentChanged = FCommentChanged;
    data.FValueType = FValueType;
    data.FQuantityName = FQuantityName;
    data.FUnit = FUnit;
    data.FValue = FValue;
    data.FCombinedUncertainty = FCombinedUncertainty;
    data.FRelativeUncertainty = FRelativeUncertainty;
    if (FValueType == 2) {
        data.FSumFormula = FSumFormula;
        data.FSumFormulaDetails = FSumFormulaDetails;
    }
}

} // namespace orvek

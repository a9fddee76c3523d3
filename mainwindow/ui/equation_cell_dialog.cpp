#include "mainwindow/ui/equation_cell_dialog.h"

#include "core/common_vars.h"
#include "core/drawing.h"
#include "core/number_format.h"
#include "core/services.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "database/ui/one_line_edit.h"
#include "engine/cell.h"
#include "engine/expression.h"
#include "mainwindow/ui/cell_comment_box.h"
#include "mainwindow/ui/cell_dialog_widgets.h"
#include "platform/ui/dialog_buttons.h"
#include "platform/ui/rich_edit98.h"
#include "richtext/markup_read.h"
#include "richtext/ui/edit_text98.h"
#include "sources/ui/source_page_widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvek {

TfOrvek5::TfOrvek5(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvek5"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    BuildControls();
    ResetQuantityGrid();
    ResetCorrelationGrid();
    RichEdit_PravaStranaRovnice->Clear();
    FEquationText.clear();
    ComboBox_TypHodnoty->hide();
    Button_RenameVariable->hide();
    RefreshTexts();
    ApplyEquationWordWrap();
    ConnectInputs();
}

TfOrvek5::~TfOrvek5()
{
    Timer1->stop();
    delete FQuantityNameBox;
    delete FUnitBox;
    FreeCellTree(FPreview);
}

void TfOrvek5::BuildControls()
{
    Label1 = MakeLabel(this, "Label1");
    Edit_NazovBunky = MakeEdit(this, "Edit_NazovBunky");
    Edit_NazovBunky->setMaxLength(200);
    KeepOneLine(Edit_NazovBunky);
    const int lineHeight = Edit_NazovBunky->sizeHint().height();
    Edit_SymbolVeliciny = MakeEdit(this, "Edit_SymbolVeliciny");
    Edit_SymbolVeliciny->setMaxLength(8);
    Edit_SymbolVeliciny->setMaximumWidth(90);
    KeepOneLine(Edit_SymbolVeliciny);
    auto* equals = new QLabel(QStringLiteral("="), this);
    Label9 = MakeLabel(this, "Label9");
    RichEdit_PravaStranaRovnice = new TRichEdit98(this);
    RichEdit_PravaStranaRovnice->setObjectName(QStringLiteral("RichEdit_PravaStranaRovnice"));
    RichEdit_PravaStranaRovnice->setAcceptRichText(false);
    // An equation has no tabs: Tab moves on to the next field.
    RichEdit_PravaStranaRovnice->setTabChangesFocus(true);
    RichEdit_PravaStranaRovnice->setFixedHeight(3 * lineHeight);
    SpeedButton_StartAnalyzyRovnice = MakeButton(this, "SpeedButton_StartAnalyzyRovnice", QStringLiteral("\u2714"));
    CheckBox_ZalomitText = new QCheckBox(this);
    CheckBox_ZalomitText->setObjectName(QStringLiteral("CheckBox_ZalomitText"));
    CheckBox_ZalomitText->setChecked(true);

    Label5 = MakeLabel(this, "Label5");
    Panel_NazovVeliciny = FormattedPanel(this, "Panel_NazovVeliciny");
    FQuantityNameBox = FormattedBox(this, Panel_NazovVeliciny, "FQuantityNameBox", lineHeight);
    SpeedButton_Velicina = MakeButton(this, "SpeedButton_Velicina", QStringLiteral("\u2026"));
    Label6 = MakeLabel(this, "Label6");
    Panel_JednotkaVeliciny = FormattedPanel(this, "Panel_JednotkaVeliciny");
    FUnitBox = FormattedBox(this, Panel_JednotkaVeliciny, "FUnitBox", lineHeight);
    SpeedButton_Jednotka = MakeButton(this, "SpeedButton_Jednotka", QStringLiteral("\u2026"));
    SpeedButton_EditVelicinaJednotka = MakeButton(this, "SpeedButton_EditVelicinaJednotka", QStringLiteral("\u2630"));

    auto* top = new QGridLayout;
    top->addWidget(Label1, 0, 0);
    top->addWidget(Edit_NazovBunky, 0, 1, 1, 4);
    top->addWidget(Label9, 1, 0);
    auto* equation = new QHBoxLayout;
    equation->addWidget(Edit_SymbolVeliciny);
    equation->addWidget(equals);
    equation->addWidget(RichEdit_PravaStranaRovnice, 1);
    auto* analyse = new QVBoxLayout;
    analyse->addWidget(SpeedButton_StartAnalyzyRovnice);
    analyse->addWidget(CheckBox_ZalomitText);
    analyse->addStretch(1);
    equation->addLayout(analyse);
    top->addLayout(equation, 1, 1, 1, 4);
    top->addWidget(Label5, 2, 0);
    top->addWidget(Panel_NazovVeliciny, 2, 1, 1, 2);
    top->addWidget(SpeedButton_Velicina, 2, 3);
    top->addWidget(Label6, 3, 0);
    top->addWidget(Panel_JednotkaVeliciny, 3, 1, 1, 2);
    top->addWidget(SpeedButton_Jednotka, 3, 3);
    top->addWidget(SpeedButton_EditVelicinaJednotka, 2, 4, 2, 1);
    top->setColumnStretch(2, 1);

    // The results.
    Label2 = MakeLabel(this, "Label2");
    Edit_HodnotaVeliciny = MakeEdit(this, "Edit_HodnotaVeliciny", true);
    auto* plusMinus = new QLabel(QStringLiteral("\u00B1"), this);
    Edit_RozsirenaStdNeistota = MakeEdit(this, "Edit_RozsirenaStdNeistota", true);
    Label8 = MakeLabel(this, "Label8");
    Label3 = MakeLabel(this, "Label3");
    Edit_HodnotaKombinovanejStandardnejNeistoty = MakeEdit(this, "Edit_HodnotaKombinovanejStandardnejNeistoty", true);
    Label7 = MakeLabel(this, "Label7");
    Edit_HodnotaRelativnejStandardnejNeistoty = MakeEdit(this, "Edit_HodnotaRelativnejStandardnejNeistoty", true);
    Panel_NekonecnoPreRel = MakeInfinityPanel(this, "Panel_NekonecnoPreRel");
    Label_Relativna_rozsirena_neistota = MakeLabel(this, "Label_Relativna_rozsirena_neistota");
    Edit_HodnotaRelativnejRozsirenejNeistoty = MakeEdit(this, "Edit_HodnotaRelativnejRozsirenejNeistoty", true);
    Label12 = MakeLabel(this, "Label12");
    Edit_PocetStupnovVolnosti = MakeEdit(this, "Edit_PocetStupnovVolnosti", true);
    Panel_Nekonecno = MakeInfinityPanel(this, "Panel_Nekonecno");
    Label10 = MakeLabel(this, "Label10");
    Edit_ExpanznyKoeficient = MakeEdit(this, "Edit_ExpanznyKoeficient");
    KeepOneLine(Edit_ExpanznyKoeficient);
    ComboBox_Coverage = MakeList(this, "ComboBox_Coverage");
    ComboBox_Coverage->addItems({ QString(), QString(), QString(), QString() });

    auto* results = new QGridLayout;
    results->addWidget(Label2, 0, 0);
    results->addWidget(Edit_HodnotaVeliciny, 0, 1);
    results->addWidget(plusMinus, 0, 2);
    results->addWidget(Edit_RozsirenaStdNeistota, 0, 3);
    results->addWidget(Label8, 0, 4);
    results->addWidget(Label3, 1, 0);
    results->addWidget(Edit_HodnotaKombinovanejStandardnejNeistoty, 1, 1);
    results->addWidget(Label7, 1, 2, 1, 2, Qt::AlignRight);
    results->addWidget(Edit_HodnotaRelativnejStandardnejNeistoty, 1, 4);
    results->addWidget(Panel_NekonecnoPreRel, 1, 4);
    results->addWidget(Label12, 2, 0);
    results->addWidget(Edit_PocetStupnovVolnosti, 2, 1);
    results->addWidget(Panel_Nekonecno, 2, 1);
    results->addWidget(Label_Relativna_rozsirena_neistota, 2, 2, 1, 2, Qt::AlignRight);
    results->addWidget(Edit_HodnotaRelativnejRozsirenejNeistoty, 2, 4);
    results->addWidget(Label10, 3, 0);
    results->addWidget(Edit_ExpanznyKoeficient, 3, 1);
    results->addWidget(ComboBox_Coverage, 3, 2, 1, 3);

    // The two grids.
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet_Veliciny = new QWidget;
    TabSheet_Veliciny->setObjectName(QStringLiteral("TabSheet_Veliciny"));
    TabSheet_CorrelationMatrix = new QWidget;
    TabSheet_CorrelationMatrix->setObjectName(QStringLiteral("TabSheet_CorrelationMatrix"));
    PageControl1->addTab(TabSheet_Veliciny, QString());
    PageControl1->addTab(TabSheet_CorrelationMatrix, QString());
    StringGrid_ZoznamVelicin_v_Rovnici = new QTableWidget(TabSheet_Veliciny);
    StringGrid_ZoznamVelicin_v_Rovnici->setObjectName(QStringLiteral("StringGrid_ZoznamVelicin_v_Rovnici"));
    StringGrid_ZoznamVelicin_v_Rovnici->verticalHeader()->hide();
    StringGrid_ZoznamVelicin_v_Rovnici->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_ZoznamVelicin_v_Rovnici->setMouseTracking(true);
    ComboBox_TypHodnoty = MakeList(StringGrid_ZoznamVelicin_v_Rovnici->viewport(), "ComboBox_TypHodnoty");
    ComboBox_TypHodnoty->addItems({ QString(), QString(), QString() });
    Button_RenameVariable = new QPushButton(QStringLiteral(">"), StringGrid_ZoznamVelicin_v_Rovnici->viewport());
    Button_RenameVariable->setObjectName(QStringLiteral("Button_RenameVariable"));
    Button_RenameVariable->setAutoDefault(false);
    const int rowHeight = ComboBox_TypHodnoty->sizeHint().height();
    StringGrid_ZoznamVelicin_v_Rovnici->verticalHeader()->setDefaultSectionSize(rowHeight);
    Button_RenameVariable->setFixedSize(rowHeight, rowHeight);
    InstallQuantityGridDelegate();
    auto* quantities = new QVBoxLayout(TabSheet_Veliciny);
    quantities->addWidget(StringGrid_ZoznamVelicin_v_Rovnici);
    StringGrid_CorrelationMatrix = new QTableWidget(TabSheet_CorrelationMatrix);
    StringGrid_CorrelationMatrix->setObjectName(QStringLiteral("StringGrid_CorrelationMatrix"));
    StringGrid_CorrelationMatrix->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_CorrelationMatrix->verticalHeader()->setDefaultSectionSize(rowHeight);
    Button_Recalculate = new QPushButton(TabSheet_CorrelationMatrix);
    Button_Recalculate->setObjectName(QStringLiteral("Button_Recalculate"));
    Button_Recalculate->setAutoDefault(false);
    auto* matrix = new QVBoxLayout(TabSheet_CorrelationMatrix);
    matrix->addWidget(StringGrid_CorrelationMatrix);
    matrix->addWidget(Button_Recalculate, 0, Qt::AlignRight);
    PageControl1->setMinimumHeight(180);

    Comment = new TCellCommentBox(this);
    Label4 = Comment->Label;
    Label4->setObjectName(QStringLiteral("Label4"));

    QDialogButtonBox* buttons = OkCancelButtons(this, Button_OK, "Button_OK", Button_Cancel, "Button_Cancel");
    for (QPushButton* button : { Button_OK, Button_Cancel })
        button->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(results);
    layout->addWidget(PageControl1, 2);
    layout->addWidget(Comment->Panel, 1);
    layout->addWidget(buttons);
    resize(700, 720);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
}

void TfOrvek5::RefreshTexts()
{
    setWindowTitle(GetString(104));
    Comment->Fullwindow->setText(GetString(730));
    Comment->SpeedButton_Editor->setToolTip(GetString(730));
    Button_Cancel->setText(GetString(4));
    Button_Recalculate->setText(GetString(266));
    Button_Recalculate->setToolTip(GetString(323));
    SpeedButton_StartAnalyzyRovnice->setToolTip(GetString(139));
    Comment->SpeedButton_CopyComment->setToolTip(GetString(858));
    Comment->SpeedButton_PasteComment->setToolTip(GetString(859));
    const std::pair<QLabel*, int> labels[] = { { Label1, 83 }, { Label2, 82 }, { Label3, 87 }, { Label4, 84 },
        { Label5, 90 }, { Label6, 89 }, { Label7, 88 }, { Label8, 355 }, { Label9, 86 }, { Label10, 312 },
        { Label12, 289 }, { Label_Relativna_rozsirena_neistota, 1001 } };
    for (const auto& [label, id] : labels)
        label->setText(GetString(id));
    Label9->setToolTip(GetString(85));
    SpeedButton_EditVelicinaJednotka->setToolTip(GetString(138));
    SpeedButton_Velicina->setToolTip(GetString(584));
    SpeedButton_Jednotka->setToolTip(GetString(584));
    const std::pair<QWidget*, int> hints[] = { { RichEdit_PravaStranaRovnice, 98 }, { Edit_SymbolVeliciny, 92 },
        { Edit_HodnotaVeliciny, 93 }, { Edit_NazovBunky, 94 }, { Comment->RichEdit_PopisBunky, 95 },
        { Edit_HodnotaKombinovanejStandardnejNeistoty, 96 }, { Edit_HodnotaRelativnejStandardnejNeistoty, 97 },
        { Edit_PocetStupnovVolnosti, 1075 }, { Edit_ExpanznyKoeficient, 1076 }, { Edit_RozsirenaStdNeistota, 1077 } };
    for (const auto& [widget, id] : hints)
        widget->setToolTip(GetString(id));
    StringGrid_ZoznamVelicin_v_Rovnici->setHorizontalHeaderLabels(
        { GetString(132), GetString(133), GetString(134), GetString(135) });
    FitColumnsToTitles(*StringGrid_ZoznamVelicin_v_Rovnici);
    // Value type 0 has a text of its own (see the quantity dialog).
    ComboBox_TypHodnoty->setItemText(0, GetString(22400));
    ComboBox_TypHodnoty->setItemText(1, GetString(305));
    ComboBox_TypHodnoty->setItemText(2, GetString(306));
    const QString percent(QLatin1Char('%'));
    ComboBox_Coverage->setItemText(0, GetString(321, { percent }));
    ComboBox_Coverage->setItemText(1, GetString(310, { percent }));
    ComboBox_Coverage->setItemText(2, GetString(311, { percent }));
    ComboBox_Coverage->setItemText(3, GetString(322));
    PageControl1->setTabText(0, GetString(353));
    PageControl1->setTabText(1, GetString(354));
    CheckBox_ZalomitText->setText(GetString(1092));
}

void TfOrvek5::ResetDialog()
{
    ResetQuantityGrid();
    ResetCorrelationGrid();
    FQuantityNameBox->SetMarkupText(QString());
    FUnitBox->SetMarkupText(QString());
    for (QLineEdit* edit :
        { Edit_HodnotaVeliciny, Edit_HodnotaKombinovanejStandardnejNeistoty, Edit_HodnotaRelativnejStandardnejNeistoty,
            Edit_RozsirenaStdNeistota, Edit_HodnotaRelativnejRozsirenejNeistoty, Edit_PocetStupnovVolnosti,
            Edit_ExpanznyKoeficient, Edit_NazovBunky, Edit_SymbolVeliciny }) {
        edit->clear();
        edit->setReadOnly(false);
    }
    FEquationText.clear();
    RichEdit_PravaStranaRovnice->setReadOnly(false);
    FGridEditable = FMatrixEditable = true;
    FSymbol.clear();
    FQuantityName.clear();
    FUnit.clear();
    FComment.clear();
    FCellName.clear();
    FCoverageFactor.clear();
    FSymbolLock = FQuantityNameLock = FUnitLock = FCommentLock = FCellNameLock = FCoverageFactorLock = 0;
    FCoverage = 1;
    FCoverageLock = 0;
    FCorrelationMatrix.clear();
    FCorrelationMatrixLock = 0;
    FEquation.clear();
    FEquationLock = 0;
    FValue.clear();
    FCombinedUncertainty.clear();
    FRelativeUncertainty.clear();
    FExpandedUncertainty.clear();
    FEquationAtLoad.clear();
    FPendingEquation.clear();
    FLastAnalysedEquation.clear();
    Comment->RichEdit_PopisBunky->Clear();
}

void TfOrvek5::LoadCellData()
{
    FTracking = false;
    SpeedButton_EditVelicinaJednotka->setVisible(LanguageID == 1);
    FLoading = true;
    // A stored equation loses a leading "=", which would print as "Y = =a+b".
    if (FEquation.startsWith(QLatin1Char('=')))
        FEquation.remove(0, 1);
    RemoveBlanks(FEquation, FEquationAtLoadNoBlanks);
    ShowResults();

    Edit_NazovBunky->setText(FCellName);
    Edit_NazovBunky->setReadOnly(FCellNameLock != 0);
    Edit_SymbolVeliciny->setText(FSymbol);
    Edit_SymbolVeliciny->setReadOnly(FSymbolLock != 0);
    FUnitBox->SetMarkupText(FUnit);
    FQuantityNameBox->SetMarkupText(FQuantityName);

    FEquationText = FEquation;
    ShowEquationText(FEquationText);
    FEquationAtLoad = FEquation;
    FLastAnalysedEquation = FEquation;
    FLastAcceptedEquation = FilterEquationText(FEquation);
    FAnalysed = !FEquation.isEmpty() && CountQuantityRows() > 0;

    if (FIsNewCell) {
        FCoverage = 3;
        FCoverageFactor = QStringLiteral("2");
        Comment->RichEdit_PopisBunky->Clear();
        FRecalculateAllowed = true;
    }
    Edit_ExpanznyKoeficient->setText(FormatSignificantText(4, FCoverageFactor));
    ComboBox_Coverage->blockSignals(true);
    ComboBox_Coverage->setCurrentIndex(FCoverage <= 3 ? FCoverage : 1);
    ComboBox_Coverage->blockSignals(false);
    ApplyCoverage();

    const bool infinite = Edit_PocetStupnovVolnosti->text() == QLatin1String("Nekonecno");
    Panel_Nekonecno->setVisible(infinite);
    Edit_PocetStupnovVolnosti->setVisible(!infinite);
    FDegreesOfFreedomText = Edit_PocetStupnovVolnosti->text();

    Comment->Load(FIsNewCell ? QString() : FComment);

    // A quantity list handed in without its matrix is dropped and built anew by the
    // analysis.
    if (FCorrelationMatrix.isEmpty()) {
        ResetQuantityGrid();
        ResetCorrelationGrid();
        FAnalysed = false;
    } else {
        InitCorrelationGrid();
        LoadCorrelationMatrix();
        StringGrid_ZoznamVelicin_v_Rovnici->setCurrentCell(0, 1);
    }
    if (!FEquationText.isEmpty())
        FEquationSymbols = AnalyseEquationText(FEquationText).Symbols;

    ApplyEditLevel();
    ApplyReadOnlyColors();
    Comment->RichEdit_PopisBunky->SetModified(false);
    FCommentChanged = false;
    PageControl1->setCurrentWidget(TabSheet_Veliciny);

    Button_OK->setEnabled(false);
    Button_Recalculate->setEnabled(false);
    FTracking = true;
    FModified = FIsNewCell;
    FChangeCount = 0;
    FQuantityNameBox->SetModified(false);
    FUnitBox->SetModified(false);
    if (FIsNewCell)
        RichEdit_PravaStranaRovnice->setFocus();
    Timer1->start();
}

void TfOrvek5::ApplyEditLevel()
{
    for (QLineEdit* edit :
        { Edit_HodnotaVeliciny, Edit_HodnotaKombinovanejStandardnejNeistoty, Edit_HodnotaRelativnejStandardnejNeistoty,
            Edit_RozsirenaStdNeistota, Edit_HodnotaRelativnejRozsirenejNeistoty, Edit_PocetStupnovVolnosti })
        edit->setReadOnly(true);
    const int level = EffectiveEditLevel();
    if (level > 2)
        return;
    const bool view = level == 0;
    const bool locks = level == 1;
    auto locked = [&](quint8 lock) { return view || (locks && lock != 0); };

    Edit_NazovBunky->setReadOnly(locked(FCellNameLock));
    if (view || locks)
        Edit_SymbolVeliciny->setReadOnly(locked(FSymbolLock));
    else
        Edit_SymbolVeliciny->setReadOnly(!Edit_SymbolVeliciny->text().isEmpty());
    FUnitBox->Edit->setReadOnly(locked(FUnitLock));
    SpeedButton_Jednotka->setEnabled(!locked(FUnitLock));
    FQuantityNameBox->Edit->setReadOnly(locked(FQuantityNameLock));
    SpeedButton_Velicina->setEnabled(!locked(FQuantityNameLock));
    SpeedButton_EditVelicinaJednotka->setEnabled(
        SpeedButton_Jednotka->isEnabled() && SpeedButton_Velicina->isEnabled() && QuantityUnitList() != nullptr);
    RichEdit_PravaStranaRovnice->setReadOnly(view || FEquationLock != 0);
    const bool equationTools = !view && !(locks && FEquationLock != 0);
    SpeedButton_StartAnalyzyRovnice->setEnabled(equationTools);
    Button_RenameVariable->setEnabled(equationTools);
    FGridEditable = !view && !(locks && FEquationLock != 0);
    FMatrixEditable = FRecalculateAllowed = !view && !(locks && FCorrelationMatrixLock != 0);
    const bool typedK = ComboBox_Coverage->currentIndex() == 3;
    Edit_ExpanznyKoeficient->setReadOnly(view || (locks && FCoverageFactorLock != 0) || !typedK);
    ComboBox_Coverage->setEnabled(!locked(FCoverageLock));
    Comment->SetLocked(locked(FCommentLock));
    Button_Recalculate->setEnabled(!view && FMatrixEditable);
    StringGrid_ZoznamVelicin_v_Rovnici->setEditTriggers(FGridEditable
            ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
            : QAbstractItemView::NoEditTriggers);
    StringGrid_CorrelationMatrix->setEditTriggers(FMatrixEditable
            ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
            : QAbstractItemView::NoEditTriggers);
}

void TfOrvek5::ApplyReadOnlyColors()
{
    for (QLineEdit* edit :
        { Edit_NazovBunky, Edit_SymbolVeliciny, Edit_HodnotaVeliciny, Edit_HodnotaKombinovanejStandardnejNeistoty,
            Edit_HodnotaRelativnejStandardnejNeistoty, Edit_RozsirenaStdNeistota,
            Edit_HodnotaRelativnejRozsirenejNeistoty, Edit_ExpanznyKoeficient, Edit_PocetStupnovVolnosti })
        ColourByReadOnly(edit, edit->isReadOnly());
    ColourByReadOnly(FQuantityNameBox->Edit, FQuantityNameBox->Edit->isReadOnly());
    ColourByReadOnly(FUnitBox->Edit, FUnitBox->Edit->isReadOnly());
    ColourByReadOnly(RichEdit_PravaStranaRovnice, RichEdit_PravaStranaRovnice->isReadOnly());
    Comment->ApplyReadOnlyColor();
    ColourByEnabled(StringGrid_ZoznamVelicin_v_Rovnici, FGridEditable);
    ColourByEnabled(StringGrid_CorrelationMatrix, FMatrixEditable);
    ColourByEnabled(ComboBox_Coverage, ComboBox_Coverage->isEnabled());
}

void TfOrvek5::Load(const TEquationDialogData& data)
{
    ResetDialog();
    FCell = data.FCell;
    FIsNewCell = data.FIsNewCell;
    FCellName = data.FCellName;
    FCellNameLock = data.FCellNameLock;
    FComment = data.FComment;
    FCommentLock = data.FCommentLock;
    FSymbol = data.FSymbol;
    FSymbolLock = data.FSymbolLock;
    FQuantityName = data.FQuantityName;
    FQuantityNameLock = data.FQuantityNameLock;
    FUnit = data.FUnit;
    FUnitLock = data.FUnitLock;
    // The hand-over holds the whole equation; the dialog edits its right-hand side.
    QString equation = data.FEquation;
    const qsizetype equals = equation.indexOf(QLatin1Char('='));
    if (equals >= 0)
        equation = equation.mid(equals + 1).trimmed();
    FEquation = equation;
    FEquationLock = data.FEquationLock;
    FCoverage = data.FCoverage;
    FCoverageLock = data.FCoverageLock;
    FCoverageFactor = data.FCoverageFactor;
    FCoverageFactorLock = data.FCoverageFactorLock;
    FCorrelationMatrix = data.FCorrelationMatrix;
    FCorrelationMatrixLock = data.FCorrelationMatrixLock;
    FValue = data.FValue;
    FCombinedUncertainty = data.FCombinedUncertainty;
    FRelativeUncertainty = data.FRelativeUncertainty;
    FExpandedUncertainty = data.FExpandedUncertainty;
    FRelativeExpandedUncertainty = data.FRelativeExpandedUncertainty;
    if (!data.Caption.isEmpty())
        setWindowTitle(data.Caption);
    Edit_PocetStupnovVolnosti->setText(data.DegreesOfFreedom);
    FRowsAsNew = data.RowsAsNew || data.FIsNewCell;
    FEquationChildIds.clear();
    FEquationChildSymbols.clear();
    for (int i = 1; i <= data.Quantities.Count; ++i) {
        const TInfo_o_bunke_typu_velicina& v = data.Quantities[i];
        const TCell* child = v.Cell;
        if (!child && FCell)
            for (int c = 0; c < FCell->ChildCount() && !child; ++c)
                if (v.CellId > 0 && FCell->Child(c)->FId == v.CellId)
                    child = FCell->Child(c);
        if (child && child->FCellType == kEquationCell) {
            FEquationChildIds << v.CellId;
            FEquationChildSymbols << v.Symbol;
        }
    }
    FillQuantityGrid(QuantityRowsFrom(data.Quantities));
    FViewOnly = !data.Editing;
    LoadCellData();
}

int TfOrvek5::ShowModal()
{
    return exec() == 1 ? 1 : 2;
}

void TfOrvek5::ReadBack(TEquationDialogData& data)
{
    data.FCellName = FCellName;
    data.FComment = FComment;
    data.FCommentChanged = FCommentChanged;
    data.FSymbol = FSymbol;
    data.FQuantityName = FQuantityName;
    data.FUnit = FUnit;
    data.FEquation = FSymbol + QStringLiteral(" = ") + FEquation;
    data.FCoverage = FCoverage;
    data.FCoverageFactor = FCoverageFactor;
    data.FCorrelationMatrix = FCorrelationMatrix;
    data.FValue = FValue;
    data.FCombinedUncertainty = FCombinedUncertainty;
    data.FRelativeUncertainty = FRelativeUncertainty;
    data.FExpandedUncertainty = FExpandedUncertainty;
    data.FRelativeExpandedUncertainty = FRelativeExpandedUncertainty;
    data.RowsAsNew = FRowsAsNew;
    if (FRowsAsNew)
        ReadQuantityGridAsNew(QuantityRows(), data.Quantities);
    else
        ReadQuantityGrid(QuantityRows(), data.Quantities);
}

} // namespace orvek

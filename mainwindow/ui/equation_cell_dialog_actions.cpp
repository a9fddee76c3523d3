// TfOrvek5: the analysis of the right-hand side, OK, the coverage factor and the
// previews, the quantity name and unit, the comment, the keys, the timer and closing.

#include "mainwindow/ui/equation_cell_dialog.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/services.h"
#include "core/string_table.h"
#include "core/student_t.h"
#include "core/text_pieces.h"
#include "engine/cell.h"
#include "engine/expression.h"
#include "mainwindow/ui/cell_comment_box.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/rich_edit98.h"
#include "platform/ui/window_placement.h"
#include "richtext/ui/edit_text98.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace orvek {

void TfOrvek5::ConnectInputs()
{
    connect(Button_OK, &QPushButton::clicked, this, &TfOrvek5::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(SpeedButton_StartAnalyzyRovnice, &QToolButton::clicked, this, [this] { AnalyseEquation(); });
    connect(CheckBox_ZalomitText, &QCheckBox::toggled, this, &TfOrvek5::ApplyEquationWordWrap);
    connect(SpeedButton_Velicina, &QToolButton::clicked, this, &TfOrvek5::SpeedButton_VelicinaClick);
    connect(SpeedButton_Jednotka, &QToolButton::clicked, this, &TfOrvek5::SpeedButton_JednotkaClick);
    connect(SpeedButton_EditVelicinaJednotka, &QToolButton::clicked, this,
        &TfOrvek5::SpeedButton_EditVelicinaJednotkaClick);
    connect(Comment->SpeedButton_Editor, &QToolButton::clicked, this, &TfOrvek5::SpeedButton_EditorClick);
    connect(Comment->Fullwindow, &QAction::triggered, this, &TfOrvek5::SpeedButton_EditorClick);
    connect(Button_Recalculate, &QPushButton::clicked, this, &TfOrvek5::Button_RecalculateClick);
    connect(Button_RenameVariable, &QPushButton::clicked, this, &TfOrvek5::Button_RenameVariableClick);
    connect(Timer1, &QTimer::timeout, this, &TfOrvek5::Timer1Timer);
    connect(ComboBox_Coverage, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!FTracking || index < 0)
            return;
        FCoverage = quint8(index);
        MarkModified();
        ApplyCoverage();
    });
    connect(Edit_ExpanznyKoeficient, &QLineEdit::textEdited, this, [this] {
        if (!FTracking || ComboBox_Coverage->currentIndex() != 3)
            return;
        if (FRecalculateAllowed)
            Button_Recalculate->setEnabled(true);
        MarkModified();
    });
    for (QLineEdit* edit : { Edit_NazovBunky, Edit_SymbolVeliciny })
        connect(edit, &QLineEdit::textChanged, this, [this] { MarkModified(); });
    connect(Comment->RichEdit_PopisBunky, &QTextEdit::textChanged, this, [this] { MarkModified(); });
    connect(RichEdit_PravaStranaRovnice, &QTextEdit::textChanged, this, [this] { MarkModified(); });
    connect(ComboBox_TypHodnoty, &QComboBox::activated, this, &TfOrvek5::ComboBox_TypHodnotyChange);
    connect(StringGrid_ZoznamVelicin_v_Rovnici, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!FGridRebuilding && item->column() != 3)
            MarkModified();
    });
    connect(StringGrid_ZoznamVelicin_v_Rovnici, &QTableWidget::currentCellChanged, this,
        [this](int row, int column) { QuantityGridCellSelected(row, column); });
    connect(StringGrid_ZoznamVelicin_v_Rovnici, &QTableWidget::cellClicked, this,
        [this](int row, int column) { QuantityGridCellSelected(row, column); });
    connect(StringGrid_ZoznamVelicin_v_Rovnici, &QTableWidget::cellEntered, this, [this](int row, int column) {
        if (!isActiveWindow() || !FGridEditable)
            return;
        if (column == 0 && row >= 0 && row < CountQuantityRows())
            QuantityGridCellSelected(row, 0);
    });
    connect(StringGrid_CorrelationMatrix, &QTableWidget::itemChanged, this,
        [this](QTableWidgetItem* item) { CorrelationCellEdited(item->row(), item->column()); });
    RichEdit_PravaStranaRovnice->installEventFilter(this);
    Button_OK->installEventFilter(this);
    StringGrid_ZoznamVelicin_v_Rovnici->installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        if (child != RichEdit_PravaStranaRovnice && child != Button_OK && child != StringGrid_ZoznamVelicin_v_Rovnici)
            child->installEventFilter(this);
}

void TfOrvek5::MarkModified()
{
    if (!FTracking)
        return;
    FModified = true;
    ++FChangeCount;
}

void TfOrvek5::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QApplication::restoreOverrideCursor();
    FLoading = false;
}

// ---------------------------------------------------------------------------------
// The right-hand side

QString TfOrvek5::ReadEquationText()
{
    return FilterEquationText(RichEdit_PravaStranaRovnice->toPlainText());
}

void TfOrvek5::ShowEquationText(const QString& Text)
{
    const bool tracking = FTracking;
    FTracking = false;
    RichEdit_PravaStranaRovnice->setPlainText(Text);
    RichEdit_PravaStranaRovnice->moveCursor(QTextCursor::Start);
    FTracking = tracking;
}

void TfOrvek5::ApplyEquationWordWrap()
{
    const bool wrap = CheckBox_ZalomitText->isChecked();
    RichEdit_PravaStranaRovnice->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    RichEdit_PravaStranaRovnice->setVerticalScrollBarPolicy(wrap ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    RichEdit_PravaStranaRovnice->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void TfOrvek5::ShowRefusal(int message, const QStringList& arguments, QWidget* focus)
{
    QString text;
    switch (arguments.size()) {
    case 0:
        text = GetString(message);
        break;
    case 1:
        text = GetString(message, { arguments[0] });
        break;
    case 2:
        text = GetString(message, { arguments[0], arguments[1] });
        break;
    default:
        text = GetString(message, { arguments[0], arguments[1], arguments[2] });
        break;
    }
    MessageDlg(text, TMsgDlgType::mtError, mbRetry);
    if (focus)
        focus->setFocus();
}

TCell* TfOrvek5::PreviewCell()
{
    if (!FCell)
        return nullptr;
    if (!FPreview) {
        QByteArray text = FCell->SaveToText().toUtf8();
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        FPreview = new TCell(nullptr, TPrenosInfoDoNovejBunky(), 0, 0, nullptr);
        if (!FPreview->LoadFromDevice(buffer))
            FreeCellTree(FPreview);
    }
    return FPreview;
}

bool TfOrvek5::AnalyseEquation()
{
    Timer1->stop();
    FSymbolsDiffer = false;
    FEquationText = ReadEquationText().trimmed();
    bool accepted = true;
    if (!FEquationText.isEmpty()) {
        const TEquationAnalysis a = AnalyseEquationText(FEquationText);
        FEquationText = a.Equation;
        if (CountQuantityRows() == 0) {
            ResetCorrelationGrid();
            if (a.Message == 0)
                ResetQuantityGrid();
            if (a.Message != 0) {
                ShowRefusal(a.Message, a.Argument.isEmpty() ? QStringList() : QStringList { a.Argument },
                    RichEdit_PravaStranaRovnice);
                accepted = false;
            } else {
                if (Edit_SymbolVeliciny->text().trimmed().isEmpty())
                    Edit_SymbolVeliciny->setText(
                        QStringLiteral("Var") + QString::number(NextCounterValue(VariableCounter)));
                if (Edit_NazovBunky->text().trimmed().isEmpty())
                    Edit_NazovBunky->setText(GetString(155, { Edit_SymbolVeliciny->text() }));
                QString name;
                FQuantityNameBox->GetMarkupText(name);
                if (name.trimmed().isEmpty())
                    FQuantityNameBox->SetMarkupText(Edit_SymbolVeliciny->text());
                QList<TQuantityGridRow> rows;
                for (const QString& symbol : a.Symbols)
                    rows.append({ symbol, QString(), symbol, 0, 0, 0 });
                FillQuantityGrid(rows);
                FEquationSymbols = a.Symbols;
                FLastAcceptedEquation = FEquationText;
                FAnalysed = true;
                InitCorrelationGrid();
                Button_OK->setEnabled(true);
                Button_Recalculate->setEnabled(true);
                StringGrid_ZoznamVelicin_v_Rovnici->setFocus();
                StringGrid_ZoznamVelicin_v_Rovnici->setCurrentCell(0, 1);
            }
        } else if (a.Message == 154) {
            ShowRefusal(154, {}, RichEdit_PravaStranaRovnice);
            accepted = false;
        } else {
            FPendingEquation = FEquationText;
            if (FPendingEquation != FLastAcceptedEquation) {
                if (a.Message != 0) {
                    ShowRefusal(a.Message, a.Argument.isEmpty() ? QStringList() : QStringList { a.Argument },
                        RichEdit_PravaStranaRovnice);
                    accepted = false;
                } else if (SameSymbols(FEquationSymbols, a.Symbols)) {
                    FLastAcceptedEquation = FEquationText;
                    if (TCell* preview = PreviewCell()) {
                        QString normalised;
                        RemoveBlanks(Edit_SymbolVeliciny->text() + QLatin1Char('=') + FEquationText, normalised);
                        preview->FNormalizedEquation = normalised;
                        if (!Edit_HodnotaVeliciny->text().isEmpty())
                            preview->ComputeValueFromEquation();
                    }
                    FAnalysed = true;
                    Button_OK->setEnabled(true);
                    StringGrid_ZoznamVelicin_v_Rovnici->setFocus();
                    Button_RecalculateClick();
                } else {
                    // Another set of symbols: nothing changes; OK names the reason.
                    FSymbolsDiffer = true;
                    accepted = false;
                }
            }
        }
    }
    FLastAnalysedEquation = FEquationText;
    Timer1->start();
    return accepted;
}

// ---------------------------------------------------------------------------------
// Coverage and the previews

void TfOrvek5::ApplyCoverage()
{
    const int choice = ComboBox_Coverage->currentIndex();
    const int level = EffectiveEditLevel();
    if (choice >= 0 && choice <= 2) {
        FCoverageFactor = StudentTFactorText(FDegreesOfFreedomText, quint8(choice));
        Edit_ExpanznyKoeficient->setText(FormatSignificantText(4, FCoverageFactor));
        Edit_ExpanznyKoeficient->setReadOnly(true);
    } else {
        Edit_ExpanznyKoeficient->setReadOnly(level == 0 || (level == 1 && FCoverageFactorLock != 0));
        Edit_ExpanznyKoeficient->setText(FormatSignificantText(4, FCoverageFactor));
        if (FTracking)
            Edit_ExpanznyKoeficient->setFocus();
    }
    ApplyReadOnlyColors();
    ComputeExpandedPreview();
    ShowResults();
}

void TfOrvek5::ComputeExpandedPreview()
{
    double k = 0, u = 0;
    const QString kText = Edit_ExpanznyKoeficient->text();
    if (kText.isEmpty() || FCombinedUncertainty.isEmpty() || !TryStrToFloatNeutral(kText, k)
        || !TryStrToFloatNeutral(FCombinedUncertainty, u))
        return;
    // Without a cell (a new template) the previews make no engine calls.
    if (!FCell)
        return;
    // U from u rounded to the digits shown.
    QString expanded;
    try {
        EvaluateExpression(
            kText + QLatin1Char('*') + FormatSignificantText(SignificantDigits, FCombinedUncertainty), expanded);
    } catch (const std::exception&) {
        return;
    }
    FExpandedUncertainty = expanded;
    FRelativeExpandedUncertainty = FCell->FRelativeExpandedUncertainty;
}

void TfOrvek5::ShowResults()
{
    Panel_NekonecnoPreRel->hide();
    Edit_HodnotaRelativnejStandardnejNeistoty->show();
    for (QLineEdit* edit :
        { Edit_HodnotaVeliciny, Edit_HodnotaKombinovanejStandardnejNeistoty, Edit_HodnotaRelativnejStandardnejNeistoty,
            Edit_HodnotaRelativnejRozsirenejNeistoty, Edit_RozsirenaStdNeistota })
        edit->clear();
    if (!FValue.isEmpty() && !FCombinedUncertainty.isEmpty()) {
        QString value, expanded;
        FormatValueAndUncertainty(FValue, FExpandedUncertainty, value, expanded);
        Edit_HodnotaVeliciny->setText(value);
        Edit_RozsirenaStdNeistota->setText(expanded);
        if (FRelativeUncertainty == QLatin1String("Nekonecno")) {
            Panel_NekonecnoPreRel->show();
            Edit_HodnotaRelativnejStandardnejNeistoty->hide();
        } else {
            Edit_HodnotaRelativnejStandardnejNeistoty->setText(
                FormatSignificantText(SignificantDigits, FRelativeUncertainty) + QStringLiteral(" %"));
        }
        Edit_HodnotaKombinovanejStandardnejNeistoty->setText(
            FormatSignificantText(SignificantDigits, FCombinedUncertainty));
        const QString relativeExpanded = FormatSignificantText(SignificantDigits, FRelativeExpandedUncertainty);
        if (!relativeExpanded.isEmpty())
            Edit_HodnotaRelativnejRozsirenejNeistoty->setText(relativeExpanded + QStringLiteral(" %"));
    } else if (!FValue.isEmpty()) {
        Edit_HodnotaVeliciny->setText(FValue);
    } else if (!FCombinedUncertainty.isEmpty()) {
        Edit_HodnotaKombinovanejStandardnejNeistoty->setText(
            FormatSignificantText(SignificantDigits, FCombinedUncertainty));
    }
}

// ---------------------------------------------------------------------------------
// OK

void TfOrvek5::Button_OKClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;

    QString t = ReadEquationText().trimmed();
    if (t.startsWith(QLatin1Char('=')))
        t.remove(0, 1);
    FEquationText = t;
    const bool equationWritable = !RichEdit_PravaStranaRovnice->isReadOnly() && FEquationLock == 0;
    if (FEquationLock == 0) {
        FEquation = t;
        // A right-hand side that differs from the one last accepted is analysed again,
        // so no equation reaches the cell whose symbols its quantities do not match.
        const bool mustAnalyse = !FAnalysed || (equationWritable && t != FLastAcceptedEquation);
        if (!t.isEmpty() && mustAnalyse && !AnalyseEquation()) {
            if (FSymbolsDiffer)
                ShowRefusal(150, {}, RichEdit_PravaStranaRovnice);
            RichEdit_PravaStranaRovnice->setFocus();
            return;
        }
    }

    if (!Edit_SymbolVeliciny->isReadOnly()) {
        if (Edit_SymbolVeliciny->text().trimmed().isEmpty())
            Edit_SymbolVeliciny->setText(QStringLiteral("Var") + QString::number(NextCounterValue(VariableCounter)));
        FSymbol = Edit_SymbolVeliciny->text().trimmed();
    }
    if (!Edit_NazovBunky->isReadOnly()) {
        if (Edit_NazovBunky->text().isEmpty())
            Edit_NazovBunky->setText(GetString(155, { Edit_SymbolVeliciny->text() }));
        FCellName = Edit_NazovBunky->text();
    }
    if (!FQuantityNameBox->Edit->isReadOnly()) {
        QString name;
        FQuantityNameBox->GetMarkupText(name);
        if (name.trimmed().isEmpty())
            FQuantityNameBox->SetMarkupText(Edit_SymbolVeliciny->text());
        FQuantityNameBox->GetMarkupText(FQuantityName);
        FQuantityName = FQuantityName.trimmed();
    }
    if (!FUnitBox->Edit->isReadOnly())
        FUnitBox->GetMarkupText(FUnit);

    TEquationOkInput in;
    in.QuantityNameWritable = !FQuantityNameBox->Edit->isReadOnly();
    in.QuantityName = FQuantityName;
    in.SymbolWritable = !Edit_SymbolVeliciny->isReadOnly();
    in.Symbol = Edit_SymbolVeliciny->text();
    in.EquationWritable = equationWritable;
    in.Equation = t;
    in.EquationAtLoad = FEquationAtLoad;
    in.Analysed = FAnalysed;
    in.CoverageWritable = !Edit_ExpanznyKoeficient->isReadOnly();
    in.CoverageFactor = Edit_ExpanznyKoeficient->text().trimmed();
    const TEquationRefusal refusal = CheckEquationDialog(in);
    if (refusal.Message != 0) {
        QWidget* focus = nullptr;
        switch (refusal.Field) {
        case TEquationField::QuantityName:
            focus = FQuantityNameBox->Edit;
            break;
        case TEquationField::Symbol:
            focus = Edit_SymbolVeliciny;
            break;
        case TEquationField::Equation:
            focus = RichEdit_PravaStranaRovnice;
            break;
        case TEquationField::Coverage:
            focus = Edit_ExpanznyKoeficient;
            break;
        case TEquationField::None:
            break;
        }
        ShowRefusal(refusal.Message, refusal.Arguments, focus);
        return;
    }

    if (in.CoverageWritable)
        FCoverageFactor = in.CoverageFactor;
    if (FCorrelationMatrixLock == 0 && FMatrixEditable && CountQuantityRows() > 0) {
        if (!ValidateCorrelationMatrix())
            return;
        if (Button_Recalculate->isEnabled())
            Button_RecalculateClick();
        SerializeCorrelationMatrix();
    }
    if (!Comment->RichEdit_PopisBunky->isReadOnly() && Comment->RichEdit_PopisBunky->Modified()) {
        FComment = Comment->ReadRtf();
        FCommentChanged = true;
    }
    done(1);
}

// ---------------------------------------------------------------------------------
// Quantity name, unit and comment

void TfOrvek5::EditFormattedText(TEditText98* box, int labelText)
{
    Timer1->stop();
    std::unique_ptr<TfEditSpecialString> own;
    TfEditSpecialString* dialog = fEditSpecialString;
    if (!dialog) {
        own = std::make_unique<TfEditSpecialString>(this);
        dialog = own.get();
    }
    QString current;
    box->GetMarkupText(current);
    dialog->setWindowTitle(GetString(387));
    dialog->EditName->setText(GetString(labelText));
    dialog->LoadText(current);
    const OpenedFrom opened(dialog, this);
    if (dialog->exec() == 1) {
        box->SetMarkupText(dialog->FMarkupText);
        Button_OK->setEnabled(true);
        MarkModified();
    }
    Timer1->start();
}

void TfOrvek5::SpeedButton_VelicinaClick()
{
    EditFormattedText(FQuantityNameBox, 90);
}

void TfOrvek5::SpeedButton_JednotkaClick()
{
    EditFormattedText(FUnitBox, 89);
}

void TfOrvek5::SpeedButton_EditVelicinaJednotkaClick()
{
    QuantityListService* list = QuantityUnitList();
    if (!list)
        return;
    Timer1->stop();
    QString name, unit;
    if (list->PickQuantity(name, unit)) {
        FQuantityNameBox->SetMarkupText(name);
        FUnitBox->SetMarkupText(unit);
        FQuantityNameBox->GetMarkupText(FQuantityName);
        FUnitBox->GetMarkupText(FUnit);
        if (Edit_NazovBunky->text().isEmpty()) {
            QString plain;
            FQuantityNameBox->GetPlainText(plain);
            Edit_NazovBunky->setText(plain);
        }
        Button_OK->setEnabled(true);
        MarkModified();
    }
    RichEdit_PravaStranaRovnice->setFocus();
    Timer1->start();
}

void TfOrvek5::SpeedButton_EditorClick()
{
    Timer1->stop();
    if (Comment->OpenEditor(WithoutAccessKey(Label4->text()) + QLatin1Char(' ') + GetString(303) + QLatin1Char(' ')
            + Edit_NazovBunky->text()))
        MarkModified();
    Timer1->start();
}

// ---------------------------------------------------------------------------------
// Keys, timer and closing

bool TfOrvek5::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && watched == RichEdit_PravaStranaRovnice && RichEdit_PravaStranaRovnice->isEnabled()) {
            AnalyseEquation();
            return true;
        }
        if (enter && watched == Button_OK) {
            Button_OKClick();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier
            && watched == StringGrid_ZoznamVelicin_v_Rovnici && FGridEditable) {
            // The grid itself has the key, so no in-place editor is open.
            QTableWidgetItem* item = StringGrid_ZoznamVelicin_v_Rovnici->currentItem();
            if (item && (item->column() == 1 || item->column() == 2))
                item->setText(QString());
            return true;
        }
        if (key->key() == Qt::Key_Escape && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == this) {
            done(2);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfOrvek5::Timer1Timer()
{
    if (EffectiveEditLevel() == 0 || !FTracking)
        return;
    if (FQuantityNameBox->GetModified() || FUnitBox->GetModified()) {
        MarkModified();
        FQuantityNameBox->SetModified(false);
        FUnitBox->SetModified(false);
    }
    const bool equationTools = !(EffectiveEditLevel() == 1 && FEquationLock != 0);
    SpeedButton_StartAnalyzyRovnice->setEnabled(FModified && equationTools);
    StringGrid_ZoznamVelicin_v_Rovnici->setEnabled(FGridEditable && FAnalysed);
    StringGrid_CorrelationMatrix->setEnabled(FAnalysed);
    Button_OK->setEnabled(FModified);
}

void TfOrvek5::done(int result)
{
    FIsNewCell = false;
    if (result != 1 && FModified && FChangeCount > 0
        && MessageDlg(GetString(773), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    FTracking = false;
    Timer1->stop();
    QDialog::done(result);
}

} // namespace orvek

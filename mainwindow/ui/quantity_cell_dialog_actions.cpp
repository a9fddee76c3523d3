// TfOrvek9: OK, the value-type switch, the molar mass and its grid, the quantity name
// and unit, the comment editor, the timer and closing.

#include "mainwindow/ui/quantity_cell_dialog.h"

#include "core/common_vars.h"
#include "core/number_format.h"
#include "core/number_text.h"
#include "core/services.h"
#include "core/string_table.h"
#include "mainwindow/ui/cell_comment_box.h"
#include "mainwindow/ui/one_line_dialogs.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"
#include "platform/ui/rich_edit98.h"
#include "platform/ui/window_placement.h"
#include "richtext/ui/edit_text98.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace orvek {

namespace {

void ShowError(const QString& text)
{
    MessageDlg(text, TMsgDlgType::mtError, mbRetry);
}

QString Percent(const QString& relative)
{
    const QString r = FormatSignificantText(SignificantDigits, relative);
    return r.isEmpty() ? relative : r + QStringLiteral(" %");
}

// The relative standard uncertainty in percent as the evaluation writes it: infinite
// for a zero value, empty when a number is missing.
QString RelativeUncertaintyText(const QString& value, const QString& u)
{
    double v = 0, w = 0;
    if (value.trimmed().isEmpty() || !TryStrToFloatNeutral(u, w) || !TryStrToFloatNeutral(value, v))
        return QString();
    if (IsZeroText(value))
        return QStringLiteral("Nekonecno");
    return FloatToGeneralText(100.0L * std::abs(static_cast<long double>(w) / v));
}

} // namespace

void TfOrvek9::ConnectInputs()
{
    connect(Button_OK, &QPushButton::clicked, this, &TfOrvek9::Button_OKClick);
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(Button_Vypocet, &QPushButton::clicked, this, &TfOrvek9::Button_VypocetClick);
    connect(ComboBox_TypHodnoty, &QComboBox::currentIndexChanged, this, &TfOrvek9::ComboBox_TypHodnotyChange);
    connect(SpeedButton_Velicina, &QToolButton::clicked, this, &TfOrvek9::SpeedButton_VelicinaClick);
    connect(SpeedButton_Jednotka, &QToolButton::clicked, this, &TfOrvek9::SpeedButton_JednotkaClick);
    connect(SpeedButton_EditVelicinaJednotka, &QToolButton::clicked, this,
        &TfOrvek9::SpeedButton_EditVelicinaJednotkaClick);
    connect(Comment->SpeedButton_Editor, &QToolButton::clicked, this, &TfOrvek9::SpeedButton_EditorClick);
    connect(Comment->Fullwindow, &QAction::triggered, this, &TfOrvek9::SpeedButton_EditorClick);
    connect(Timer1, &QTimer::timeout, this, &TfOrvek9::Timer1Timer);

    connect(Edit_NazovBunky, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!FTracking)
            return;
        if (isActiveWindow())
            FCellName = text.trimmed();
        MarkModified();
    });
    connect(Edit_HodnotaVeliciny, &QLineEdit::textEdited, this, [this] {
        FValueEdited = true;
        MarkModified();
    });
    connect(Comment->RichEdit_PopisBunky, &QTextEdit::textChanged, this, [this] { MarkModified(); });
    // A changed formula or grid entry is a change to keep, so it enables OK as well as
    // the calculation.
    connect(Edit_SumarnyVzorec, &QLineEdit::textEdited, this, [this] {
        Button_Vypocet->setEnabled(EditMode != 0);
        FFormulaEdited = true;
        MarkModified();
    });
    connect(StringGrid_SumForm, &QTableWidget::itemChanged, this, [this] {
        if (FFillingGrid)
            return;
        Button_Vypocet->setEnabled(EditMode != 0);
        FGridEdited = true;
        MarkModified();
    });
    StringGrid_SumForm->installEventFilter(this);
}

void TfOrvek9::MarkModified()
{
    if (FTracking)
        FModified = true;
}

void TfOrvek9::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FEditingAllowed) {
        if (Edit_HodnotaVeliciny->isEnabled() && !Edit_HodnotaVeliciny->isReadOnly())
            Edit_HodnotaVeliciny->setFocus();
        if (ComboBox_TypHodnoty->currentIndex() == 2)
            StringGrid_SumForm->setCurrentCell(0, kSumAtomicWeight);
    }
    FLoading = false;
}

// ---------------------------------------------------------------------------------
// The grid

void TfOrvek9::SetGridRows(const QList<TSumFormulaRow>& rows)
{
    const bool filling = FFillingGrid;
    FFillingGrid = true;
    StringGrid_SumForm->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < kSumColumnCount; ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            Qt::ItemFlags flags = Qt::NoItemFlags;
            if (c == kSumAtomicWeight || c == kSumWeightUncertainty) {
                flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
                if (FGridEditable && FEditingAllowed)
                    flags |= Qt::ItemIsEditable;
            }
            item->setFlags(flags);
            StringGrid_SumForm->setItem(r, c, item);
        }
    }
    FFillingGrid = filling;
}

QList<TSumFormulaRow> TfOrvek9::GridRows() const
{
    QList<TSumFormulaRow> rows;
    for (int r = 0; r < StringGrid_SumForm->rowCount(); ++r) {
        TSumFormulaRow row;
        for (int c = 0; c < kSumColumnCount; ++c)
            if (const QTableWidgetItem* item = StringGrid_SumForm->item(r, c))
                row[c] = item->text();
        rows.append(row);
    }
    return rows;
}

QString TfOrvek9::BuildSumFormulaDetails() const
{
    return orvek::BuildSumFormulaDetails(GridRows());
}

void TfOrvek9::LoadSumFormulaDetails(const QString& Details)
{
    ResetSumFormulaGrid();
    SetGridRows(ParseSumFormulaDetails(Details));
}

bool TfOrvek9::SumFormulaGridKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!FEditingAllowed || (modifiers & Qt::ShiftModifier))
        return false;
    const int rows = StringGrid_SumForm->rowCount();
    if (rows == 0)
        return false;
    int row = std::max(0, StringGrid_SumForm->currentRow());
    int column = StringGrid_SumForm->currentColumn();
    if (column != kSumAtomicWeight && column != kSumWeightUncertainty)
        column = kSumAtomicWeight;
    // An open in-place editor is a child of the grid's viewport and has the focus.
    const QWidget* focus = QApplication::focusWidget();
    const bool editing = focus && focus->parentWidget() == StringGrid_SumForm->viewport();
    auto wrap = [rows](int r) { return (r + rows) % rows; };
    switch (key) {
    case Qt::Key_Left:
        if (editing)
            return false;
        if (column == kSumWeightUncertainty)
            column = kSumAtomicWeight;
        else {
            column = kSumWeightUncertainty;
            row = wrap(row - 1);
        }
        break;
    case Qt::Key_Right:
        if (editing)
            return false;
        if (column == kSumAtomicWeight)
            column = kSumWeightUncertainty;
        else {
            column = kSumAtomicWeight;
            row = wrap(row + 1);
        }
        break;
    case Qt::Key_Up:
        if (editing)
            return false;
        row = wrap(row - 1);
        break;
    case Qt::Key_Down:
        if (editing)
            return false;
        row = wrap(row + 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        row = wrap(row + 1);
        break;
    default:
        return false;
    }
    // Moving the current cell commits an open editor first.
    StringGrid_SumForm->setCurrentCell(row, column);
    StringGrid_SumForm->setFocus();
    return true;
}

bool TfOrvek9::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool inGrid = watched == StringGrid_SumForm
            || (watched->isWidgetType()
                && static_cast<QWidget*>(watched)->parentWidget() == StringGrid_SumForm->viewport());
        if (inGrid && SumFormulaGridKey(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------
// Value type

void TfOrvek9::ComboBox_TypHodnotyChange()
{
    const int type = ComboBox_TypHodnoty->currentIndex();
    if (type < 0)
        return;
    FValueType = quint8(type);
    if (FValueType == FLoadedValueType) {
        FQuantityNameBox->SetMarkupText(FLoadedQuantityName);
        FUnitBox->SetMarkupText(FLoadedUnit);
    }
    if (FValueType != FLoadedValueType || FValueType != 0) {
        for (QLineEdit* edit : { Edit_HodnotaKombinovanejStandardnejNeistoty, Edit_HodnotaRelativnejStandardnejNeistoty,
                 Edit_HodnotaVeliciny, Edit_PocetStupnovVolnosti })
            edit->clear();
        Panel_Nekonecno->hide();
        Edit_PocetStupnovVolnosti->show();
        if (FValueType == 2) {
            StringGrid_SumForm->setCurrentCell(0, kSumAtomicWeight);
        } else if (FPreviousValueType == 2) {
            FQuantityNameBox->SetMarkupText(QString());
            FUnitBox->SetMarkupText(QString());
        }
    }
    if (FValueType == 0 && FValueType == FLoadedValueType) {
        ShowValueAndUncertainty(FLoadedValue, FLoadedUncertainty, FLoadedRelativeUncertainty);
        Edit_PocetStupnovVolnosti->setText(FLoadedDegreesOfFreedom);
        const bool infinite = FLoadedDegreesOfFreedom == QLatin1String("Nekonecno");
        Panel_Nekonecno->setVisible(infinite);
        Edit_PocetStupnovVolnosti->setVisible(!infinite);
        FValueEdited = false;
    }
    if (FValueType != FLoadedValueType)
        MarkModified();
    FPreviousValueType = FValueType;
    // The value edit follows the edit level for the new type (read-only for a molar
    // mass), so a return to the loaded type makes it writable again.
    ApplyEditLevel();
    ApplyReadOnlyColors();
    ApplyValueTypeLayout();
}

// ---------------------------------------------------------------------------------
// Molar mass

int TfOrvek9::ComputeMolarMass()
{
    if (!Button_Vypocet->isEnabled())
        return 0;
    for (QLineEdit* edit : { Edit_HodnotaVeliciny, Edit_HodnotaKombinovanejStandardnejNeistoty,
             Edit_HodnotaRelativnejStandardnejNeistoty })
        edit->clear();
    FValue.clear();
    FCombinedUncertainty.clear();
    FRelativeUncertainty.clear();

    const QString formula = Edit_SumarnyVzorec->text();
    if (formula.trimmed().isEmpty()) {
        ResetSumFormulaGrid();
        return 1;
    }
    QList<TSumFormulaRow> rows = GridRows();
    const bool noElements
        = std::none_of(rows.begin(), rows.end(), [](const TSumFormulaRow& row) { return !row[kSumSymbol].isEmpty(); });
    TMolarMass mass;
    if (FFormulaEdited || noElements) {
        ResetSumFormulaGrid();
        if (!AnalyseSumFormulaRows(formula, rows, mass, FAnalyserMessage)) {
            ShowError(FAnalyserMessage.isEmpty() ? GetString(308) : FAnalyserMessage);
            Edit_SumarnyVzorec->setFocus();
            return 2;
        }
        StringGrid_SumForm->setEnabled(true);
        SetGridRows(rows);
    } else {
        int badRow = 0, badColumn = 0;
        const QList<TSumFormulaRow> typed = rows;
        const bool ok = orvek::ComputeMolarMass(rows, mass, badRow, badColumn);
        SetGridRows(rows);
        if (!ok) {
            ShowError(GetString(179, { typed[badRow][badColumn] }));
            StringGrid_SumForm->setCurrentCell(badRow, badColumn);
            StringGrid_SumForm->setFocus();
            return 3;
        }
    }
    FValue = mass.Value;
    FCombinedUncertainty = mass.Uncertainty;
    FRelativeUncertainty = mass.Relative;
    ShowValueAndUncertainty(FValue, FCombinedUncertainty, FRelativeUncertainty);
    Button_Vypocet->setEnabled(false);
    FFormulaEdited = FGridEdited = false;
    return 0;
}

void TfOrvek9::Button_VypocetClick()
{
    if (ComputeMolarMass() == 1)
        ShowError(GetString(308));
}

// ---------------------------------------------------------------------------------
// OK

void TfOrvek9::Button_OKClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    if (FEditingAllowed) {
        const int type = ComboBox_TypHodnoty->currentIndex();
        if (type == 0) {
            const QString value = Edit_HodnotaVeliciny->text().trimmed();
            double x = 0;
            if (!value.isEmpty() && !TryStrToFloatNeutral(value, x)) {
                ShowError(GetString(179, { value }));
                Edit_HodnotaVeliciny->setFocus();
                return;
            }
            // The edits show the loaded value and u rounded; unless the value was typed,
            // the unrounded texts stay.
            if (FValueEdited || FLoadedValueType != 0) {
                Edit_HodnotaVeliciny->setText(value);
                if (FLoadedValueType != 0) {
                    FCombinedUncertainty.clear();
                    FRelativeUncertainty.clear();
                }
                FValue = value;
                FRelativeUncertainty = RelativeUncertaintyText(FValue, FCombinedUncertainty);
                Edit_HodnotaRelativnejStandardnejNeistoty->setText(Percent(FRelativeUncertainty));
            }
        } else if (type == 1) {
            for (QLineEdit* edit : { Edit_HodnotaKombinovanejStandardnejNeistoty,
                     Edit_HodnotaRelativnejStandardnejNeistoty, Edit_PocetStupnovVolnosti })
                edit->clear();
            FValue.clear();
            FCombinedUncertainty.clear();
            FRelativeUncertainty.clear();
            const QString value = Edit_HodnotaVeliciny->text();
            double x = 0;
            if (!value.trimmed().isEmpty() && !TryStrToFloatNeutral(value, x)) {
                ShowError(GetString(179, { value.trimmed() }));
                Edit_HodnotaVeliciny->setFocus();
                return;
            }
            FValue = value;
        } else {
            const int result = ComputeMolarMass();
            if (result == 0) {
                FSumFormula = Edit_SumarnyVzorec->text();
                FSumFormulaDetails = BuildSumFormulaDetails();
            } else if (result == 1) {
                FSumFormula.clear();
                FSumFormulaDetails.clear();
            } else {
                return;
            }
        }
        if (!Edit_NazovBunky->isReadOnly())
            FCellName = Edit_NazovBunky->text().trimmed();
        if (Edit_NazovBunky->text().trimmed().isEmpty()) {
            QString plain;
            FQuantityNameBox->GetPlainText(plain);
            Edit_NazovBunky->setText(plain);
            FCellName = plain;
        }
        if (Comment->RichEdit_PopisBunky->Modified() && !Comment->RichEdit_PopisBunky->isReadOnly()) {
            FComment = Comment->ReadRtf();
            FCommentChanged = true;
        }
        FQuantityNameBox->GetMarkupText(FQuantityName);
        FUnitBox->GetMarkupText(FUnit);
    }
    done(1);
}

// ---------------------------------------------------------------------------------
// Quantity name and unit

void TfOrvek9::EditFormattedText(TEditText98* box, int labelText)
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
    if (dialog->exec() == 1 && dialog->FMarkupText != current) {
        box->SetMarkupText(dialog->FMarkupText);
        box->Edit->setFocus();
        MarkModified();
    }
    Timer1->start();
}

void TfOrvek9::SpeedButton_VelicinaClick()
{
    EditFormattedText(FQuantityNameBox, 90);
}

void TfOrvek9::SpeedButton_JednotkaClick()
{
    EditFormattedText(FUnitBox, 89);
}

void TfOrvek9::SpeedButton_EditVelicinaJednotkaClick()
{
    QuantityListService* list = QuantityUnitList();
    if (!FEditingAllowed || !list)
        return;
    Timer1->stop();
    QString name, unit;
    if (list->PickQuantity(name, unit)) {
        QString currentName, currentUnit;
        FQuantityNameBox->GetMarkupText(currentName);
        FUnitBox->GetMarkupText(currentUnit);
        if (name != currentName || unit != currentUnit) {
            FQuantityNameBox->SetMarkupText(name);
            FUnitBox->SetMarkupText(unit);
            FQuantityName = name;
            FUnit = unit;
            if (Edit_NazovBunky->text().isEmpty()) {
                QString plain;
                FQuantityNameBox->GetPlainText(plain);
                Edit_NazovBunky->setText(plain);
            }
            FQuantityNameBox->Edit->setFocus();
            MarkModified();
        }
    }
    Timer1->start();
}

void TfOrvek9::SpeedButton_EditorClick()
{
    Timer1->stop();
    if (Comment->OpenEditor(WithoutAccessKey(Label4->text()) + QLatin1Char(' ') + GetString(303) + QLatin1Char(' ')
            + Edit_NazovBunky->text()))
        MarkModified();
    Timer1->start();
}

// ---------------------------------------------------------------------------------
// Timer and closing

void TfOrvek9::Timer1Timer()
{
    if (!FTracking)
        return;
    if (ComboBox_TypHodnoty->currentIndex() == 2 && FGridEditable)
        StringGrid_SumForm->setEnabled(!Edit_SumarnyVzorec->text().isEmpty());
    if (FQuantityNameBox->GetModified() || FUnitBox->GetModified())
        MarkModified();
    Button_OK->setEnabled(FModified);
}

void TfOrvek9::done(int result)
{
    if (result != 1 && FModified && MessageDlg(GetString(773), TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes)
        return;
    FTracking = false;
    Timer1->stop();
    QDialog::done(result);
}

} // namespace orvek

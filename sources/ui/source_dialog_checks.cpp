// The two checks of the inputs before u is computed, in a first form: the required
// check wants the page's main input or readings, the value check wants inputs of a
// kind the method can compute (a number, a percentage, a formula; a condition on the
// estimate only) and readings that are numbers. Every refusal names the input and
// puts the focus on it.

#include "sources/ui/source_dialog.h"

#include "core/number_text.h"
#include "core/string_table.h"
#include "engine/source_uncertainty.h"
#include "platform/dialogs.h"
#include "platform/ui/f1_book.h"
#include "sources/chart_data.h"
#include "sources/source_computation.h"
#include "sources/source_record.h"
#include "sources/ui/reading_grid.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace orvek {

namespace {

constexpr int kNotANumberText = 179;
constexpr int kMissingInputText = 267;
constexpr int kNoReadingsText = 317;
constexpr int kOtherQuantitiesText = 941;

void Refuse(int text, std::initializer_list<FormatArg> args, QWidget* focus)
{
    MessageDlg(GetString(text, args), TMsgDlgType::mtError, mbRetry);
    if (focus)
        focus->setFocus();
}

// The trimmed text written back into the edit, and whether it is empty.
bool Empty(QLineEdit* edit)
{
    const QString t = edit->text().trimmed();
    if (t != edit->text())
        edit->setText(t);
    return t.isEmpty();
}

bool HasReading(const QTableWidget& grid)
{
    for (const QString& cell : GridColumn(grid, 1, MaxSourceReadings))
        if (!cell.trimmed().isEmpty())
            return true;
    return false;
}

// The first non-empty cell of columns 1..Columns that is no number; false when all are.
bool FindBadReading(const QTableWidget& grid, int columns, int& badCol, int& badRow)
{
    for (int row = 1; row <= MaxSourceReadings && row < grid.rowCount(); ++row)
        for (int col = 1; col <= columns; ++col) {
            const QString t = GridCell(grid, col, row).trimmed();
            double value = 0;
            if (!t.isEmpty() && !TryStrToFloatNeutral(t, value)) {
                badCol = col;
                badRow = row;
                return true;
            }
        }
    return false;
}

} // namespace

bool TfOrvek6::CheckRequiredInputs(bool ShowMessages)
{
    FHandsMean = false;
    auto missing = [ShowMessages](QLineEdit* edit, QLabel* label) {
        if (!Empty(edit))
            return false;
        if (ShowMessages)
            Refuse(kMissingInputText, { label->text() }, edit);
        return true;
    };
    auto noReadings = [ShowMessages](QTableWidget* grid) {
        if (HasReading(*grid))
            return false;
        if (ShowMessages)
            Refuse(kNoReadingsText, {}, grid);
        return true;
    };
    switch (FInput.TSN) {
    case 0:
        return !missing(Page1.Edit_KvalifikovanyOdhad, Page1.Label12);
    case 1:
        return !missing(Page2.Edit_IntervalSpolahlivosti_2_1, Page2.Label2);
    case 2:
        return !missing(Page2.Edit_IntervalSpolahlivosti_2_2, Page2.Label5);
    case 3:
        return !missing(Page2.Edit_StandardnaNeistota_2_3, Page2.Label11);
    case 4:
        return !missing(Page2.Edit_RozsirenaNeistota_2_4, Page2.Label9);
    case 5:
        return !missing(Page2.Edit_IntervalSpolahlivosti_2_5, Page2.Label37);
    case 10: {
        const bool shape = missing(Page2.Edit_TvarovyFaktor, Page2.Label22);
        const bool width = missing(Page2.Edit_PolosirkaDistribucie, Page2.Label23);
        return !shape && !width;
    }
    case 8:
        return !missing(Page5.Edit_StandardnaOdchylka_5, Page5.Label35);
    case 6:
        return !noReadings(Page3.StringGrid_VlastneMeranie_3);
    case 7:
        return !noReadings(Page4.StringGrid_VlastneMeranie_4);
    case 9:
        return !noReadings(Page6.StringGrid_VlastneMeranie_6);
    case 13:
        return !noReadings(Page9.StringGrid_VlastneMeranie_9);
    case 14:
        return !noReadings(Page10.StringGrid_VlastneMeranie_10);
    case 11:
    case 12:
        if (ChartData.ChartPointCount > 0)
            return true;
        if (ShowMessages)
            Refuse(kNoReadingsText, {}, nullptr);
        return false;
    default:
        return true;
    }
}

bool TfOrvek6::CheckInputValues()
{
    // A main input must be of a kind its method computes. An unparsable formula and a
    // RANGE text are refused here on every page, as is a condition off the estimate.
    auto checkKind = [this](QLineEdit* edit, bool conditionAllowed) {
        long double value = 0;
        quint8 kind = kInputInvalid;
        const QString text = edit->text().trimmed();
        ClassifyInputValue(text, value, kind);
        FInputKind = kind;
        if (kind == kInputExpression) {
            Refuse(kOtherQuantitiesText, { text, QStringLiteral("\r\r") }, edit);
            return false;
        }
        const bool accepted = kind == kInputNumber || kind == kInputPercent
            || (kind == kInputFormula && IsEvaluableFormula(text)) || (conditionAllowed && kind == kInputCondition);
        if (!accepted) {
            Refuse(kNotANumberText, { text }, edit);
            return false;
        }
        return true;
    };
    auto checkNumber = [](QLineEdit* edit) {
        long double value = 0;
        const QString text = edit->text().trimmed();
        if (TryStrToExtendedNeutral(text, value))
            return true;
        Refuse(kNotANumberText, { text }, edit);
        return false;
    };
    auto checkGrid = [](QTableWidget* grid, int columns) {
        int col = 0, row = 0;
        if (!FindBadReading(*grid, columns, col, row))
            return true;
        grid->setCurrentCell(row, col);
        Refuse(kNotANumberText, { GridCell(*grid, col, row).trimmed() }, grid);
        return false;
    };
    switch (FInput.TSN) {
    case 0:
        return checkKind(Page1.Edit_KvalifikovanyOdhad, true);
    case 1:
        return checkKind(Page2.Edit_IntervalSpolahlivosti_2_1, false);
    case 2:
        return checkKind(Page2.Edit_IntervalSpolahlivosti_2_2, false);
    case 3:
        return checkKind(Page2.Edit_StandardnaNeistota_2_3, false);
    case 4:
        return checkKind(Page2.Edit_RozsirenaNeistota_2_4, false);
    case 5:
        return checkKind(Page2.Edit_IntervalSpolahlivosti_2_5, false);
    case 8:
        return checkKind(Page5.Edit_StandardnaOdchylka_5, false);
    case 10: {
        const bool shape = checkNumber(Page2.Edit_TvarovyFaktor);
        const bool width = checkNumber(Page2.Edit_PolosirkaDistribucie);
        return shape && width;
    }
    case 7:
        if (!Page4.Edit_StandardnaOdchylkaPopulacie->text().trimmed().isEmpty()
            && !checkNumber(Page4.Edit_StandardnaOdchylkaPopulacie))
            return false;
        return checkGrid(Page4.StringGrid_VlastneMeranie_4, 1);
    case 6:
        return checkGrid(Page3.StringGrid_VlastneMeranie_3, 1);
    case 9:
        return checkGrid(Page6.StringGrid_VlastneMeranie_6, 1);
    case 13:
        return checkGrid(Page9.StringGrid_VlastneMeranie_9, 1);
    case 14:
        return checkGrid(Page10.StringGrid_VlastneMeranie_10, 2);
    default:
        return true;
    }
}

} // namespace orvek

// The reading grids of pages 3, 4, 6, 9 and 10: their drawing and keys, what an edited
// reading makes stale, the copy buttons, and pasting a column of readings from the
// clipboard through the auxiliary table window.

#include "sources/ui/source_dialog.h"

#include "core/clipboard_text.h"
#include "core/number_text.h"
#include "core/string_table.h"
#include "core/ui/grid_routines.h"
#include "platform/dialogs.h"
#include "platform/ui/window_placement.h"
#include "sources/pasted_readings.h"
#include "sources/source_record.h"
#include "sources/ui/import_list.h"
#include "sources/ui/reading_grid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <memory>

namespace orvek {

namespace {

constexpr int kReplaceReadingText = 660;
constexpr int kNotReadingText = 661;
// A reading cell that would break the list of readings ("@" or a line break).
constexpr int kReadingListCharText = 22555;
// A paste that would put a reading below the last row the statistics read.
constexpr int kPasteTooLongText = 22556;
constexpr int kPasteHintText = 659;
constexpr int kInsertResult = 1, kOverwriteResult = 5;

} // namespace

QTableWidget* TfOrvek6::ReadingGrid(int page) const
{
    switch (page) {
    case 3:
        return Page3.StringGrid_VlastneMeranie_3;
    case 4:
        return Page4.StringGrid_VlastneMeranie_4;
    case 6:
        return Page6.StringGrid_VlastneMeranie_6;
    case 9:
        return Page9.StringGrid_VlastneMeranie_9;
    default:
        return Page10.StringGrid_VlastneMeranie_10;
    }
}

void TfOrvek6::ConnectReadingGrids()
{
    const std::pair<int, QToolButton*> copies[] = { { 3, Page3.SpeedButton_Copy_VlastneMeranie_3 },
        { 4, Page4.SpeedButton_Copy_VlastneMeranie_4 }, { 6, Page6.SpeedButton_Copy_VlastneMeranie_6 },
        { 9, Page9.SpeedButton_Copy_VlastneMeranie_9 }, { 10, Page10.SpeedButton_Copy_VlastneMeranie_10 } };
    for (const auto& [page, button] : copies)
        connect(button, &QToolButton::clicked, this, [this, page = page] { CopyReadings(page); });
    const std::pair<int, QToolButton*> pastes[]
        = { { 3, Page3.SpeedButton_Paste_VlastneMeranie_3 }, { 4, Page4.SpeedButton_Paste_VlastneMeranie_4 },
              { 6, Page6.SpeedButton_Paste_VlastneMeranie_6 }, { 9, Page9.SpeedButton_Paste_VlastneMeranie_9 } };
    for (const auto& [page, button] : pastes)
        connect(button, &QToolButton::clicked, this,
            [this, page = page, button = button] { PasteReadings(ReadingGrid(page), button->toolTip()); });
    connect(Page10.SpeedButton_Paste_VlastneMeranie_10, &QToolButton::clicked, this,
        [this] { PasteReadingPairs(Page10.StringGrid_VlastneMeranie_10, GetString(kPasteHintText)); });
    connect(Page1.SpeedButton_EditConditions, &QToolButton::clicked, this, &TfOrvek6::SpeedButton_EditConditionsClick);

    for (int page : { 3, 4, 6, 9, 10 }) {
        QTableWidget* grid = ReadingGrid(page);
        SetReadingGridDrawing(
            *grid, [this] { return FLoaded; },
            [grid](int row, int col, const QString&) {
                MessageDlg(GetString(kReadingListCharText, { row }), TMsgDlgType::mtError, mbRetry);
                grid->setCurrentCell(row, col);
            });
        SetReadingGridKeys(*grid,
            [this, page](int key, Qt::KeyboardModifiers modifiers) { return ReadingGridKey(page, key, modifiers); });
        connect(grid, &QTableWidget::itemChanged, this, [this, page](QTableWidgetItem* item) {
            // The load and the paste fill grids themselves; only the user's edits count.
            if (FLoaded && item->row() >= 1 && item->column() >= 1)
                InvalidateReadingPage(page);
        });
    }
}

void TfOrvek6::InvalidateReadingPage(int page)
{
    auto clear = [](std::initializer_list<QLineEdit*> edits) {
        for (QLineEdit* edit : edits)
            edit->clear();
    };
    switch (page) {
    case 3:
        InvalidateResult();
        clear({ Page3.Edit_PocetstupnovVolnosti_3, Page3.Edit_AritmetickyPriemer_3, Page3.Edit_StandardnaOdchylka_3,
            Page3.Edit_StandardnaOdchylkaPriemeru_3 });
        FInput.PSV_3.clear();
        FInput.AP_3.clear();
        FInput.SO_3.clear();
        FInput.SOPr_3.clear();
        break;
    case 4:
        if (!FLoaded)
            return;
        InvalidateResult();
        clear({ Page4.Edit_PocetstupnovVolnosti_4, Page4.Edit_StandardnaOdchylkaPriemeru_4,
            Page4.Edit_AritmetickyPriemer_4 });
        FInput.SOPr_4.clear();
        FInput.AP_4.clear();
        break;
    case 6:
        clear({ Page6.Edit_PocetstupnovVolnosti_6, Page6.Edit_AritmetickyPriemer_6, Page6.Edit_StandardnaOdchylka_6 });
        FInput.PSV_6.Text.clear();
        FInput.AP_6.clear();
        FInput.SO_6.clear();
        break;
    case 9:
        clear({ Page9.Edit_PocetstupnovVolnosti_9, Page9.Edit_AritmetickyPriemer_9, Page9.Edit_StandardnaOdchylka_9 });
        FInput.PSV_9.Text.clear();
        FInput.AP_9.clear();
        FInput.SO_9.clear();
        break;
    default:
        InvalidateResult();
        break;
    }
    Button_Recalculate->setEnabled(true);
}

void TfOrvek6::ClearSeriesResults()
{
    for (int page : { 3, 4, 6, 9 })
        InvalidateReadingPage(page);
    InvalidateResult();
}

void TfOrvek6::CopyReadings(int page)
{
    QTableWidget* grid = ReadingGrid(page);
    // Page 9 holds variances as typed; the others their canonical numbers.
    const QString text = ReadingsCopyText(GridColumn(*grid, 1, grid->rowCount() - 1), page != 9);
    if (!text.isEmpty())
        SetClipboardText(text);
}

bool TfOrvek6::ReadingGridKey(int page, int key, Qt::KeyboardModifiers modifiers)
{
    QTableWidget* grid = ReadingGrid(page);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!FEditable && page != 4 && page != 10)
            return false;
        if (grid->currentRow() < grid->rowCount() - 1)
            grid->setCurrentCell(grid->currentRow() + 1, std::max(1, grid->currentColumn()));
        return true;
    }
    const Qt::KeyboardModifiers held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_Delete && held == Qt::NoModifier) {
        // A grid the level or a lock keeps from editing keeps its readings.
        if (!FEditable || !GridEditing(*grid))
            return true;
        const int row = grid->currentRow(), col = grid->currentColumn();
        if (row >= 1 && col >= 1) {
            SetGridCell(*grid, col, row, QString());
            InvalidateReadingPage(page);
        }
        return true;
    }
    return false;
}

void TfOrvek6::AppendReadingRow(QTableWidget* Grid)
{
    int row = 0;
    AppendStringGridRow(*Grid, row);
    auto* label = new QTableWidgetItem(QString::number(row) + QLatin1Char('.'));
    label->setFlags(Qt::ItemIsEnabled);
    label->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Grid->setItem(row, 0, label);
    SetGridCell(*Grid, 1, row, QString());
}

void TfOrvek6::PasteReadings(QTableWidget* Grid, const QString& Caption)
{
    PasteColumn(Grid, Caption, false);
}

void TfOrvek6::PasteReadingPairs(QTableWidget* Grid, const QString& Caption)
{
    PasteColumn(Grid, Caption, true);
}

void TfOrvek6::PasteColumn(QTableWidget* Grid, const QString& Caption, bool Pairs)
{
    if (!ClipboardHasText() || !GridEditing(*Grid))
        return;
    std::unique_ptr<TfImportList> own;
    TfImportList* list = fImportList;
    if (!list) {
        own = std::make_unique<TfImportList>(this);
        list = own.get();
    }
    list->ResetTable();
    const QString text = GetClipboardText().trimmed();
    if (text.isEmpty())
        return;
    const TPastedTable table = SplitPastedReadings(text);
    list->FillTable(table);
    list->FSelectedColumn = 1;
    list->Prepare(Caption);

    const int current = std::max(1, Grid->currentRow());
    const int col = std::max(1, Grid->currentColumn());
    if (table.Rows.size() == 1 && table.ColumnCount == 1) {
        // One value goes into the current cell without the table window.
        const QString value = list->CellText(1, 1);
        double number = 0;
        if (!TryStrToFloatNeutral(value, number)) {
            MessageDlg(GetString(kNotReadingText, { value }), TMsgDlgType::mtWarning, mbCancel);
            list->ResetTable();
            return;
        }
        const QString old = GridCell(*Grid, col, current);
        if (!old.trimmed().isEmpty()
            && MessageDlg(GetString(kReplaceReadingText, { old, value }), TMsgDlgType::mtConfirmation, mbYesNo)
                != mrYes) {
            list->ResetTable();
            return;
        }
        SetGridCell(*Grid, col, current, value);
        ClearSeriesResults();
        list->ResetTable();
        Grid->setFocus();
        return;
    }

    const OpenedFrom opened(list, this);
    const int result = list->exec();
    if (result == kInsertResult || result == kOverwriteResult) {
        const bool insert = result == kInsertResult;
        const int chosen = list->FSelectedColumn;
        const int count = list->LastRow();
        QStringList values, uncertainties;
        for (int p = 1; p <= count; ++p) {
            values << list->CellText(chosen, p).trimmed();
            uncertainties << (Pairs ? list->CellText(chosen + 1, p).trimmed() : QString());
        }
        // The statistics read rows 1 to MaxSourceReadings only: a paste that would push
        // a reading past them is refused before anything is written.
        const int lastRow = LastRowAfterPaste(insert, current, count, LastFilledRow(*Grid));
        int badRow = 0;
        for (int p = 0; p < count && badRow == 0; ++p)
            if (!FitsReadingList(uncertainties[p]))
                badRow = p + 1;
        if (lastRow > MaxSourceReadings) {
            MessageDlg(GetString(kPasteTooLongText, { MaxSourceReadings, lastRow }), TMsgDlgType::mtError, mbRetry);
        } else if (badRow > 0) {
            MessageDlg(GetString(kReadingListCharText, { current + badRow - 1 }), TMsgDlgType::mtError, mbRetry);
        } else {
            ClearSeriesResults();
            // The results were cleared once; the rows written need no invalidation each.
            const QSignalBlocker quiet(Grid);
            const bool hide = count > 9;
            if (hide)
                Grid->hide();
            int row = current;
            for (int p = 1; p <= count; ++p) {
                if (insert)
                    InsertStringGridRow(row, *Grid, 1);
                SetGridCell(*Grid, 1, row, values[p - 1]);
                if (Pairs)
                    SetGridCell(*Grid, 2, row, uncertainties[p - 1]);
                if (p < count) {
                    if (row == Grid->rowCount() - 1)
                        AppendReadingRow(Grid);
                    ++row;
                }
            }
            Grid->setCurrentCell(current, col);
        }
    }
    Grid->show();
    list->ResetTable();
    Grid->setFocus();
}

} // namespace orvek

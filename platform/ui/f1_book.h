#pragma once
// The spreadsheet control of the control-chart point tables (TF1Book): a grid whose
// rows and columns count from 1, with column headings and widths, hidden columns, a
// number format per cell that decides the text shown, a current cell and a selection,
// fill patterns, cut, copy and paste as tab-separated text, and a protection that
// refuses editing, pasting, cutting and Delete on locked cells.

#include <QColor>
#include <QTableWidget>
#include <functional>
#include <vector>

namespace orvek {

class TF1Book : public QTableWidget {
    Q_OBJECT
public:
    explicit TF1Book(QWidget* parent = nullptr);

    // The text a cell shows for its text under a number format; the program installs
    // one that knows its number masks and date format. Without it a cell shows its text.
    using TFormatter = std::function<QString(const QString& text, const QString& numberFormat)>;
    static void SetFormatter(TFormatter formatter);

    int MaxRow() const { return rowCount(); }
    void SetMaxRow(int rows) { setRowCount(rows); }
    int MaxCol() const { return columnCount(); }
    void SetMaxCol(int cols);

    QString ColText(int col) const;
    void SetColText(int col, const QString& text);
    // Widths in 1/256 of the width of the digit "0" of the grid's font.
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    // The alignment of the cells of a column that have none of their own.
    void SetColAlignment(int col, Qt::Alignment alignment);
    bool ColHidden(int col) const { return isColumnHidden(col - 1); }
    void SetColHidden(int col, bool hidden) { setColumnHidden(col - 1, hidden); }

    // The text of a cell as typed, and as shown under its number format.
    QString TextRC(int row, int col) const;
    void SetTextRC(int row, int col, const QString& text);
    QString FormattedTextRC(int row, int col) const;
    QString NumberFormatRC(int row, int col) const;

    // The current cell.
    int Row() const { return currentRow() + 1; }
    int Col() const { return currentColumn() + 1; }
    void SetActiveCell(int row, int col) { setCurrentCell(row - 1, col - 1); }

    // The selection (rows and columns from 1); NumberFormat is that of the current cell,
    // SetNumberFormat gives every cell of the selection the format.
    void SetSelection(int row1, int col1, int row2, int col2);
    QString NumberFormat() const { return NumberFormatRC(Row(), Col()); }
    void SetNumberFormat(const QString& format);
    // The format for the cells of a range, leaving the selection and the current cell
    // (and an edit in progress) alone.
    void SetNumberFormatRange(int row1, int col1, int row2, int col2, const QString& format);

    // The first selection's rows and columns; the current cell when nothing is selected.
    int SelStartRow() const;
    int SelEndRow() const;
    int SelStartCol() const;
    int SelEndCol() const;

    // Fill of the selection: pattern 1 solid in Colour, 0 none.
    void SetPattern(int pattern, const QColor& colour = Qt::white);
    QColor FillRC(int row, int col) const;

    // Every cell is locked until the selection is unlocked; while protection is on, a
    // locked cell refuses editing, paste, cut and Delete. Hidden is kept for the caller.
    void SetProtection(bool locked, bool hidden);
    bool LockedRC(int row, int col) const;
    bool EnableProtection() const { return protected_; }
    void SetEnableProtection(bool enabled);

    // Ends the current cell's editing, keeping what was typed (through OnEndEdit).
    void EndEdit();
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

    // The selection as tab-separated text on the clipboard; Cut then clears it.
    void EditCopy();
    void EditCut();
    // The clipboard's tab-separated text written from the selection's first cell. A text
    // that would pass the last row or column is refused whole, as is one over a
    // locked cell of a protected table. True when pasted.
    bool EditPaste();
    bool PasteText(const QString& text);
    // Delete: the selection's texts cleared (refused on locked cells of a protected table).
    bool EditClear();

    // Events: the start of an edit (Cancel refuses it); its end with the typed text,
    // which the handler may replace (Cancel keeps the old text); any change of cells by
    // the user (OnStartRecalc first, then OnModified); a key before the table handles it.
    std::function<void(bool& Cancel)> OnStartEdit;
    std::function<void(QString& Text, bool& Cancel)> OnEndEdit;
    std::function<void()> OnModified;
    std::function<void()> OnStartRecalc;
    std::function<void(int Key, Qt::KeyboardModifiers Shift)> OnKeyDown;
    // Asked for every cell of a paste before anything is written; False refuses the
    // whole paste (the handler tells why).
    std::function<bool(int Row, int Col, const QString& Text)> OnPasteCell;

    // How a refusal is told: Protected, or PasteTooLarge with the row and column the
    // paste would end at. The program installs one that shows a message; without it a
    // refusal is silent.
    enum class TRefusal { Protected, PasteTooLarge };
    using TRefusalHandler = std::function<void(TRefusal refusal, int row, int col)>;
    static void SetRefusalHandler(TRefusalHandler handler);

    // Opens the editor of a cell unless protection refuses it or OnStartEdit cancels it.
    using QTableWidget::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTableWidgetItem* ItemAt(int row, int col);
    bool RangeLocked(int row1, int col1, int row2, int col2) const;
    void Refuse(TRefusal refusal, int row = 0, int col = 0);
    void NotifyModified();
    friend class TF1BookDelegate;
    std::vector<Qt::Alignment> colAlignment_;
    bool protected_ = false;
};

} // namespace orvek

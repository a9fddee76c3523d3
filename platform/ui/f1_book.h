#pragma once
// The spreadsheet control of the control-chart point tables (TF1Book): a grid whose
// rows and columns count from 1, with column headings and widths, hidden columns, a
// number format per cell that decides the text shown, a current cell and a selection,
// and a protection that refuses editing.

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

    // While protected, no cell can be edited.
    bool EnableProtection() const { return protected_; }
    void SetEnableProtection(bool enabled);

private:
    QTableWidgetItem* ItemAt(int row, int col);
    friend class TF1BookDelegate;
    std::vector<Qt::Alignment> colAlignment_;
    int selRow1_ = 1, selCol1_ = 1, selRow2_ = 1, selCol2_ = 1;
    bool protected_ = false;
};

} // namespace orvek

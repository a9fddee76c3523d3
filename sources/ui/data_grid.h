#pragma once
// A string grid whose columns carry a value type, display and edit masks, colours,
// fonts, titles, pick lists or an edit button, and a read-only flag. Its in-place
// editor rewrites a typed number or date in its standard form when the cell is left,
// and the keyboard appends, inserts and deletes rows where the options allow it.
//
// As a string grid, it addresses cells as (column, row) with row 0 the title row when
// the grid has one (FixedRows 1, shown as the header); RowCount counts that row too.

#include "sources/ui/data_grid_columns.h"

#include <QImage>
#include <QTableWidget>
#include <functional>

namespace orvek {

class TDataGridInplaceEdit;

enum TDataGridOption : unsigned { dgoAppendRow = 1u << 0, dgoInsertRow = 1u << 1, dgoDeleteRow = 1u << 2 };
using TDataGridOptions = unsigned;

// The string grid's own options.
enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRowSelect = 1u << 4,
    goColSizing = 1u << 5,
    goColMoving = 1u << 6,
    goEditing = 1u << 7,
    goAlwaysShowEditor = 1u << 8,
    goThumbTracking = 1u << 9,
};
using TGridOptions = unsigned;

class TDataGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TDataGrid(QWidget* parent = nullptr);
    ~TDataGrid() override;

    // --- the string grid ---
    int ColCount() const { return columnCount(); }
    void SetColCount(int count);
    int RowCount() const { return rowCount() + FixedRows(); }
    void SetRowCount(int count);
    int FixedRows() const { return fixedRows_; }
    // 0 or 1: the title row.
    void SetFixedRows(int rows);
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    int Col() const { return currentColumn(); }
    int Row() const { return currentRow() < 0 ? -1 : currentRow() + FixedRows(); }
    void SetCurrentCell(int col, int row);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);
    void SetColWidth(int col, int width) { setColumnWidth(col, width); }
    QColor FixedColor() const;
    void SetFixedColor(const QColor& color);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on) { defaultDrawing_ = on; }
    // Moves a column with its cells and its column item.
    void MoveColumn(int from, int to);

    // --- what the typed grid adds ---
    TDataGridColumns& Columns() { return columns_; }
    const TDataGridColumns& Columns() const { return columns_; }
    void SetColumns(const TDataGridColumns& columns) { columns_.Assign(columns); }
    TDataGridOptions DataGridOptions() const { return dataGridOptions_; }
    void SetDataGridOptions(TDataGridOptions options) { dataGridOptions_ = options; }
    int RowCountMin() const { return rowCountMin_; }
    void SetRowCountMin(int count);
    int SelectedIndex() const { return Col(); }
    void SetSelectedIndex(int index);
    const QImage& BGImage() const { return bgImage_; }
    void SetBGImage(const QImage& image);
    QString Version() const { return QStringLiteral("2.0"); }
    void SetVersion(const QString&) { }

    std::function<void(TDataGrid*)> BeforeInsert;
    std::function<void(TDataGrid*)> BeforeDelete;
    std::function<void(TDataGrid*)> OnEditButtonClick;
    std::function<void(TDataGrid*, int col, int row, QString& mask)> OnGetEditMask;
    std::function<void(TDataGridInplaceEdit*)> OnUserChanged;
    // Called after a cell is drawn (the string grid's cell-drawing event).
    std::function<void(TDataGrid*, QPainter*, int col, int row, const QRect& rect)> OnDrawCell;

    // The row operations the keys run (each only with its option set by the keys).
    void AppendRow();
    void InsertRow();
    void DeleteRow();
    // Runs the row operation of a key, if any; True when the key was one.
    bool HandleRowKey(QKeyEvent* event, bool fromEditor);

    // The edit mask of a cell: the column's, then OnGetEditMask.
    QString GetEditMask(int col, int row);
    // The editor while a cell is edited; null otherwise.
    TDataGridInplaceEdit* InplaceEditor() const { return editor_; }
    // Called by the column settings when a column changed.
    void ColumnChanged(TColumn* column);
    // The colour of cells without a column colour.
    QColor GridColor() const;
    // True while the grid allows editing.
    bool CanEdit() const { return options_ & goEditing; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TDataGridDelegate;
    friend class TDataGridColumns;
    void SyncColumnItems();
    void UpdateTitle(int col);
    void SetEditor(TDataGridInplaceEdit* editor) { editor_ = editor; }
    void ClearRow(int qtRow);

    TDataGridColumns columns_;
    TDataGridOptions dataGridOptions_ = 0;
    TGridOptions options_ = 0;
    int rowCountMin_ = 0;
    int fixedRows_ = 1;
    int updateCount_ = 0;
    bool defaultDrawing_ = true;
    QImage bgImage_;
    QStringList fixedTexts_;
    TDataGridInplaceEdit* editor_ = nullptr;
};

} // namespace orvek

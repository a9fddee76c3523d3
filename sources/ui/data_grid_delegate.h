#pragma once
// Draws the typed grid's cells by their columns and runs its in-place editor: the
// editor takes its style from the column when it takes up a cell, and a modified text
// is normalised by the column's format when the cell is left.

#include <QStyledItemDelegate>

namespace orvek {

class TDataGrid;

class TDataGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TDataGridDelegate(TDataGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TDataGrid* grid_;
};

} // namespace orvek

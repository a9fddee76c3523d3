#pragma once
// How the sum-formula grid of the quantity dialog draws its cells: the header and the
// row numbers on the button face, the data on a teal ground with the editable columns
// white (navy when current), and the numbers rounded for display and written as mark-up.

#include <QStyledItemDelegate>
#include <functional>

namespace orvek {

class TSumFormulaGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Editable tells whether the grid's entries may be edited now.
    TSumFormulaGridDelegate(std::function<bool()> Editable, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Enter in the editor is the dialog's (it moves on, and the grid commits the editor
    // it leaves): the delegate does not queue a commit of its own for an editor the grid
    // has closed by then.
    bool eventFilter(QObject* editor, QEvent* event) override;

    // The text a data cell shows for the stored texts of its row.
    static QString DisplayText(const QModelIndex& index);

private:
    std::function<bool()> editable_;
};

} // namespace orvek

#pragma once
// The cell editor of the typed data grid: a line edit, with a button at its right edge
// for an ellipsis column (the grid's OnEditButtonClick) or a pick-list column (its
// drop-down list), and the drop-down list itself, which searches as the user types.

#include "sources/incremental_search.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

namespace orvek {

class TDataGrid;

// The drop-down list of a pick-list column: a tool window on top of everything, with
// a border and no parent window, shown without taking the focus.
class TPopupListbox : public QListWidget {
    Q_OBJECT
public:
    TPopupListbox();
    // A typed character extends the search; Backspace and Esc clear it.
    void SearchKey(QKeyEvent* event);
    const QString& SearchText() const { return search_.Text(); }
    void ClearSearch() { search_.Clear(); }

Q_SIGNALS:
    // The mouse was released over the list (True) or outside it (False).
    void MouseReleased(bool inside);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TIncrementalSearch search_;
};

class TDataGridInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class TEditStyle { esSimple, esEllipsis, esPickList };

    TDataGridInplaceEdit(TDataGrid* grid, QWidget* parent);
    ~TDataGridInplaceEdit() override;

    TDataGrid* Grid() const { return grid_; }
    TEditStyle EditStyle() const { return style_; }
    // Sets the style, the read-only state and the pick list from the cell's column.
    void Configure(TEditStyle style, bool readOnly, const QStringList& pickList, int dropDownRows, int maxLength);
    // The text the cell had when editing began.
    const QString& StartText() const { return startText_; }
    void SetStartText(const QString& text) { startText_ = text; }
    bool ListVisible() const { return list_ && list_->isVisible(); }
    TPopupListbox* PickList() const { return list_; }
    int ButtonWidth() const { return buttonWidth_; }
    QRect ButtonRect() const;
    bool Pressed() const { return pressed_; }

    void DropDown();
    // Closes the list; Accept writes the selected entry into the editor.
    void CloseUp(bool accept);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void EditButtonClick();
    void UpdateMargins();
    void TrackList(const QPoint& globalPos);

    TDataGrid* grid_;
    TEditStyle style_ = TEditStyle::esSimple;
    QStringList pickList_;
    int dropDownRows_ = 7;
    QPointer<TPopupListbox> list_;
    bool tracking_ = false, pressed_ = false;
    int buttonWidth_ = 16;
    QString startText_;
};

} // namespace orvek

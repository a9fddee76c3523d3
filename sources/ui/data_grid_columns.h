#pragma once
// The column settings of the typed data grid. A column's colour, font, alignment and
// read-only flag, and its title's caption, alignment and font, count only once they
// were set: until then the getters give the defaults that follow the grid, and
// assigning one column to another copies only what was set (the drop-down rows,
// button style, pick list and popup menu are always copied).

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QMenu;

namespace orvek {

class TDataGrid;
class TDataGridColumns;
class TColumn;

enum class TColumnFormat { cfString, cfNumber, cfDate };
enum class TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

class TColumnTitle {
public:
    explicit TColumnTitle(TColumn& column)
        : column_(column)
    {
    }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    Qt::Alignment Alignment() const;
    void SetAlignment(Qt::Alignment alignment);
    QFont Font() const;
    void SetFont(const QFont& font);
    void Assign(const TColumnTitle& other);
    void RestoreDefaults();

private:
    TColumn& column_;
    QString caption_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QFont font_;
    bool alignmentSet_ = false, fontSet_ = false;
};

class TColumn {
public:
    explicit TColumn(TDataGridColumns& collection);
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    TDataGrid* Grid() const;
    int Index() const;

    TColumnFormat Format() const { return format_; }
    // Changing the format clears the display mask, which belongs to the old format.
    void SetFormat(TColumnFormat format);
    QString DisplayMask() const { return displayMask_; }
    void SetDisplayMask(const QString& mask);
    // An input mask in the syntax of QLineEdit::setInputMask.
    QString EditMask() const { return editMask_; }
    void SetEditMask(const QString& mask);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    Qt::Alignment Alignment() const;
    void SetAlignment(Qt::Alignment alignment);
    QColor Color() const;
    void SetColor(const QColor& color);
    QFont Font() const;
    void SetFont(const QFont& font);
    // The colour of the font.
    QColor FontColor() const;
    void SetFontColor(const QColor& color);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    const QStringList& PickList() const { return pickList_; }
    void SetPickList(const QStringList& list);
    bool LimitToList() const { return limitToList_; }
    void SetLimitToList(bool limit);
    int DropDownRows() const { return dropDownRows_; }
    void SetDropDownRows(int rows);
    TColumnButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(TColumnButtonStyle style);
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu);
    TColumnTitle& Title() { return title_; }
    const TColumnTitle& Title() const { return title_; }
    // The column's index when it was added at run time.
    int InternalCol() const { return internalCol_; }
    void SetInternalCol(int col) { internalCol_ = col; }

    void Assign(const TColumn& other);
    // Clears every value that was set, the title's caption and the pick list.
    void RestoreDefaults();
    // Repaints what shows the column.
    void Changed();

private:
    TDataGridColumns& collection_;
    TColumnTitle title_;
    TColumnFormat format_ = TColumnFormat::cfString;
    QString displayMask_, editMask_;
    int maxLength_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QColor color_, fontColor_;
    QFont font_;
    bool readOnly_ = false;
    bool alignmentSet_ = false, colorSet_ = false, fontSet_ = false, readOnlySet_ = false;
    QStringList pickList_;
    bool limitToList_ = false;
    int dropDownRows_ = 7;
    TColumnButtonStyle buttonStyle_ = TColumnButtonStyle::cbsAuto;
    QMenu* popupMenu_ = nullptr;
    int internalCol_ = -1;
};

// The columns of one grid, as many as the grid has columns.
class TDataGridColumns {
public:
    explicit TDataGridColumns(TDataGrid* grid)
        : grid_(grid)
    {
    }
    TDataGrid* Grid() const { return grid_; }
    int Count() const { return int(items_.size()); }
    TColumn* Items(int index) const;
    TColumn* operator[](int index) const { return Items(index); }
    int IndexOf(const TColumn* column) const;
    // Adds a column at the end; the grid gets as many columns as there are items.
    TColumn* Add();
    // Removes a column; the grid loses one column.
    void Delete(int index);
    void Move(int from, int to);
    // Copies the settings of Other's columns, as many as Other has.
    void Assign(const TDataGridColumns& other);

    // Used by the grid when its column count changed: appends or removes items at the
    // end without changing the grid's columns.
    void SetItemCount(int count);

private:
    TDataGrid* grid_;
    std::vector<std::unique_ptr<TColumn>> items_;
};

} // namespace orvek

#include "sources/ui/data_grid_columns.h"

#include "sources/ui/data_grid.h"

#include <QApplication>
#include <QPalette>

namespace orvek {

// --- TColumnTitle ---

void TColumnTitle::SetCaption(const QString& caption)
{
    caption_ = caption;
    column_.Changed();
}

Qt::Alignment TColumnTitle::Alignment() const
{
    return alignmentSet_ ? alignment_ : Qt::AlignLeft;
}

void TColumnTitle::SetAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    alignmentSet_ = true;
    column_.Changed();
}

QFont TColumnTitle::Font() const
{
    if (fontSet_)
        return font_;
    return column_.Grid() ? column_.Grid()->font() : QApplication::font();
}

void TColumnTitle::SetFont(const QFont& font)
{
    font_ = font;
    fontSet_ = true;
    column_.Changed();
}

void TColumnTitle::Assign(const TColumnTitle& other)
{
    caption_ = other.caption_;
    if (other.alignmentSet_)
        SetAlignment(other.alignment_);
    if (other.fontSet_)
        SetFont(other.font_);
    column_.Changed();
}

void TColumnTitle::RestoreDefaults()
{
    caption_.clear();
    alignmentSet_ = fontSet_ = false;
}

// --- TColumn ---

TColumn::TColumn(TDataGridColumns& collection)
    : collection_(collection)
    , title_(*this)
{
}

TDataGrid* TColumn::Grid() const
{
    return collection_.Grid();
}

int TColumn::Index() const
{
    return collection_.IndexOf(this);
}

void TColumn::SetFormat(TColumnFormat format)
{
    if (format == format_)
        return;
    format_ = format;
    displayMask_.clear();
    Changed();
}

void TColumn::SetDisplayMask(const QString& mask)
{
    displayMask_ = mask;
    Changed();
}

void TColumn::SetEditMask(const QString& mask)
{
    editMask_ = mask;
    Changed();
}

void TColumn::SetMaxLength(int length)
{
    maxLength_ = std::max(length, 0);
    Changed();
}

Qt::Alignment TColumn::Alignment() const
{
    return alignmentSet_ ? alignment_ : Qt::AlignLeft;
}

void TColumn::SetAlignment(Qt::Alignment alignment)
{
    alignment_ = alignment;
    alignmentSet_ = true;
    Changed();
}

QColor TColumn::Color() const
{
    if (colorSet_)
        return color_;
    return Grid() ? Grid()->GridColor() : QApplication::palette().color(QPalette::Base);
}

void TColumn::SetColor(const QColor& color)
{
    color_ = color;
    colorSet_ = true;
    Changed();
}

QFont TColumn::Font() const
{
    if (fontSet_)
        return font_;
    return Grid() ? Grid()->font() : QApplication::font();
}

void TColumn::SetFont(const QFont& font)
{
    font_ = font;
    fontSet_ = true;
    Changed();
}

QColor TColumn::FontColor() const
{
    if (fontSet_ && fontColor_.isValid())
        return fontColor_;
    return Grid() ? Grid()->palette().color(QPalette::Text) : QApplication::palette().color(QPalette::Text);
}

void TColumn::SetFontColor(const QColor& color)
{
    if (!fontSet_)
        font_ = Font();
    fontColor_ = color;
    fontSet_ = true;
    Changed();
}

bool TColumn::ReadOnly() const
{
    if (readOnlySet_)
        return readOnly_;
    return !(Grid() && Grid()->CanEdit());
}

void TColumn::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    readOnlySet_ = true;
    Changed();
}

void TColumn::SetPickList(const QStringList& list)
{
    pickList_ = list;
    Changed();
}

void TColumn::SetLimitToList(bool limit)
{
    limitToList_ = limit;
    Changed();
}

void TColumn::SetDropDownRows(int rows)
{
    dropDownRows_ = std::max(rows, 0);
    Changed();
}

void TColumn::SetButtonStyle(TColumnButtonStyle style)
{
    buttonStyle_ = style;
    Changed();
}

void TColumn::SetPopupMenu(QMenu* menu)
{
    popupMenu_ = menu;
}

void TColumn::Assign(const TColumn& other)
{
    if (&other == this)
        return;
    format_ = other.format_;
    displayMask_ = other.displayMask_;
    editMask_ = other.editMask_;
    maxLength_ = other.maxLength_;
    limitToList_ = other.limitToList_;
    if (other.alignmentSet_)
        SetAlignment(other.alignment_);
    if (other.colorSet_)
        SetColor(other.color_);
    if (other.fontSet_) {
        font_ = other.font_;
        fontColor_ = other.fontColor_;
        fontSet_ = true;
    }
    if (other.readOnlySet_)
        SetReadOnly(other.readOnly_);
    dropDownRows_ = other.dropDownRows_;
    buttonStyle_ = other.buttonStyle_;
    pickList_ = other.pickList_;
    popupMenu_ = other.popupMenu_;
    title_.Assign(other.title_);
    Changed();
}

void TColumn::RestoreDefaults()
{
    alignmentSet_ = colorSet_ = fontSet_ = readOnlySet_ = false;
    fontColor_ = QColor();
    title_.RestoreDefaults();
    pickList_.clear();
    buttonStyle_ = TColumnButtonStyle::cbsAuto;
    Changed();
}

void TColumn::Changed()
{
    if (TDataGrid* grid = Grid())
        grid->ColumnChanged(this);
}

// --- TDataGridColumns ---

TColumn* TDataGridColumns::Items(int index) const
{
    return index >= 0 && index < Count() ? items_[size_t(index)].get() : nullptr;
}

int TDataGridColumns::IndexOf(const TColumn* column) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[size_t(i)].get() == column)
            return i;
    return -1;
}

TColumn* TDataGridColumns::Add()
{
    items_.push_back(std::make_unique<TColumn>(*this));
    TColumn* column = items_.back().get();
    if (grid_) {
        column->SetInternalCol(Count() - 1);
        grid_->updateCount_++;
        if (grid_->ColCount() < Count())
            grid_->setColumnCount(Count());
        grid_->updateCount_--;
        grid_->UpdateTitle(Count() - 1);
    }
    return column;
}

void TDataGridColumns::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    if (grid_ && grid_->ColCount() > 0) {
        grid_->updateCount_++;
        grid_->removeColumn(std::min(index, grid_->ColCount() - 1));
        if (index < grid_->fixedTexts_.size())
            grid_->fixedTexts_.removeAt(index);
        grid_->updateCount_--;
    }
}

void TDataGridColumns::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    auto item = std::move(items_[size_t(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

void TDataGridColumns::Assign(const TDataGridColumns& other)
{
    if (&other == this)
        return;
    while (Count() < other.Count())
        Add();
    while (Count() > other.Count())
        Delete(Count() - 1);
    for (int i = 0; i < Count(); ++i)
        items_[size_t(i)]->Assign(*other.items_[size_t(i)]);
}

void TDataGridColumns::SetItemCount(int count)
{
    while (Count() > count)
        items_.pop_back();
    while (Count() < count)
        items_.push_back(std::make_unique<TColumn>(*this));
}

} // namespace orvek

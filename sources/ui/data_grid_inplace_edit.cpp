#include "sources/ui/data_grid_inplace_edit.h"

#include "sources/data_grid_text.h"
#include "sources/ui/data_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

namespace orvek {

namespace {

constexpr int kItemHeight = 11;

} // namespace

// --- TPopupListbox ---

TPopupListbox::TPopupListbox()
    : QListWidget(nullptr)
{
    setObjectName("PopupListbox");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::Box);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
}

void TPopupListbox::SearchKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Escape) {
        search_.Clear();
        return;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text[0].isPrint())
        return;
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << item(i)->text();
    const int found = search_.Type(text[0], items);
    if (found >= 0)
        setCurrentRow(found);
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    Q_EMIT MouseReleased(rect().contains(event->position().toPoint()));
}

// --- TDataGridInplaceEdit ---

TDataGridInplaceEdit::TDataGridInplaceEdit(TDataGrid* grid, QWidget* parent)
    : QLineEdit(parent)
    , grid_(grid)
{
    setFrame(false);
    setMouseTracking(true);
    buttonWidth_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    UpdateMargins();
}

TDataGridInplaceEdit::~TDataGridInplaceEdit()
{
    delete list_;
}

void TDataGridInplaceEdit::Configure(
    TEditStyle style, bool readOnly, const QStringList& pickList, int dropDownRows, int maxLength)
{
    style_ = style;
    pickList_ = pickList;
    dropDownRows_ = dropDownRows;
    setReadOnly(readOnly);
    setMaxLength(maxLength > 0 ? maxLength : 32767);
    if (style_ == TEditStyle::esPickList && !list_) {
        list_ = new TPopupListbox;
        connect(list_, &TPopupListbox::MouseReleased, this, [this](bool inside) { CloseUp(inside); });
    }
    UpdateMargins();
    update();
}

QRect TDataGridInplaceEdit::ButtonRect() const
{
    if (style_ == TEditStyle::esSimple)
        return {};
    return QRect(width() - buttonWidth_, 0, buttonWidth_, height());
}

void TDataGridInplaceEdit::UpdateMargins()
{
    // The text starts 2 pixels from the left and top and ends 2 pixels before the button.
    const int right = style_ == TEditStyle::esSimple ? 2 : buttonWidth_ + 2;
    setTextMargins(2, 2, right, 0);
}

void TDataGridInplaceEdit::DropDown()
{
    if (style_ != TEditStyle::esPickList || !list_ || ListVisible())
        return;
    list_->clear();
    list_->addItems(pickList_);
    list_->setPalette(palette());
    list_->setFont(font());
    list_->ClearSearch();
    const int rows = std::min<int>(int(pickList_.size()), dropDownRows_);
    const int itemHeight = std::max(kItemHeight, list_->sizeHintForRow(0));
    int width = this->width();
    for (int i = 0; i < list_->count(); ++i)
        width = std::max(width, list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 4);
    list_->resize(width, itemHeight * std::max(rows, 1) + 4);
    const int current = int(pickList_.indexOf(text()));
    list_->setCurrentRow(current >= 0 ? current : 0);
    // Below the editor, or above it when it would pass the bottom of the screen.
    QPoint at = mapToGlobal(QPoint(0, height()));
    const QScreen* screen = this->screen();
    if (screen && at.y() + list_->height() > screen->geometry().bottom())
        at = mapToGlobal(QPoint(0, -list_->height()));
    list_->move(at);
    list_->show();
    update();
}

void TDataGridInplaceEdit::CloseUp(bool accept)
{
    if (!ListVisible())
        return;
    list_->hide();
    tracking_ = pressed_ = false;
    if (accept && list_->currentItem()) {
        setText(list_->currentItem()->text());
        setModified(true);
    }
    update();
}

void TDataGridInplaceEdit::EditButtonClick()
{
    if (grid_ && grid_->OnEditButtonClick)
        grid_->OnEditButtonClick(grid_);
}

void TDataGridInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (style_ == TEditStyle::esPickList && alt && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
        if (ListVisible())
            CloseUp(true);
        else
            DropDown();
        return;
    }
    if (ListVisible()) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            CloseUp(true);
            return;
        case Qt::Key_Escape:
            list_->SearchKey(event);
            CloseUp(false);
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End: {
            QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
            QApplication::sendEvent(list_, &copy);
            return;
        }
        default:
            list_->SearchKey(event);
            return;
        }
    }
    if (style_ == TEditStyle::esEllipsis && (event->modifiers() & Qt::ControlModifier)
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        EditButtonClick(); // and the Enter is not typed
        return;
    }
    if (isReadOnly() && style_ == TEditStyle::esPickList && !event->text().isEmpty() && event->text()[0].isPrint()) {
        const int found = PickListIndexOfFirstChar(event->text()[0], pickList_);
        if (found >= 0) {
            setText(pickList_[found]);
            setModified(true);
        }
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDataGridInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && ButtonRect().contains(event->position().toPoint())) {
        if (style_ == TEditStyle::esPickList) {
            if (ListVisible())
                CloseUp(false);
            else {
                DropDown();
                tracking_ = true;
            }
        }
        pressed_ = true;
        update();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TDataGridInplaceEdit::TrackList(const QPoint& globalPos)
{
    if (!ListVisible())
        return;
    const QPoint local = list_->viewport()->mapFromGlobal(globalPos);
    if (QListWidgetItem* item = list_->itemAt(local))
        list_->setCurrentItem(item);
}

void TDataGridInplaceEdit::mouseMoveEvent(QMouseEvent* event)
{
    // Over the button the cursor is the arrow.
    setCursor(ButtonRect().contains(event->position().toPoint()) ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (tracking_) {
        TrackList(event->globalPosition().toPoint());
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void TDataGridInplaceEdit::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (tracking_ && ListVisible()) {
        tracking_ = false;
        const QPoint inList = list_->mapFromGlobal(event->globalPosition().toPoint());
        if (list_->rect().contains(inList))
            CloseUp(true);
        update();
        return;
    }
    tracking_ = false;
    if (wasPressed && style_ == TEditStyle::esEllipsis && ButtonRect().contains(event->position().toPoint())) {
        update();
        EditButtonClick();
        return;
    }
    update();
    QLineEdit::mouseReleaseEvent(event);
}

void TDataGridInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click on the button does nothing more; one in a read-only editor with a
    // button acts as the button.
    if (ButtonRect().contains(event->position().toPoint()))
        return;
    if (isReadOnly() && style_ == TEditStyle::esEllipsis) {
        EditButtonClick();
        return;
    }
    if (isReadOnly() && style_ == TEditStyle::esPickList) {
        DropDown();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void TDataGridInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    CloseUp(false);
    QLineEdit::focusOutEvent(event);
}

void TDataGridInplaceEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    update();
}

void TDataGridInplaceEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (style_ == TEditStyle::esSimple)
        return;
    QPainter painter(this);
    const QRect button = ButtonRect();
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = button;
    option.state |= pressed_ ? QStyle::State_Sunken : QStyle::State_Raised;
    if (style_ == TEditStyle::esEllipsis) {
        // A push button with three dots, drawn flat and shifted while pressed.
        if (!pressed_)
            style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        else
            painter.fillRect(button, palette().color(QPalette::Button));
        painter.setPen(palette().color(QPalette::ButtonText));
        const QPoint centre = button.center() + (pressed_ ? QPoint(1, 1) : QPoint());
        for (int dx : { -4, 0, 4 })
            painter.fillRect(centre.x() + dx - 1, centre.y(), 2, 2, palette().color(QPalette::ButtonText));
    } else {
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = button.adjusted(3, 3, -3, -3);
        if (pickList_.isEmpty())
            arrow.state &= ~QStyle::State_Enabled;
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    }
    Q_UNUSED(event);
}

} // namespace orvek

#include "core/ui/valid_edit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QPointer>
#include <QTimer>

namespace orvek {

namespace {
constexpr const char* kCancelProperty = "orvekCancelButton";
}

TValidCustomEdit::TValidCustomEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void TValidCustomEdit::MarkAsCancel(QWidget* button)
{
    button->setProperty(kCancelProperty, true);
}

bool TValidCustomEdit::Validate()
{
    empty_ = text().isEmpty();
    valid_ = (AllowEmpty && empty_) ? true : IsValidText();
    if (!valid_) {
        if (BeepOnInvalid)
            QApplication::beep();
        if (OnInvalid)
            OnInvalid(this, valid_);
    }
    return valid_;
}

void TValidCustomEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    QWidget* next = QApplication::focusWidget();
    // Leaving for a Cancel button, or because the window goes away, checks nothing.
    if (next && next->property(kCancelProperty).toBool())
        return;
    if (!window()->isVisible() || event->reason() == Qt::ActiveWindowFocusReason
        || event->reason() == Qt::PopupFocusReason)
        return;
    if (Validate())
        return;
    // The focus goes back once the focus change in progress is over, and only while
    // the window is still open and no Cancel button took the focus meanwhile.
    QPointer<TValidCustomEdit> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self || !self->window()->isVisible() || !self->isEnabled())
            return;
        QWidget* now = QApplication::focusWidget();
        if (now && now->property(kCancelProperty).toBool())
            return;
        self->setFocus(Qt::OtherFocusReason);
    });
}

TIntegerEdit::TIntegerEdit(QWidget* parent)
    : TValidCustomEdit(parent)
{
}

bool TIntegerEdit::IsValidText()
{
    bool ok = false;
    const int v = text().trimmed().toInt(&ok, 10);
    if (!ok)
        return false;
    value_ = v;
    setText(QString::number(v));
    return !UseBounds || (v >= min_ && v <= max_);
}

int TIntegerEdit::GetValue()
{
    if (!Validate())
        throw EConvertError("Invalid validation text");
    return value_;
}

void TIntegerEdit::SetValue(int value)
{
    if (UseBounds && (value < min_ || value > max_))
        throw ERangeError("Value out of bound");
    value_ = value;
    setText(QString::number(value));
}

void TIntegerEdit::SetMinValue(int value)
{
    if (UseBounds && value_ < value)
        throw ERangeError("Value out of bound");
    min_ = value;
}

void TIntegerEdit::SetMaxValue(int value)
{
    if (UseBounds && value_ > value)
        throw ERangeError("Value out of bound");
    max_ = value;
}

} // namespace orvek

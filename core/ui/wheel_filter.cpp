#include "core/ui/wheel_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace orvek {

TWheelToArrowKeys::TWheelToArrowKeys(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("WheelToArrowKeys"));
}

bool TWheelToArrowKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y();
    QWidget* target = QApplication::focusWidget();
    if (delta == 0 || !target)
        return QObject::eventFilter(watched, event);
    // A turn the other way starts counting afresh.
    if ((pending_ > 0 && delta < 0) || (pending_ < 0 && delta > 0))
        pending_ = 0;
    pending_ += delta;
    while (pending_ >= kDeltaPerKey || pending_ <= -kDeltaPerKey) {
        const int key = pending_ > 0 ? Qt::Key_Up : Qt::Key_Down;
        pending_ += pending_ > 0 ? -kDeltaPerKey : kDeltaPerKey;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
        // The key may have closed or moved the focus.
        target = QApplication::focusWidget();
        if (!target)
            break;
    }
    // Accepted, or the application would offer the same turn to every parent widget.
    wheel->accept();
    return true;
}

} // namespace orvek

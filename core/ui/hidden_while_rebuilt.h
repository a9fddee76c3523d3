#pragma once
// A view rebuilt hidden, under the hourglass, so that its boxes are not repainted one
// by one; shown again and the cursor restored when the scope ends.

#include <QApplication>
#include <QWidget>

namespace orvek {

class HiddenWhileRebuilt {
public:
    explicit HiddenWhileRebuilt(QWidget* view)
        : view_(view)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        view_->setVisible(false);
    }
    ~HiddenWhileRebuilt()
    {
        view_->setVisible(true);
        QApplication::restoreOverrideCursor();
    }
    HiddenWhileRebuilt(const HiddenWhileRebuilt&) = delete;
    HiddenWhileRebuilt& operator=(const HiddenWhileRebuilt&) = delete;

private:
    QWidget* view_;
};

} // namespace orvek

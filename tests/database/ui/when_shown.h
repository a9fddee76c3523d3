#pragma once
// Drives a modal dialog from a test: the action runs on the dialog of type T as soon as
// it is the active modal window.

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace orvek::test {

template <typename T> void WhenShown(std::function<void(T&)> action)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, poll] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            action(*dialog);
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

} // namespace orvek::test

#pragma once
// The mouse wheel as arrow keys, application-wide: a vertical turn of the wheel becomes
// an Up-arrow key (turned away from the user) or a Down-arrow key sent to the widget
// that has the keyboard focus, one key per notch (120 units of angle, partial turns
// add up), and the wheel event itself goes no further. Horizontal turns, and turns
// while no widget has the focus, pass unchanged.

#include <QObject>

namespace orvek {

class TWheelToArrowKeys : public QObject {
    Q_OBJECT
public:
    explicit TWheelToArrowKeys(QObject* parent = nullptr);

    static constexpr int kDeltaPerKey = 120;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int pending_ = 0; // vertical angle not yet turned into keys, in eighths of a degree
};

} // namespace orvek

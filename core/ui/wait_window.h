#pragma once
// The shared wait window: a small animation, the caller's message in Panel1 and, while
// WaitProgressActive is set, the percentage WaitProgressPosition of WaitProgressTotal
// in the caption. Esc sets WaitCancelled.

#include <QDialog>

class QLabel;
class QTimer;

namespace orvek {

class TWaitAnimation;

// "  (p %)" for Position of Total, p rounded down; empty for a Total of 0 or less.
QString WaitProgressCaption(int position, int total);

class TfWait : public QDialog {
    Q_OBJECT
public:
    explicit TfWait(QWidget* parent = nullptr);

    QLabel* Panel1 = nullptr;
    TWaitAnimation* AnimatePicture = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

inline TfWait* fWait = nullptr;

} // namespace orvek

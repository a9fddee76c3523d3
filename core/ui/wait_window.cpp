#include "core/ui/wait_window.h"

#include "core/common_vars.h"
#include "core/ui/ui_text.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace orvek {

// A magnifying glass circling over a stack of pages, 48 x 49 pixels.
class TWaitAnimation : public QWidget {
public:
    explicit TWaitAnimation(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(48, 49);
        timer_.setInterval(90);
        connect(&timer_, &QTimer::timeout, this, [this] {
            frame_ = (frame_ + 1) % 16;
            update();
        });
    }
    void Start() { timer_.start(); }
    void Stop() { timer_.stop(); }
    bool Active() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 2; i >= 0; --i) {
            p.setPen(QColor(90, 90, 90));
            p.setBrush(i == 0 ? QColor(255, 255, 255) : QColor(225, 225, 225));
            p.drawRect(QRectF(6 + 3 * i, 14 - 3 * i, 24, 30));
        }
        p.setPen(QColor(150, 150, 150));
        for (int line = 0; line < 5; ++line)
            p.drawLine(QPointF(10, 20 + 5 * line), QPointF(26, 20 + 5 * line));
        const double angle = frame_ * 2 * 3.14159265358979 / 16;
        const QPointF centre(24 + 9 * std::cos(angle), 24 + 7 * std::sin(angle));
        p.setPen(QPen(QColor(40, 40, 40), 3));
        p.drawLine(centre + QPointF(5, 5), centre + QPointF(12, 12));
        p.setPen(QPen(QColor(30, 60, 120), 2));
        p.setBrush(QColor(170, 210, 255, 150));
        p.drawEllipse(centre, 7, 7);
    }

private:
    QTimer timer_;
    int frame_ = 0;
};

QString WaitProgressCaption(int position, int total)
{
    if (total <= 0)
        return QString();
    const qint64 percent = qint64(position) * 100 / total;
    return QStringLiteral("  (%1 %)").arg(percent);
}

TfWait::TfWait(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fWait"));
    setWindowTitle(UiText(22188, QStringLiteral("Please wait...")));
    auto* layout = new QHBoxLayout(this);
    AnimatePicture = new TWaitAnimation(this);
    AnimatePicture->setObjectName(QStringLiteral("AnimatePicture"));
    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumWidth(240);
    Panel1->setWordWrap(true);
    Panel1->setAlignment(Qt::AlignCenter);
    layout->addWidget(AnimatePicture);
    layout->addWidget(Panel1, 1);
    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TfWait::Timer1Timer);
}

void TfWait::Timer1Timer()
{
    // WaitProgressTotal must be above 0 while the percentage is on; a total of 0
    // leaves the caption as it is rather than dividing by it.
    if (WaitProgressActive && WaitProgressTotal > 0)
        setWindowTitle(WaitProgressCaption(WaitProgressPosition, WaitProgressTotal));
}

void TfWait::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    AnimatePicture->Start();
    Timer1->start();
}

void TfWait::hideEvent(QHideEvent* event)
{
    AnimatePicture->Stop();
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TfWait::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        WaitCancelled = true;
        return; // Esc asks the work to stop; the worker hides the window
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvek

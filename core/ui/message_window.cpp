#include "core/ui/message_window.h"

#include "core/ui/ui_text.h"

#include <QCoreApplication>
#include <QFrame>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvek {

TfMessageWindow::TfMessageWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fMessageWindow"));
    setWindowTitle(UiText(22187, QStringLiteral("Batch processing is running...")));
    setFixedWidth(380);
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setGeometry(8, 8, 364, 28);
    ProgressBar = new QProgressBar(Panel2);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(2, 2, 360, 24);
    ProgressBar->setTextVisible(false);
    ProgressBar->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: #1c4fd8; }"));
    ButtonCancel = new QPushButton(this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(152, 44, 75, 25);
    connect(ButtonCancel, &QPushButton::clicked, this, [] { BatchAborted = true; });
    setFixedHeight(105);
}

void TfMessageWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    BatchAborted = false;
    // The button is captioned at each showing, in the language chosen now.
    ButtonCancel->setText(UiText(4, QStringLiteral("Cancel")));
    ButtonCancel->setVisible(ShowCancel);
    setFixedHeight(ShowCancel ? 105 : 74);
}

void TfMessageWindow::SetupProgress(bool showBar, int min, int max)
{
    if (min >= max)
        return;
    Panel2->setVisible(showBar);
    ProgressBar->setVisible(showBar);
    const QRect panel = Panel2->geometry();
    if (showBar) {
        ProgressBar->setRange(min, max);
        ProgressBar->setValue(min);
        ButtonCancel->move(ButtonCancel->x(), panel.bottom() + 1 + panel.height() / 4);
        setFixedHeight(ButtonCancel->y() + 2 * ButtonCancel->height());
    } else {
        setFixedHeight(panel.bottom() + 1 + panel.height() / 2);
    }
}

bool TfMessageWindow::StepProgress(int value)
{
    QCoreApplication::processEvents();
    if (value > 0 && ProgressBar->isVisibleTo(this))
        ProgressBar->setValue(value);
    return BatchAborted;
}

void TfMessageWindow::ShowBatch(const QString& caption, bool showCancel)
{
    setWindowTitle(caption);
    ShowCancel = showCancel;
    show();
    raise();
}

void TfMessageWindow::HideBatch()
{
    hide();
}

} // namespace orvek

#include "core/ui/label_3d.h"

#include <QMouseEvent>
#include <QPainter>

namespace orvek {

TLabel3D::TLabel3D(QWidget* parent)
    : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    QFont f(QStringLiteral("Arial"), 12);
    f.setBold(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    setPalette(p);
}

void TLabel3D::SetOffset(int offset)
{
    offset_ = offset;
    update();
}

void TLabel3D::SetLabelStyle(TLabelStyle style)
{
    style_ = style;
    update();
}

void TLabel3D::SetAsButton(bool asButton)
{
    asButton_ = asButton;
    if (asButton)
        SetLabelStyle(lsRaised);
}

void TLabel3D::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect();
    const int flags = int(alignment()) | (wordWrap() ? int(Qt::TextWordWrap) : 0) | Qt::TextShowMnemonic;
    const int shift = style_ == lsRaised ? offset_ : -offset_;
    painter.setPen(Qt::white);
    painter.drawText(area.translated(-shift, -shift), flags, text());
    painter.setPen(Qt::black);
    painter.drawText(area.translated(shift, shift), flags, text());
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText)
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(area, flags, text());
}

void TLabel3D::mousePressEvent(QMouseEvent* event)
{
    if (!asButton_)
        return QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled())
        SetLabelStyle(lsLowered);
}

void TLabel3D::mouseMoveEvent(QMouseEvent* event)
{
    if (!asButton_)
        return QLabel::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton)
        SetLabelStyle(rect().contains(event->position().toPoint()) ? lsLowered : lsRaised);
}

void TLabel3D::mouseReleaseEvent(QMouseEvent* event)
{
    if (!asButton_)
        return QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        SetLabelStyle(lsRaised);
        Q_EMIT clicked();
    }
}

} // namespace orvek

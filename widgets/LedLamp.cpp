#include "widgets/LedLamp.h"

#include "widgets/Palette.h"

#include <QMouseEvent>
#include <QPainter>

LedLamp::LedLamp(QWidget* parent) : QWidget(parent), color_(skin::ledGreen)
{
}

void LedLamp::setActive(bool on)
{
    if (on == active_)
        return;
    active_ = on;
    update();
}

void LedLamp::setColor(const QColor& c)
{
    color_ = c;
    update();
}

QSize LedLamp::sizeHint() const
{
    return {16, 16};
}

void LedLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const qreal d = qMin(width(), height()) - 2;
    const QRectF r((width() - d) / 2, (height() - d) / 2, d, d);
    skin::paintLamp(p, r, color_, active_, isEnabled());
}

void LedLamp::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && isEnabled())
        emit clicked();
    QWidget::mousePressEvent(e);
}

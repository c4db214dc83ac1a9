#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::setFrame(const QImage& frame)
{
    shown = frame;
    update();
}

void PaintBox::clear()
{
    shown = QImage();
    update();
}

void PaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (shown.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(rect(), shown);
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}

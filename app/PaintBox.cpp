#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::setFrame(const QImage* frame)
{
    shown = frame;
    update();
}

void PaintBox::clear()
{
    shown = nullptr;
    update();
}

void PaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (shown)
        painter.drawImage(rect(), *shown);
    else
        painter.fillRect(rect(), Qt::black);
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}

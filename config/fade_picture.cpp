#include "config/fade_picture.h"

#include <QPainter>

FadePicture::FadePicture(QWidget* parent) : QWidget(parent) {}

void FadePicture::setFadeTime(int ms)
{
    if (ms == fadeTime_)
        return;
    fadeTime_ = ms;
    update();
}

void FadePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // Each picture starts on an empty canvas, its pen at the corner.
    painter.setPen(Qt::red);
    painter.drawLine(0, 0, fadeTime_ / 42, height());
    painter.setPen(Qt::yellow);
    painter.drawLine(0, 0, fadeTime_ / 40, height());
    painter.drawLine(0, 0, 0, 200);
}

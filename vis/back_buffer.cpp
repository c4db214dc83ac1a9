#include "vis/back_buffer.h"

TBackBuffer::TBackBuffer(int width, int height)
    : backBuffer_(width, height, QImage::Format_RGB32),
      BackgroundPicture(width, height, QImage::Format_RGB32)
{
    backBuffer_.fill(BackColor);
    BackgroundPicture.fill(BackColor);
    if (!backBuffer_.isNull())
        Canvas.begin(&backBuffer_);
}

TBackBuffer::~TBackBuffer()
{
    if (Canvas.isActive())
        Canvas.end();
}

void TBackBuffer::CopyTo(QPainter& target) const
{
    target.drawImage(0, 0, backBuffer_);
}

void TBackBuffer::FillBackground()
{
    Canvas.fillRect(0, 0, Width(), Height(), BackColor);
}

void TBackBuffer::CopyBackgroundPicture()
{
    Canvas.drawImage(0, 0, BackgroundPicture);
}

// The off-screen frame shared by a deck's two renderers: the back buffer a whole frame is drawn
// into, the optional background picture, the background colour, and the copy of the finished
// frame onto the paint box in one transfer. Used on the main thread only.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

class TBackBuffer
{
public:
    TBackBuffer(int width, int height);
    TBackBuffer(const TBackBuffer&) = delete;
    TBackBuffer& operator=(const TBackBuffer&) = delete;
    ~TBackBuffer();

    // The last rendered frame, width × height; created once with the renderer and never resized.
    const QImage& BackBuffer() const { return backBuffer_; }

    // Copies the whole back buffer to the target's (0, 0) in one drawImage.
    void CopyTo(QPainter& target) const;

private:
    QImage backBuffer_;

public:
    QImage BackgroundPicture;      // copied as the background when enabled; same size, black at first
    QColor BackColor = Qt::black;  // fill colour when clearing

protected:
    // Fills the whole back buffer with BackColor.
    void FillBackground();
    // Copies BackgroundPicture over the back buffer from (0, 0).
    void CopyBackgroundPicture();

    int Width() const { return backBuffer_.width(); }
    int Height() const { return backBuffer_.height(); }

    // Open for the renderer's whole life, so a frame costs no painter set-up; inactive
    // (and every frame skipped) when the renderer was given an empty size.
    QPainter Canvas;
};

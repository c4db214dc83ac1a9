// The configuration dialog's fade picture (PaintBox1): on black, a red line from the corner to
// (p div 42, height) and a yellow one to (p div 40, height), then the yellow left edge, for the
// fade time p in milliseconds. Main thread only.
#pragma once

#include <QWidget>

class FadePicture : public QWidget
{
public:
    explicit FadePicture(QWidget* parent = nullptr);

    int fadeTime() const { return fadeTime_; }
    // Draws the picture of this fade time; a repaint only when it changed.
    void setFadeTime(int ms);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int fadeTime_ = 0;
};

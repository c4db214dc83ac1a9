// A deck's visual display: shows the last frame a renderer copied into it, and nothing once
// it is cleared. Main thread only.
#pragma once
#include <QImage>
#include <QWidget>

class PaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit PaintBox(QWidget* parent = nullptr);

    // Shows a renderer's finished frame, which stays the renderer's: nothing is copied until
    // the repaint transfers it to the screen.
    void setFrame(const QImage* frame);
    const QImage* frame() const { return shown; }
    // Drops the frame: the next repaint shows an empty display.
    void clear();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage* shown = nullptr;
};

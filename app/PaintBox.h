// A deck's visual display: shows the last frame a renderer copied into it, and nothing once
// it is cleared. Main thread only.
#pragma once
#include <QImage>
#include <QWidget>

class PaintBox : public QWidget
{
public:
    // A deck view's size in the window's layout, before any scaling. The renderers draw at this
    // size and the box stretches their frame over its own, so a scaled window shows the whole
    // picture (a trace of 256 columns spans the 252-pixel design width).
    static constexpr QSize kDesignSize{252, 59};

private:
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

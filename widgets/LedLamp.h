// Round LED lamp (frequency reset and mix indicators), clickable; main thread only.
#pragma once

#include <QColor>
#include <QWidget>

class LedLamp : public QWidget
{
    Q_OBJECT

public:
    explicit LedLamp(QWidget* parent = nullptr);

    void setActive(bool on);
    bool active() const { return active_; }
    void setColor(const QColor& c);
    QColor color() const { return color_; }

    QSize sizeHint() const override;

signals:
    void clicked(); // left mouse press while enabled

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool active_ = false;
    QColor color_;
};

// Seven-segment LED number panel (the decks' minutes and seconds) and the LED colon between
// them; main thread only.
#pragma once

#include <QColor>
#include <QWidget>

class LedPanel : public QWidget
{
    Q_OBJECT

public:
    explicit LedPanel(QWidget* parent = nullptr);

    void setValue(int v); // clamped to the range
    int value() const { return value_; }
    void setRange(int min, int max);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setDigits(int n); // at least this many digits, with leading zeros
    int digits() const { return digits_; }
    void setColor(const QColor& c);

    // The digits as shown: zero-padded to digits(), longer when the value needs more.
    QString displayText() const;

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    int value_ = 0;
    int min_ = 0;
    int max_ = 100;
    int digits_ = 2;
    QColor color_;
};

class LedColon : public QWidget
{
    Q_OBJECT

public:
    explicit LedColon(QWidget* parent = nullptr);

    void setColor(const QColor& c);
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QColor color_;
};

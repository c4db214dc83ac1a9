// LED bar gauge (level meters, position and progress gauges): a row of LED segments, green,
// then yellow, then red towards the top of the range; main thread only.
#pragma once

#include <QColor>
#include <QWidget>

class LedGauge : public QWidget
{
    Q_OBJECT

public:
    enum class Zone { Green, Yellow, Red };

    explicit LedGauge(QWidget* parent = nullptr);
    explicit LedGauge(Qt::Orientation o, QWidget* parent = nullptr);

    void setRange(int min, int max);
    void setValue(int v); // clamped to the range
    int value() const { return value_; }
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    // Colour change points in percent of the range: green below yellowFrom, yellow from it,
    // red from redFrom.
    void setColorPoints(int yellowFrom, int redFrom);
    void setOrientation(Qt::Orientation o);
    Qt::Orientation orientation() const { return orientation_; }

    // The colour zone a value lies in (the value is taken as given, not clamped).
    Zone zoneOf(int v) const;
    static QColor colorOf(Zone z);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    int yellowFrom_ = 45;
    int redFrom_ = 75;
    Qt::Orientation orientation_ = Qt::Horizontal;
};

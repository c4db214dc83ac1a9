#include "widgets/LedGauge.h"

#include "widgets/Palette.h"

#include <QPainter>

namespace {
constexpr int segmentPitch = 4; // pixels per LED segment including its gap
constexpr int border = 2;
} // namespace

LedGauge::LedGauge(QWidget* parent) : QWidget(parent)
{
}

LedGauge::LedGauge(Qt::Orientation o, QWidget* parent) : QWidget(parent), orientation_(o)
{
}

void LedGauge::setRange(int min, int max)
{
    min_ = min;
    max_ = qMax(min, max);
    value_ = qBound(min_, value_, max_);
    update();
}

void LedGauge::setValue(int v)
{
    v = qBound(min_, v, max_);
    if (v == value_)
        return;
    value_ = v;
    update();
}

void LedGauge::setColorPoints(int yellowFrom, int redFrom)
{
    yellowFrom_ = yellowFrom;
    redFrom_ = redFrom;
    update();
}

void LedGauge::setOrientation(Qt::Orientation o)
{
    orientation_ = o;
    updateGeometry();
    update();
}

LedGauge::Zone LedGauge::zoneOf(int v) const
{
    // Compare v - min against percent * span / 100 in 64 bits: wide ranges (track lengths in
    // milliseconds) must neither overflow nor round a boundary away.
    const qint64 offset100 = (static_cast<qint64>(v) - min_) * 100;
    const qint64 span = static_cast<qint64>(max_) - min_;
    if (offset100 >= redFrom_ * span)
        return Zone::Red;
    if (offset100 >= yellowFrom_ * span)
        return Zone::Yellow;
    return Zone::Green;
}

QColor LedGauge::colorOf(Zone z)
{
    switch (z) {
    case Zone::Red:
        return skin::ledRed;
    case Zone::Yellow:
        return skin::ledYellow;
    case Zone::Green:
        break;
    }
    return skin::ledGreen;
}

QSize LedGauge::sizeHint() const
{
    return orientation_ == Qt::Horizontal ? QSize(246, 12) : QSize(12, 120);
}

void LedGauge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    skin::paintPanel(p, rect());
    const bool horizontal = orientation_ == Qt::Horizontal;
    const QRect inner = rect().adjusted(border, border, -border, -border);
    const int length = horizontal ? inner.width() : inner.height();
    const int segments = qMax(1, (length + 1) / segmentPitch);
    const qint64 span = qMax<qint64>(1, static_cast<qint64>(max_) - min_);
    const qint64 filled = static_cast<qint64>(value_) - min_;
    for (int i = 0; i < segments; ++i) {
        // The segment stands for the value at its lower edge; it is lit once the value reaches it.
        const qint64 at = span * i / segments;
        const bool lit = filled > at || (filled == span && span > 0);
        QColor c = colorOf(zoneOf(static_cast<int>(min_ + at)));
        c = lit ? c : skin::ledOff(c);
        if (!isEnabled())
            c = skin::dimmed(c);
        const int from = i * segmentPitch;
        const QRect seg = horizontal
                              ? QRect(inner.left() + from, inner.top(), segmentPitch - 1, inner.height())
                              : QRect(inner.left(), inner.bottom() - from - (segmentPitch - 2), inner.width(),
                                      segmentPitch - 1);
        p.fillRect(seg, c);
    }
}

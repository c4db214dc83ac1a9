#include "widgets/SevenSegment.h"

#include "widgets/Palette.h"

#include <QPainter>
#include <QPolygonF>
#include <array>

namespace sevenseg {
namespace {

// Segment bits: a top, b upper right, c lower right, d bottom, e lower left, f upper left, g middle.
constexpr std::array<unsigned char, 10> digitSegments{
    0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
    0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111,
};
constexpr unsigned char minusSegments = 0b1000000;

unsigned char segmentsOf(QChar c)
{
    if (c.isDigit())
        return digitSegments[static_cast<std::size_t>(c.digitValue())];
    return c == u'-' ? minusSegments : 0;
}

// One segment as a hexagon from `a` to `b` (horizontal or vertical), `t` thick.
QPolygonF segment(QPointF a, QPointF b, qreal t)
{
    const qreal h = t / 2;
    if (qFuzzyCompare(a.y(), b.y()))
        return QPolygonF({{a.x() + h, a.y()}, {a.x() + t, a.y() - h}, {b.x() - t, b.y() - h},
                          {b.x() - h, b.y()}, {b.x() - t, b.y() + h}, {a.x() + t, a.y() + h}});
    return QPolygonF({{a.x(), a.y() + h}, {a.x() + h, a.y() + t}, {b.x() + h, b.y() - t},
                      {b.x(), b.y() - h}, {b.x() - h, b.y() - t}, {a.x() - h, a.y() + t}});
}

void paintDigit(QPainter& p, const QRectF& cell, unsigned char lit, const QColor& on, const QColor& off)
{
    const qreal t = qMax<qreal>(2.0, cell.width() / 5.5);
    const qreal l = cell.left() + t / 2, r = cell.right() - t / 2;
    const qreal top = cell.top() + t / 2, bottom = cell.bottom() - t / 2;
    const qreal mid = (top + bottom) / 2;
    const std::array<QPolygonF, 7> segs{
        segment({l, top}, {r, top}, t),       segment({r, top}, {r, mid}, t),
        segment({r, mid}, {r, bottom}, t),    segment({l, bottom}, {r, bottom}, t),
        segment({l, mid}, {l, bottom}, t),    segment({l, top}, {l, mid}, t),
        segment({l, mid}, {r, mid}, t),
    };
    for (std::size_t i = 0; i < segs.size(); ++i) {
        p.setBrush((lit >> i) & 1 ? on : off);
        p.drawPolygon(segs[i]);
    }
}

} // namespace

int digitWidthFor(int height)
{
    return qMax(6, height * 11 / 20);
}

void paintDigits(QPainter& p, const QRectF& area, const QString& digits, const QColor& on)
{
    if (digits.isEmpty())
        return;
    const QColor off = skin::ledOff(on);
    const qreal gap = area.width() / digits.size() / 5;
    const qreal cellWidth = (area.width() - gap * (digits.size() + 1)) / digits.size();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < digits.size(); ++i) {
        const QRectF cell(area.left() + gap + i * (cellWidth + gap), area.top(), cellWidth, area.height());
        paintDigit(p, cell, segmentsOf(digits.at(i)), on, off);
    }
    p.restore();
}

} // namespace sevenseg

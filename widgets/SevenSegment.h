// Painting of seven-segment LED digits, shared by the LED number panel and the LED counter;
// main thread only.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace sevenseg {

// Draws `digits` (characters '0'..'9', '-' or ' ') side by side, filling `area`; unlit segments
// show faintly in the off colour of `on`.
void paintDigits(QPainter& p, const QRectF& area, const QString& digits, const QColor& on);

// The width a digit cell needs for a given height, so that panels keep a LED-like aspect.
int digitWidthFor(int height);

} // namespace sevenseg

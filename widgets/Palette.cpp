#include "widgets/Palette.h"

#include <QPainter>
#include <QRadialGradient>

namespace skin {

void paintPanel(QPainter& p, const QRect& r, bool sunken, const QColor& fill)
{
    p.fillRect(r, fill);
    const QColor upperLeft = sunken ? bevelDark : bevelLight;
    const QColor lowerRight = sunken ? bevelLight : bevelDark;
    p.setPen(upperLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(lowerRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void paintLamp(QPainter& p, const QRectF& r, const QColor& color, bool lit, bool enabled)
{
    QColor core = lit ? color : ledOff(color);
    if (!enabled)
        core = dimmed(core);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(r.center() - QPointF(r.width() / 6, r.height() / 6), r.width() / 1.6);
    glow.setColorAt(0, lit && enabled ? core.lighter(160) : core.lighter(120));
    glow.setColorAt(1, core);
    p.setPen(QPen(bevelDark, 1.2));
    p.setBrush(glow);
    p.drawEllipse(r);
    p.restore();
}

QString styleSheet()
{
    const auto rgb = [](const QColor& c) { return c.name(QColor::HexRgb); };
    return QStringLiteral(
               "QSpinBox { background: %1; color: %3; border: 1px solid %4; selection-background-color: %5; }"
               "QSpinBox:disabled { color: %6; }"
               "QSpinBox::up-button, QSpinBox::down-button { background: %2; width: 14px; border: 1px solid %4; }"
               "QSpinBox::up-arrow { border-left: 4px solid transparent; border-right: 4px solid transparent;"
               "  border-bottom: 5px solid %3; width: 0; height: 0; }"
               "QSpinBox::down-arrow { border-left: 4px solid transparent; border-right: 4px solid transparent;"
               "  border-top: 5px solid %3; width: 0; height: 0; }"
               "QSlider::groove:horizontal { height: 4px; background: %1; border: 1px solid %4; }"
               "QSlider::groove:vertical { width: 4px; background: %1; border: 1px solid %4; }"
               "QSlider::handle:horizontal { width: 10px; margin: -6px 0; background: %2; border: 1px solid %4; }"
               "QSlider::handle:vertical { height: 10px; margin: 0 -6px; background: %2; border: 1px solid %4; }"
               "QSlider::sub-page:horizontal { background: %7; }"
               "QSlider::add-page:vertical { background: %7; }"
               "QSlider::handle:disabled { background: %1; }"
               "QSlider::sub-page:horizontal:disabled, QSlider::add-page:vertical:disabled { background: %1; }")
        .arg(rgb(panel), rgb(face), rgb(text), rgb(bevelLight), rgb(highlight), rgb(textDisabled),
             rgb(dimmed(ledGreen)));
}

} // namespace skin

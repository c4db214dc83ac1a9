#include "widgets/Palette.h"

#include <QPainter>
#include <QPalette>
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

QPalette darkPalette()
{
    QPalette p;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, panel);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::WindowText, text);
    }
    p.setColor(QPalette::Disabled, QPalette::Base, panel);
    p.setColor(QPalette::Disabled, QPalette::Text, textDisabled);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, textDisabled);
    p.setColor(QPalette::Disabled, QPalette::WindowText, textDisabled);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::Window, face);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QString sliderStyleSheet()
{
    const auto rgb = [](const QColor& c) { return c.name(QColor::HexRgb); };
    return QStringLiteral("QSlider::groove:horizontal { height: 4px; background: %1; border: 1px solid %3; }"
                          "QSlider::groove:vertical { width: 4px; background: %1; border: 1px solid %3; }"
                          "QSlider::handle:horizontal { width: 10px; margin: -6px 0; background: %2;"
                          "  border: 1px solid %3; }"
                          "QSlider::handle:vertical { height: 10px; margin: 0 -6px; background: %2;"
                          "  border: 1px solid %3; }"
                          "QSlider::sub-page:horizontal, QSlider::add-page:vertical { background: %4; }"
                          "QSlider::handle:disabled { background: %1; }"
                          "QSlider::sub-page:horizontal:disabled, QSlider::add-page:vertical:disabled"
                          "  { background: %1; }")
        .arg(rgb(panel), rgb(face), rgb(bevelLight), rgb(dimmed(ledGreen)));
}

} // namespace skin

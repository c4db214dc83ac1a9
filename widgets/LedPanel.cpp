#include "widgets/LedPanel.h"

#include "widgets/Palette.h"
#include "widgets/SevenSegment.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int margin = 3;

bool isOperatorClick(const QWidget* w, const QMouseEvent* e)
{
    return e->button() == Qt::LeftButton && w->isEnabled();
}

} // namespace

LedPanel::LedPanel(QWidget* parent) : QWidget(parent), color_(skin::ledGreen)
{
}

void LedPanel::setValue(int v)
{
    v = qBound(min_, v, max_);
    if (v == value_)
        return;
    value_ = v;
    update();
}

void LedPanel::setRange(int min, int max)
{
    min_ = min;
    max_ = qMax(min, max);
    value_ = qBound(min_, value_, max_);
    update();
}

void LedPanel::setDigits(int n)
{
    digits_ = qMax(1, n);
    updateGeometry();
    update();
}

void LedPanel::setColor(const QColor& c)
{
    color_ = c;
    update();
}

QString LedPanel::displayText() const
{
    const QString magnitude = QString::number(qAbs(static_cast<qint64>(value_)));
    const int width = value_ < 0 ? digits_ - 1 : digits_;
    return (value_ < 0 ? QStringLiteral("-") : QString()) + magnitude.rightJustified(width, u'0');
}

QSize LedPanel::sizeHint() const
{
    const int h = 30;
    return {digits_ * (sevenseg::digitWidthFor(h) + 4) + 2 * margin, h + 2 * margin};
}

void LedPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    skin::paintPanel(p, rect());
    const QColor on = isEnabled() ? color_ : skin::dimmed(color_);
    sevenseg::paintDigits(p, QRectF(rect()).adjusted(margin, margin, -margin, -margin), displayText(), on);
}

void LedPanel::mousePressEvent(QMouseEvent* e)
{
    if (isOperatorClick(this, e))
        emit clicked();
    QWidget::mousePressEvent(e);
}

LedColon::LedColon(QWidget* parent) : QWidget(parent), color_(skin::ledGreen)
{
}

void LedColon::setColor(const QColor& c)
{
    color_ = c;
    update();
}

QSize LedColon::sizeHint() const
{
    return {12, 36};
}

void LedColon::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    skin::paintPanel(p, rect());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? color_ : skin::dimmed(color_));
    const qreal d = qMax<qreal>(2.0, qMin(width() - 2 * margin, height() / 6));
    const qreal x = (width() - d) / 2;
    p.drawEllipse(QRectF(x, height() * 0.33 - d / 2, d, d));
    p.drawEllipse(QRectF(x, height() * 0.67 - d / 2, d, d));
}

void LedColon::mousePressEvent(QMouseEvent* e)
{
    if (isOperatorClick(this, e))
        emit clicked();
    QWidget::mousePressEvent(e);
}

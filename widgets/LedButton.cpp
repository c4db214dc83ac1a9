#include "widgets/LedButton.h"

#include "widgets/Palette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int lampSize = 10;
constexpr int padding = 6;
} // namespace

LedButton::LedButton(QWidget* parent) : QWidget(parent), ledColor_(skin::ledGreen)
{
    setFocusPolicy(Qt::TabFocus);
}

LedButton::LedButton(const QString& caption, QWidget* parent) : LedButton(parent)
{
    caption_ = caption;
}

void LedButton::setCaption(const QString& text)
{
    caption_ = text;
    updateGeometry();
    update();
}

void LedButton::setOn(bool on)
{
    if (on == on_)
        return;
    on_ = on;
    update();
}

void LedButton::setLedColor(const QColor& c)
{
    ledColor_ = c;
    update();
}

void LedButton::click()
{
    if (!isEnabled())
        return;
    // Handlers read the state from before the click, so the flip comes after them.
    emit clicked();
    setOn(!on_);
}

QSize LedButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return {padding * 3 + lampSize + fm.horizontalAdvance(caption_), qMax(22, fm.height() + 8)};
}

void LedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    skin::paintPanel(p, rect(), pressed_, skin::face);
    const QRectF lamp(padding, (height() - lampSize) / 2.0, lampSize, lampSize);
    skin::paintLamp(p, lamp, ledColor_, on_, isEnabled());
    p.setPen(isEnabled() ? skin::text : skin::textDisabled);
    const QRect textArea = rect().adjusted(padding * 2 + lampSize, 0, -padding, 0);
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft, caption_);
    if (hasFocus()) {
        p.setPen(QPen(skin::bevelLight, 1, Qt::DotLine));
        p.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void LedButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled())
        return QWidget::mousePressEvent(e);
    pressed_ = true;
    update();
}

void LedButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !pressed_)
        return QWidget::mouseReleaseEvent(e);
    pressed_ = false;
    update();
    // Like a push button: releasing outside the button cancels the click.
    if (rect().contains(e->position().toPoint()))
        click();
}

void LedButton::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        click();
    else
        QWidget::keyPressEvent(e);
}

#include "widgets/MultiSwitch.h"

#include "widgets/Palette.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {
constexpr int trackThickness = 14;
constexpr int labelGap = 4;
} // namespace

MultiSwitch::MultiSwitch(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void MultiSwitch::setLabels(const QStringList& labels)
{
    labels_ = labels;
    const int clamped = qBound(0, position_, qMax(0, count() - 1));
    updateGeometry();
    update();
    if (clamped != position_) {
        position_ = clamped;
        emit positionChanged(position_);
    }
}

void MultiSwitch::setPosition(int index)
{
    index = qBound(0, index, qMax(0, count() - 1));
    if (index == position_)
        return;
    position_ = index;
    update();
    emit positionChanged(position_);
}

void MultiSwitch::setOrientation(Qt::Orientation o)
{
    orientation_ = o;
    updateGeometry();
    update();
}

QRect MultiSwitch::trackRect() const
{
    return orientation_ == Qt::Vertical ? QRect(0, 0, trackThickness, height())
                                        : QRect(0, 0, width(), trackThickness);
}

QRect MultiSwitch::slotRect(int index) const
{
    const int n = qMax(1, count());
    if (orientation_ == Qt::Vertical)
        return QRect(0, height() * index / n, width(), height() * (index + 1) / n - height() * index / n);
    return QRect(width() * index / n, 0, width() * (index + 1) / n - width() * index / n, height());
}

QRect MultiSwitch::labelRect(int index) const
{
    const QRect slot = slotRect(index);
    return orientation_ == Qt::Vertical ? slot.adjusted(trackThickness + labelGap, 0, 0, 0)
                                        : slot.adjusted(0, trackThickness, 0, 0);
}

QString MultiSwitch::hintAt(const QPoint& p) const
{
    for (int i = 0; i < count() && i < labelHints_.size(); ++i) {
        if (labelRect(i).contains(p))
            return labelHints_.at(i);
    }
    return toolTip();
}

bool MultiSwitch::event(QEvent* e)
{
    if (e->type() != QEvent::ToolTip)
        return QWidget::event(e);
    const auto* help = static_cast<QHelpEvent*>(e);
    QToolTip::showText(help->globalPos(), hintAt(help->pos()), this);
    return true;
}

int MultiSwitch::positionAt(const QPoint& p) const
{
    for (int i = 0; i < count(); ++i)
        if (slotRect(i).contains(p))
            return i;
    return -1;
}

QSize MultiSwitch::sizeHint() const
{
    const QFontMetrics fm(font());
    int labelWidth = 0;
    for (const QString& l : labels_)
        labelWidth = qMax(labelWidth, fm.horizontalAdvance(l));
    const int n = qMax(1, count());
    if (orientation_ == Qt::Vertical)
        return {trackThickness + labelGap + labelWidth + 2, n * qMax(14, fm.height())};
    return {n * qMax(18, labelWidth + labelGap), trackThickness + fm.height() + 2};
}

void MultiSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect track = trackRect();
    skin::paintPanel(p, track);
    p.setPen(isEnabled() ? skin::text : skin::textDisabled);
    for (int i = 0; i < count(); ++i) {
        p.drawText(labelRect(i), (orientation_ == Qt::Vertical ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter,
                   labels_.at(i));
    }
    if (count() == 0)
        return;
    // The knob fills the current slot's part of the track, with a lit LED in its middle.
    const QRect knob = track.intersected(slotRect(position_)).adjusted(2, 2, -2, -2);
    skin::paintPanel(p, knob, false, skin::face);
    const qreal d = qMin(knob.width(), knob.height()) - 4;
    skin::paintLamp(p, QRectF(knob.center().x() - d / 2 + 0.5, knob.center().y() - d / 2 + 0.5, d, d),
                    skin::ledGreen, true, isEnabled());
    if (hasFocus()) {
        p.setPen(QPen(skin::bevelLight, 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void MultiSwitch::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled() || count() == 0)
        return QWidget::mousePressEvent(e);
    // A click on another position goes there; a click on the current one steps to the next.
    const int clicked = positionAt(e->position().toPoint());
    setPosition(clicked >= 0 && clicked != position_ ? clicked : (position_ + 1) % count());
}

void MultiSwitch::keyPressEvent(QKeyEvent* e)
{
    const bool vertical = orientation_ == Qt::Vertical;
    if (e->key() == (vertical ? Qt::Key_Down : Qt::Key_Right))
        setPosition(position_ + 1);
    else if (e->key() == (vertical ? Qt::Key_Up : Qt::Key_Left))
        setPosition(position_ - 1);
    else
        QWidget::keyPressEvent(e);
}

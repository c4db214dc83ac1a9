#include "widgets/LedText.h"

#include "widgets/Palette.h"

#include <QEvent>
#include <QPainter>

namespace {
constexpr int dotPitch = 2; // pixels from one LED dot to the next
} // namespace

LedText::LedText(QWidget* parent) : QWidget(parent), ledColor_(skin::statusText)
{
    renderGlyphs();
}

void LedText::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    renderGlyphs();
    update();
}

void LedText::setScrolling(bool on)
{
    if (on == scrolling_)
        return;
    scrolling_ = on;
    scrolled_ = 0;
    update();
}

void LedText::scrollStep()
{
    scrolled_ += dotPitch;
    // Wrap once the text has left completely, so it comes in again from the right edge.
    if (scrolled_ > width() + glyphs_.width() * dotPitch)
        scrolled_ = 0;
    update();
}

void LedText::setLedColor(const QColor& c)
{
    ledColor_ = c;
    update();
}

int LedText::textOffset() const
{
    return scrolling_ ? width() - scrolled_ : 0;
}

QSize LedText::sizeHint() const
{
    return {301, 17};
}

int LedText::rows() const
{
    return qMax(5, (height() - 1) / dotPitch);
}

void LedText::renderGlyphs()
{
    // The font is drawn without smoothing at one pixel per dot, so each set pixel is one lit LED.
    QFont f = font();
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setPixelSize(rows());
    const QFontMetrics fm(f);
    glyphs_ = QImage(qMax(1, fm.horizontalAdvance(text_)), rows(), QImage::Format_Grayscale8);
    glyphs_.fill(0);
    QPainter p(&glyphs_);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, glyphs_.width(), glyphs_.height()), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

void LedText::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QColor on = isEnabled() ? ledColor_ : skin::dimmed(ledColor_);
    const QColor off = skin::ledOff(ledColor_);
    const int dot = dotPitch - 1 > 0 ? dotPitch - 1 : 1;
    const int top = (height() - rows() * dotPitch) / 2;
    const int offset = textOffset();
    for (int y = 0; y < glyphs_.height(); ++y) {
        const uchar* line = glyphs_.constScanLine(y);
        for (int x = 0; x * dotPitch < width(); ++x) {
            // Dots stay on a fixed grid; the text slides under it one column per step.
            const int gx = x - offset / dotPitch;
            const bool lit = gx >= 0 && gx < glyphs_.width() && line[gx] > 127;
            p.fillRect(x * dotPitch, top + y * dotPitch, dot, dot, lit ? on : off);
        }
    }
}

void LedText::resizeEvent(QResizeEvent*)
{
    renderGlyphs();
}

void LedText::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        renderGlyphs();
    QWidget::changeEvent(e);
}
